# Installs the file type LANTHOR_MIME_SOURCE into LANTHOR_MIME_DESTINATION, without its name
# pattern unless the prefix is /usr (CMakeLists.txt says why), through the copy
# LANTHOR_MIME_STAGED.
cmake_policy(VERSION 3.25)

file(READ "${LANTHOR_MIME_SOURCE}" definition)
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    string(REGEX REPLACE "\n *<glob [^\n]*" "" definition "${definition}")
endif()
file(WRITE "${LANTHOR_MIME_STAGED}" "${definition}")
file(INSTALL "${LANTHOR_MIME_STAGED}"
     DESTINATION "${CMAKE_INSTALL_PREFIX}/${LANTHOR_MIME_DESTINATION}")
