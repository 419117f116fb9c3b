# Warnings for our own targets. The sanitizer build keeps the warnings but not -Werror:
# GCC 12 reports false positives under -fsanitize (the fuzz and thread builds likewise).
function(lumxip_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(NOT LUMXIP_SANITIZE AND NOT LUMXIP_FUZZ AND NOT LUMXIP_TSAN)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
