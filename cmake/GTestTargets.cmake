# GoogleTest targets GTest::gtest, GTest::gtest_main, GTest::gmock and
# GTest::gmock_main. Native builds use the installed libraries; cross builds
# compile Debian's sources for their own target.
set(PELVARO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")

if(CMAKE_CROSSCOMPILING)
  if(NOT EXISTS ${PELVARO_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${PELVARO_GTEST_SOURCE}: "
                        "install the Debian package googletest (scripts/bootstrap.sh does).")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${PELVARO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()
