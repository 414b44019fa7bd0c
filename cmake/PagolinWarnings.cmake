# Warnings for our own targets; third-party headers come in as system includes.
# PAGOLIN_WERROR turns them into errors (CI builds with it on).
option(PAGOLIN_WERROR "Treat warnings of our own code as errors" OFF)

function(pagolin_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-unused-parameter)
  if(PAGOLIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
