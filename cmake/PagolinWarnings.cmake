# Warnings for our own targets; third-party headers come in as system includes.
function(pagolin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
endfunction()
