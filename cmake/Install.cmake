# SPDX-License-Identifier: MIT
# What `cmake --install` and the Debian package put in place: the two
# programs, the desktop entry with its icons, the manual pages, and the
# licence, changelog and AppStream metadata (cmake/ReleaseFiles.cmake).
include(GNUInstallDirs)

# The reverse-DNS name desktops and software centres know testcard by: the
# file names of the desktop entry and of the AppStream metadata. Like the
# home page in CMakeLists.txt it stands in until the project has a domain;
# once published it must not change.
set(TESTCARD_APP_ID org.example.testcard)

install(TARGETS testcard testcard-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/testcard.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${TESTCARD_APP_ID}.desktop)

# The desktop's icons, at the sizes menus, docks and launchers ask the hicolor
# theme for. testcard-icon draws each with the window icon's own code, so the
# menu shows exactly what the window does, at every size.
set(TESTCARD_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icons)
foreach(size IN LISTS TESTCARD_ICON_SIZES)
  set(folder ${PROJECT_BINARY_DIR}/icons/${size}x${size}/apps)
  add_custom_command(
    OUTPUT ${folder}/testcard.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND testcard-icon ${size} ${folder}/testcard.png
    DEPENDS testcard-icon
    COMMENT "Drawing the ${size}x${size} icon"
    VERBATIM)
  list(APPEND icons ${folder}/testcard.png)
endforeach()
add_custom_target(testcard_icons ALL DEPENDS ${icons})
install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The manual pages carry the version; they are compressed, as man pages are
# on Debian.
find_program(GZIP gzip REQUIRED)
set(pages)
foreach(page testcard.1 testcard-render.1)
  configure_file(data/${page}.in ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
    COMMAND ${GZIP} -9 --no-name --keep --force ${page}
    DEPENDS ${PROJECT_BINARY_DIR}/man/${page}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/man
    VERBATIM)
  list(APPEND pages ${PROJECT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(testcard_man_pages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(cmake/ReleaseFiles.cmake)
