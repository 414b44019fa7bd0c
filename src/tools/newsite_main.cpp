// Prepares the table files of a site; written with the site database work.
int main() { return 0; }
