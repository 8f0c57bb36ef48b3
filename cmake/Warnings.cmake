# Warnings for our own targets.
function(pelvaro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 warns falsely inside std::string when "text" + string is inlined at
    # -O3 (GCC bug 105329), which breaks every release build under -Werror.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(PELVARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
