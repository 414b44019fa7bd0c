// Implemented with the site database work.
#include "ttable.h"
