# nlohmann's JSON for Modern C++, the header-only library that reads and
# writes calculation files (core/calculation_file.cpp), as the interface
# target kalventa_json_library.
#
# As with the number libraries, the headers are found on the build machine
# (Debian: nlohmann-json3-dev) also when the core is cross-compiled, and are
# reached through a folder of their own in the build tree.

include_guard(GLOBAL)

find_path(KALVENTA_JSON_INCLUDE_DIR nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(kalventa_json_include_dir ${PROJECT_BINARY_DIR}/json_library/include)
file(MAKE_DIRECTORY ${kalventa_json_include_dir})
file(CREATE_LINK ${KALVENTA_JSON_INCLUDE_DIR}/nlohmann ${kalventa_json_include_dir}/nlohmann SYMBOLIC)

add_library(kalventa_json_library INTERFACE)
target_include_directories(kalventa_json_library SYSTEM INTERFACE $<BUILD_INTERFACE:${kalventa_json_include_dir}>)
# No implicit conversions from a JSON value: each type is asked for by name.
target_compile_definitions(kalventa_json_library INTERFACE JSON_USE_IMPLICIT_CONVERSIONS=0)
