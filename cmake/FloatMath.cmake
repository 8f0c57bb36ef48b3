# Float results are part of the behaviour: no contraction into FMA, no
# fast-math, and SSE2 instead of x87 on 32-bit x86 so every build rounds alike.
add_compile_options(-ffp-contract=off -fno-fast-math)
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86|X86)$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()
