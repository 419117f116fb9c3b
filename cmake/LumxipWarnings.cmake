# Warnings for our own targets. The sanitizer build keeps the warnings but not -Werror:
# GCC 12 reports false positives under -fsanitize.
function(lumxip_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(NOT LUMXIP_SANITIZE)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
