# The shipped plug-in, dist/Pelvaro.aip: the 32-bit Windows DLL that the win32
# preset builds. Whatever reads it depends on the target pelvaro_shipped_dll,
# which brings it up to date first, so nothing ever reads a stale one.
set(PELVARO_SHIPPED_DLL ${PROJECT_SOURCE_DIR}/dist/Pelvaro.aip CACHE FILEPATH
    "The shipped plug-in, built by the win32 preset")

if(PELVARO_DIST_DIR)
  # This is the win32 build itself: every build copies the DLL into dist/.
  add_custom_target(pelvaro_dist ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PELVARO_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Pelvaro> ${PELVARO_DIST_DIR}/
    COMMENT "Copying the shipped plug-in into ${PELVARO_DIST_DIR}"
    VERBATIM)
  add_dependencies(pelvaro_dist Pelvaro)
  return()
endif()

# Another build tree: build the win32 preset in its own tree (incremental, so
# quick when nothing changed). Not part of `all`: the native build alone needs
# no cross compiler.
add_custom_target(pelvaro_shipped_dll
  COMMAND ${CMAKE_COMMAND} --preset win32 --log-level=WARNING
  COMMAND ${CMAKE_COMMAND} --build --preset win32
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  BYPRODUCTS ${PELVARO_SHIPPED_DLL}
  COMMENT "Building the shipped plug-in (preset win32) into dist/"
  USES_TERMINAL
  VERBATIM)
