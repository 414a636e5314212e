# Installs the build folder BUILD_DIR under the scratch prefix PREFIX and checks that exactly the
# editor, its menu entry, its icon and its file type are put in place (no tests, no libraries),
# and that the menu entry is valid when DESKTOP_FILE_VALIDATE names the validator.

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
set(expected bin/lanthor share/applications/lanthor.desktop
             share/icons/hicolor/scalable/apps/lanthor.svg share/mime/packages/lanthor.xml)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed: ${installed}\nexpected:  ${expected}")
endif()

if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${PREFIX}/share/applications/lanthor.desktop"
                    RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
    if(NOT status EQUAL 0 OR said)
        message(FATAL_ERROR "desktop-file-validate: ${said}")
    endif()
endif()
