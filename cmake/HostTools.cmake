# The host tools for a cross build, built from tools/host with the build
# machine's own compiler into <build>/host-tools. Targets that run a tool at
# build time depend on `host_tools` and name it by LUMORIX_HOST_ZIPWRITE.
include(ExternalProject)

set(host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
set(LUMORIX_HOST_ZIPWRITE ${host_tools_dir}/zipwrite)
set(LUMORIX_HOST_IMPORT_CHECK ${host_tools_dir}/import_check)
ExternalProject_Add(host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/host
  BINARY_DIR ${host_tools_dir}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=c++
  INSTALL_COMMAND ""
  BUILD_ALWAYS TRUE
  BUILD_BYPRODUCTS ${LUMORIX_HOST_ZIPWRITE} ${LUMORIX_HOST_IMPORT_CHECK})
