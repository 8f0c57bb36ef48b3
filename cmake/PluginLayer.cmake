# The plug-in is built in layers, each a target with its own include root
# (<layer>/include/<layer>/...). A layer sees only its own root and those of
# the layers it links, so an include that runs upward is a compile error:
#
#   hostinterface  <  runtime  <  hoststring  <  jitter, registration  <  plugin
#
# Every layer ends up in the module, so all are built alike: position
# independent, with only PluginMain visible.
function(pelvaro_plugin_layer target)
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    POSITION_INDEPENDENT_CODE ON)
  pelvaro_warnings(${target})
endfunction()
