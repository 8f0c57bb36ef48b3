# Header-only Debian packages for the mingw builds. Their configs point at
# /usr/include, which a Windows cross compiler must never search (it would take
# glibc's headers), so each header tree is copied alone into the build tree and
# offered there as a package of the same name.
if(NOT (CMAKE_CROSSCOMPILING AND WIN32))
  return()
endif()

set(pelvaro_cross_root ${CMAKE_BINARY_DIR}/cross-packages)

if(EXISTS /usr/include/nlohmann/json.hpp)
  file(COPY /usr/include/nlohmann DESTINATION ${pelvaro_cross_root}/include)
  file(COPY /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake
       DESTINATION ${pelvaro_cross_root}/nlohmann_json)
  file(WRITE ${pelvaro_cross_root}/nlohmann_json/nlohmann_jsonConfig.cmake [=[
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${CMAKE_CURRENT_LIST_DIR}/../include")
endif()
]=])
  set(nlohmann_json_DIR ${pelvaro_cross_root}/nlohmann_json CACHE PATH
      "nlohmann_json for the cross build, copied from the build machine" FORCE)
endif()

if(EXISTS /usr/include/rapidjson/reader.h)
  file(COPY /usr/include/rapidjson DESTINATION ${pelvaro_cross_root}/include)
  set(PELVARO_RAPIDJSON_INCLUDE ${pelvaro_cross_root}/include CACHE PATH
      "RapidJSON for the cross build, copied from the build machine" FORCE)
endif()
