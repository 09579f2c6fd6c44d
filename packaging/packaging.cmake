# Installation in the Debian games layout, the desktop icons and the .deb package.
#   <prefix>/games/fribb3                      launcher (runs the game in the player's folder)
#   <prefix>/lib/games/fribb3/fribb3           the game itself
#   <prefix>/share/games/fribb3/data/*.zda     the four archives
#   <prefix>/share/man/man6/fribb3.6.gz, applications/, metainfo/, icons/hicolor/, doc/fribb3/
include(GNUInstallDirs)

set(FRIBB3_INSTALL_GAMESDIR games CACHE STRING "Folder of the launcher, below the prefix")
set(FRIBB3_INSTALL_PROGRAMDIR lib/games/fribb3 CACHE STRING "Private folder of the game itself, below the prefix")
set(FRIBB3_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/fribb3/data CACHE STRING
  "Folder of the data archives, below the prefix")
# Installed folders are 0755 whatever the umask of whoever builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(FRIBB3_PACKAGING_SOURCE ${CMAKE_CURRENT_LIST_DIR})
set(FRIBB3_PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${FRIBB3_PACKAGING_BINARY})

# The launcher finds the game and the archives relative to itself, so an
# unpacked package works wherever it lies.
file(RELATIVE_PATH FRIBB3_LAUNCHER_TO_PROGRAM /root/${FRIBB3_INSTALL_GAMESDIR} /root/${FRIBB3_INSTALL_PROGRAMDIR}/fribb3)
file(RELATIVE_PATH FRIBB3_LAUNCHER_TO_DATA /root/${FRIBB3_INSTALL_GAMESDIR} /root/${FRIBB3_INSTALL_DATADIR})
configure_file(${FRIBB3_PACKAGING_SOURCE}/launcher.sh.in ${FRIBB3_PACKAGING_BINARY}/launcher/fribb3 @ONLY)

# Icons: the hero facing the player, cut from the tile sheet (tile code i sits
# at column i mod 20, row i / 20 of 16x16 cells), scaled without smoothing.
set(icon_sheet ${CMAKE_BINARY_DIR}/content-out/gfx/blocks.bmp)
set(icon_tile 24) # 0x18
math(EXPR icon_x "${icon_tile} % 20 * 16")
math(EXPR icon_y "${icon_tile} / 20 * 16")
set(icon_root ${FRIBB3_PACKAGING_BINARY}/icons)
set(icon_files "")
foreach(size 16 32 48 64 128 256)
  set(icon ${icon_root}/${size}x${size}/apps/fribb3.png)
  file(MAKE_DIRECTORY ${icon_root}/${size}x${size}/apps)
  add_custom_command(OUTPUT ${icon}
    COMMAND iconc ${icon_sheet} ${icon_x} ${icon_y} 16 ${icon} ${size}
    DEPENDS iconc ${icon_sheet}
    COMMENT "Drawing the ${size}x${size} icon"
    VERBATIM)
  list(APPEND icon_files ${icon})
endforeach()
set(icon ${icon_root}/scalable/apps/fribb3.svg)
file(MAKE_DIRECTORY ${icon_root}/scalable/apps)
add_custom_command(OUTPUT ${icon}
  COMMAND iconc ${icon_sheet} ${icon_x} ${icon_y} 16 ${icon}
  DEPENDS iconc ${icon_sheet}
  COMMENT "Drawing the scalable icon"
  VERBATIM)
list(APPEND icon_files ${icon})
add_custom_target(icons ALL DEPENDS ${icon_files})
add_dependencies(icons data) # the tile sheet is drawn on the way to gfx.zda

install(PROGRAMS ${FRIBB3_PACKAGING_BINARY}/launcher/fribb3 DESTINATION ${FRIBB3_INSTALL_GAMESDIR})
# Resolve every symbol at start-up so the relocation table can be made read-only.
target_link_options(fribb3 PRIVATE -Wl,-z,relro,-z,now)
install(TARGETS fribb3 RUNTIME DESTINATION ${FRIBB3_INSTALL_PROGRAMDIR})
install(FILES ${CMAKE_BINARY_DIR}/data/gfx.zda ${CMAKE_BINARY_DIR}/data/music.zda
  ${CMAKE_BINARY_DIR}/data/maps.zda ${CMAKE_BINARY_DIR}/data/sound.zda
  DESTINATION ${FRIBB3_INSTALL_DATADIR})
install(DIRECTORY ${icon_root}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${FRIBB3_PACKAGING_SOURCE}/fribb3.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${FRIBB3_PACKAGING_SOURCE}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The desktop entry and the manual page name installed paths, which are only
# known when installing (a package installs below /usr whatever the build was
# configured with), so they are filled in and compressed then.
install(CODE "
  set(FRIBB3_PACKAGING_SOURCE \"${FRIBB3_PACKAGING_SOURCE}\")
  set(FRIBB3_PACKAGING_BINARY \"${FRIBB3_PACKAGING_BINARY}\")
  set(FRIBB3_VERSION \"${PROJECT_VERSION}\")
  set(FRIBB3_INSTALLED_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${FRIBB3_INSTALL_GAMESDIR}/fribb3\")
  set(FRIBB3_INSTALLED_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${FRIBB3_INSTALL_PROGRAMDIR}/fribb3\")
  set(FRIBB3_INSTALLED_DATA \"\${CMAKE_INSTALL_PREFIX}/${FRIBB3_INSTALL_DATADIR}\")")
install(SCRIPT ${FRIBB3_PACKAGING_SOURCE}/fill_installed_paths.cmake)
install(FILES ${FRIBB3_PACKAGING_BINARY}/fribb3.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${FRIBB3_PACKAGING_BINARY}/fribb3.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${FRIBB3_PACKAGING_BINARY}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fribb3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Fribb 3 developers")
set(CPACK_PACKAGE_CONTACT "Fribb 3 developers <fribb3@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "retro side-scrolling platform game")
set(CPACK_PACKAGE_DESCRIPTION [=[Fribb walks, jumps, pushes blocks and rides lifts through ten tile-based
stages. Collect every ring of a stage to open its exit door, and dodge five
kinds of enemies, spikes, explosive blocks, deep water and the 150-second
timer on the way. A finished stage is remembered so a game can be continued,
and the ten best scores are kept.

The game runs in a window or full screen, doubled with a choice of smoothing
filters, and is played with the keyboard or a joystick. Each player's
settings, hiscores and savegame live in their own data folder.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The OpenGL display (-ogl) needs a GLX library, which SDL loads at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libgl1)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
