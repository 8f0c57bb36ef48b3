# Warnings for our own targets.
function(pelvaro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(PELVARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
