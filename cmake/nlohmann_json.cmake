# nlohmann-json (Debian's nlohmann-json3-dev), a header-only library: the JSON
# Lines that batchcheck-describe writes and batchcheck-make reads. A cross
# build looks for packages under its target's root only: there it takes the
# build machine's header, copied alone into the build folder so that no other
# host header comes with it.
find_package(nlohmann_json 3.2 CONFIG QUIET GLOBAL)
if(NOT nlohmann_json_FOUND)
  find_path(NLOHMANN_JSON_HOST_INCLUDE nlohmann/json.hpp PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH
            REQUIRED)
  set(json_include ${CMAKE_BINARY_DIR}/nlohmann_json/include)
  file(COPY ${NLOHMANN_JSON_HOST_INCLUDE}/nlohmann DESTINATION ${json_include})
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
  target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${json_include})
endif()
