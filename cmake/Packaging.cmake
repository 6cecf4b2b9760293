# Installation and the Debian packages: "tavoren" (the timekeeper and
# tavoren-cli) and "tavoren-drone" (the participant's screen).
# Everything the programs read at run time is compiled in, so a package holds
# the program, its desktop entry, icon, AppStream metadata, manual page and
# the Debian files (copyright, changelog, lintian overrides).
#
#   cpack --config build/CPackConfig.cmake     (scripts/package.sh)

include(GNUInstallDirs)

set(TAVOREN_PACKAGE_MAINTAINER "The tavoren maintainers <maintainers@tavoren.invalid>"
    CACHE STRING "Maintainer named in the Debian packages")
set(TAVOREN_PACKAGE_VERSION "${PROJECT_VERSION}-${TAVOREN_BUILD_NUMBER}")

set(packaging_source ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_binary ${PROJECT_BINARY_DIR}/packaging)

# A file gzipped the way Debian wants it: best compression, no name or time
# stamp inside, so that equal input gives equal packages.
function(tavoren_gzip input output)
  execute_process(COMMAND gzip -9nc ${input} OUTPUT_FILE ${output} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${input} failed")
  endif()
endfunction()

# tavoren_package_files(PACKAGE DESKTOP_ID PROGRAMS...): the programs and the
# files that come with them, installed as the package's component.
function(tavoren_package_files package desktop_id)
  install(TARGETS ${ARGN} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${package})
  install(FILES ${packaging_source}/${desktop_id}.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT ${package})
  install(FILES ${packaging_source}/${desktop_id}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT ${package})
  install(FILES ${packaging_source}/icons/${desktop_id}.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps COMPONENT ${package})
  foreach(program ${ARGN})
    configure_file(${packaging_source}/man/${program}.1 ${packaging_binary}/${program}.1 @ONLY)
    tavoren_gzip(${packaging_binary}/${program}.1 ${packaging_binary}/${program}.1.gz)
    install(FILES ${packaging_binary}/${program}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${package})
  endforeach()

  set(TAVOREN_PACKAGE_NAME ${package})
  configure_file(${packaging_source}/changelog.in ${packaging_binary}/${package}/changelog.Debian @ONLY)
  tavoren_gzip(${packaging_binary}/${package}/changelog.Debian ${packaging_binary}/${package}/changelog.Debian.gz)
  install(FILES ${packaging_source}/copyright ${packaging_binary}/${package}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${package})
  configure_file(${packaging_source}/lintian-overrides.in ${packaging_binary}/${package}/lintian-overrides @ONLY)
  install(FILES ${packaging_binary}/${package}/lintian-overrides RENAME ${package}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${package})
endfunction()

tavoren_package_files(tavoren org.tavoren.Tavoren tavoren tavoren-cli)
tavoren_package_files(tavoren-drone org.tavoren.TavorenDrone tavoren-drone)
# The bundled protocol, for a first documents folder and for trying tavoren-cli.
install(FILES ${PROJECT_SOURCE_DIR}/resources/Research_protocols/mini.json
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tavoren/examples COMPONENT tavoren)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavoren)
set(CPACK_PACKAGE_VENDOR "The tavoren developers")
set(CPACK_PACKAGE_CONTACT "${TAVOREN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL tavoren tavoren-drone)
set(CPACK_DEB_COMPONENT_INSTALL ON)

set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAVOREN_BUILD_NUMBER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVOREN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries from the binaries (dpkg-shlibdeps); below, what Qt loads
# by itself at run time: QML modules, plugins, fonts, helper programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(qml_modules
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates
  qml6-module-qtquick-layouts qml6-module-qtquick-window qml6-module-qtqml-workerscript)
string(REPLACE ";" ", " qml_modules "${qml_modules}")

set(CPACK_DEBIAN_TAVOREN_PACKAGE_NAME tavoren)
# The tablet's page: Qt HTTP Server, Qt WebSockets, libqrencode (also found by dpkg-shlibdeps).
set(CPACK_DEBIAN_TAVOREN_PACKAGE_DEPENDS
  "${qml_modules}, libqt6serialport6, fonts-dejavu-core, xdg-utils, libqt6httpserver6, libqt6websockets6, libqrencode4")
set(CPACK_DEBIAN_TAVOREN_PACKAGE_RECOMMENDS "bluez, qt6-wayland, fonts-noto-color-emoji")
set(CPACK_DEBIAN_TAVOREN_PACKAGE_SUGGESTS "tavoren-drone")
set(CPACK_COMPONENT_TAVOREN_DESCRIPTION "timekeeper of a psychophysiology laboratory
Runs a research protocol on a participant: timed steps of rest, tasks,
questionnaires and stimuli. It keeps time on a one-second tick and writes the
label file that is later used to cut the physiological recording into the
protocol's steps, drives the participant's screen (package tavoren-drone) on
this or another machine of the local network, runs the operator's tasks and
works an ambulatory blood-pressure monitor through a Bluetooth LE bridge.

This package also holds tavoren-cli, which converts, lists and dry-runs
protocol files, draws a session's timeline from its label file and exports
label files as BIDS events.")

set(CPACK_DEBIAN_TAVOREN-DRONE_PACKAGE_NAME tavoren-drone)
set(CPACK_DEBIAN_TAVOREN-DRONE_PACKAGE_DEPENDS "${qml_modules}, qml6-module-qtmultimedia, fonts-dejavu-core")
set(CPACK_DEBIAN_TAVOREN-DRONE_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_COMPONENT_TAVOREN-DRONE_DESCRIPTION "participant's screen of the tavoren timekeeper
The second screen of a psychophysiology laboratory session: it makes itself
known on the local network, accepts the tavoren timekeeper's invitation and
shows the participant, full screen, what the running protocol asks for:
timers, texts, pictures, a breathing pacer, videos (through Qt Multimedia's
FFmpeg backend) and rating sliders, whose answers go back to the timekeeper.")

include(CPack)
