# The build-time tools for a cross build: the same source tree configured for
# the build machine with only the tools in it, built before the resources.
include(ExternalProject)
set(TOVIK2_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(TOVIK2_HOST_TOOLS pngpack ico32pack)
set(host_tool_files "")
foreach(tool ${TOVIK2_HOST_TOOLS})
  list(APPEND host_tool_files ${TOVIK2_HOST_TOOLS_DIR}/tools/${tool})
endforeach()
ExternalProject_Add(host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${TOVIK2_HOST_TOOLS_DIR}
  CMAKE_ARGS -DTOVIK2_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release -DTOVIK2_WERROR=${TOVIK2_WERROR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${TOVIK2_HOST_TOOLS}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${host_tool_files})
# tovik2_host_tool(<var> <tool>): the path of a host tool, for add_custom_command.
function(tovik2_host_tool var tool)
  set(${var} ${TOVIK2_HOST_TOOLS_DIR}/tools/${tool} PARENT_SCOPE)
endfunction()
