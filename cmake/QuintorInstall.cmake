# Installing Quintor like a desktop program: `cmake --install` and a Debian package (`cpack -G DEB`).
# Installed under a system program folder, the program keeps its files in the per-user data folder
# (core/settings/appfolder.cpp); nothing of the user's goes into the package.
include(GNUInstallDirs)

set(QUINTOR_PACKAGE_MAINTAINER "Quintor maintainers <quintor@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

install(TARGETS quintor-reflist RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(QUINTOR_BUILD_UI)
  install(TARGETS quintor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Only the application menu: starting with the session is the user's choice (README).
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/quintor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  set(quintor_icon_svg ${PROJECT_SOURCE_DIR}/resources/icons/quintor.svg)
  set(quintor_icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${quintor_icon_svg} DESTINATION ${quintor_icon_theme}/scalable/apps)

  # The PNG sizes are drawn from the one SVG at build time, so they never drift from it.
  find_program(QUINTOR_RSVG_CONVERT rsvg-convert)
  if(QUINTOR_RSVG_CONVERT)
    set(quintor_icon_pngs "")
    foreach(size 16 32 48 64 128 256)
      set(png ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}/quintor.png)
      add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}
        COMMAND ${QUINTOR_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${quintor_icon_svg}
        DEPENDS ${quintor_icon_svg}
        COMMENT "Drawing the ${size}x${size} application icon"
        VERBATIM)
      list(APPEND quintor_icon_pngs ${png})
      install(FILES ${png} DESTINATION ${quintor_icon_theme}/${size}x${size}/apps)
    endforeach()
    add_custom_target(quintor_icon_pngs ALL DEPENDS ${quintor_icon_pngs})
  else()
    message(WARNING "rsvg-convert not found (Debian librsvg2-bin): only the SVG icon is installed")
  endif()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quintor)
set(CPACK_PACKAGE_VENDOR "Quintor")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QUINTOR_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor for the online games of Clonk Rage")
# The long description as Debian shows it: its own lines, each under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Quintor fetches the game lists of the Clonk Rage league masterservers every"
       "30 seconds and shows the open games with a statistic and a notice board."
       "Filters over the games tell the player when a game of interest opens: a"
       "message box, a balloon at the tray icon, a sound, a coloured row or a line"
       "in a log file. A game is joined by starting Clonk Rage with a join parameter."
       "Installed system-wide, Quintor keeps its files in ~/.local/share/quintor/."
       "Includes quintor-reflist, which prints as JSON what the monitor would show"
       "for saved masterserver replies.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links, plus what it loads as plug-ins: the SVG icon engine (libqt6svg6)
# and the platform plug-ins. dpkg-shlibdeps adds the C and C++ runtime and version floors.
set(quintor_debian_depends libcurl4)
if(QUINTOR_BUILD_UI)
  list(PREPEND quintor_debian_depends libqt6widgets6 libqt6gui6 libqt6core6 libqt6multimedia6 libqt6charts6
       libqt6svg6 qt6-qpa-plugins)
endif()
list(JOIN quintor_debian_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
find_program(QUINTOR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUINTOR_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
