# fast_float and fmt, the two header-only libraries behind the core's decimal
# conversions (core/decimal_conversion.cpp), as the interface target
# kalventa_number_libraries.
#
# The headers are found on the build machine (Debian: libfast-float-dev,
# libfmt-dev) also when the core is cross-compiled, and are reached through a
# folder of their own in the build tree: adding /usr/include itself would put
# the build machine's C library in front of the target's (emscripten's).
# fmt is used header-only, so that no program links libfmt.

include_guard(GLOBAL)

find_path(KALVENTA_FAST_FLOAT_INCLUDE_DIR fast_float/fast_float.h NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(KALVENTA_FMT_INCLUDE_DIR fmt/format.h NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(kalventa_number_include_dir ${PROJECT_BINARY_DIR}/number_libraries/include)
file(MAKE_DIRECTORY ${kalventa_number_include_dir})
file(CREATE_LINK ${KALVENTA_FAST_FLOAT_INCLUDE_DIR}/fast_float ${kalventa_number_include_dir}/fast_float SYMBOLIC)
file(CREATE_LINK ${KALVENTA_FMT_INCLUDE_DIR}/fmt ${kalventa_number_include_dir}/fmt SYMBOLIC)

add_library(kalventa_number_libraries INTERFACE)
target_include_directories(kalventa_number_libraries SYSTEM INTERFACE $<BUILD_INTERFACE:${kalventa_number_include_dir}>)
target_compile_definitions(kalventa_number_libraries INTERFACE FMT_HEADER_ONLY)
