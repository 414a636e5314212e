# Installs the build folder BUILD_DIR twice under the scratch folder ROOT: as the package does
# (prefix /usr, through DESTDIR) and elsewhere (ROOT/local). Checks that each puts exactly the
# editor, its menu entry, its icon and its file type in place (no tests, no libraries), that the
# file type names *.csv only under /usr, and that the menu entry is valid when
# DESKTOP_FILE_VALIDATE names the validator.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${ROOT}")
set(expected bin/lanthor share/applications/lanthor.desktop
             share/icons/hicolor/scalable/apps/lanthor.svg share/mime/packages/lanthor.xml)

foreach(place usr local)
    if(place STREQUAL "usr")
        set(install "${CMAKE_COMMAND}" -E env "DESTDIR=${ROOT}"
                    "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr)
    else()
        set(install "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${ROOT}/local")
    endif()
    execute_process(COMMAND ${install} RESULT_VARIABLE status OUTPUT_QUIET)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cmake --install under ${place} failed: ${status}")
    endif()
    set(prefix "${ROOT}/${place}")

    file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${prefix}" "${prefix}/*")
    list(SORT installed)
    if(NOT installed STREQUAL expected)
        message(FATAL_ERROR "installed under ${place}: ${installed}\nexpected: ${expected}")
    endif()

    file(STRINGS "${prefix}/share/mime/packages/lanthor.xml" patterns REGEX "<glob ")
    if(place STREQUAL "usr" AND NOT patterns MATCHES [["\*\.csv"]])
        message(FATAL_ERROR "the file type under /usr names no *.csv")
    elseif(place STREQUAL "local" AND patterns)
        message(FATAL_ERROR "the file type outside /usr names a pattern: ${patterns}")
    endif()
endforeach()

if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}"
                            "${ROOT}/usr/share/applications/lanthor.desktop"
                    RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
    if(NOT status EQUAL 0 OR said)
        message(FATAL_ERROR "desktop-file-validate: ${said}")
    endif()
endif()
