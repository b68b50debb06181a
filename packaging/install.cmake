# Installation and the Debian package (`make package`).
# Layout under the prefix:
#   bin/quillon                     the launcher (starts the program in the user's data folder)
#   libexec/quillon/quillon         the program itself
#   share/quillon/GLP.icc           the Lab profile the launcher copies into the data folder
#   share/applications, share/icons/hicolor, share/metainfo: menu entry, icon, AppStream data
include(GNUInstallDirs)

set(QUILLON_APP_ID io.github.quillon.Quillon)
set(QUILLON_HOMEPAGE "https://github.com/quillon/quillon" CACHE STRING "Project home page (AppStream)")
set(QUILLON_SCREENSHOT_URL "https://raw.githubusercontent.com/quillon/quillon/main/docs/screenshot.png"
  CACHE STRING "Screenshot shown by software centres (AppStream)")
set(QUILLON_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QUILLON_PACKAGE_BUILD_DIR ${CMAKE_BINARY_DIR}/packaging)

# The launcher finds the program and GLP.icc relative to itself, so the same script works
# under /usr, /usr/local or any --prefix.
file(RELATIVE_PATH QUILLON_BIN_TO_PROGRAM /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBEXECDIR}/quillon/quillon)
file(RELATIVE_PATH QUILLON_BIN_TO_GLP /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_DATADIR}/quillon/GLP.icc)
configure_file(${QUILLON_PACKAGING_DIR}/quillon-launcher.sh.in ${QUILLON_PACKAGE_BUILD_DIR}/quillon @ONLY)
configure_file(${QUILLON_PACKAGING_DIR}/${QUILLON_APP_ID}.metainfo.xml.in
  ${QUILLON_PACKAGE_BUILD_DIR}/${QUILLON_APP_ID}.metainfo.xml @ONLY)

# Icons for the hicolor theme, scaled from the icon make_about_pictures draws.
set(QUILLON_ICON_SIZES 48 64 128 256)
set(QUILLON_ICON_DIR ${QUILLON_PACKAGE_BUILD_DIR}/icons)
set(QUILLON_ICON_FILES)
foreach(size IN LISTS QUILLON_ICON_SIZES)
  list(APPEND QUILLON_ICON_FILES ${QUILLON_ICON_DIR}/${size}x${size}.png)
endforeach()
add_executable(make_app_icons ${QUILLON_PACKAGING_DIR}/make_app_icons.cpp)
target_link_libraries(make_app_icons PRIVATE Qt6::Gui)
add_custom_command(OUTPUT ${QUILLON_ICON_FILES}
  COMMAND make_app_icons ${CMAKE_BINARY_DIR}/pictures/icon.png ${QUILLON_ICON_DIR} ${QUILLON_ICON_SIZES}
  DEPENDS make_app_icons ${CMAKE_BINARY_DIR}/pictures/icon.png
  COMMENT "Scaling the application icon")
add_custom_target(app_icons ALL DEPENDS ${QUILLON_ICON_FILES})
add_dependencies(app_icons about_pictures)

install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/quillon)
install(PROGRAMS ${QUILLON_PACKAGE_BUILD_DIR}/quillon DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quillon-gamut)
  install(TARGETS quillon-gamut RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${QUILLON_RUN_DIR}/GLP.icc DESTINATION ${CMAKE_INSTALL_DATADIR}/quillon)
install(FILES ${QUILLON_PACKAGING_DIR}/${QUILLON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUILLON_PACKAGE_BUILD_DIR}/${QUILLON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS QUILLON_ICON_SIZES)
  install(FILES ${QUILLON_ICON_DIR}/${size}x${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${QUILLON_APP_ID}.png)
endforeach()

# Debian package: quillon_<version>_<arch>.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Quillon developers <quillon@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of the colour gamuts of ICC profiles in 3D")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillon shows the gamuts of up to four ICC device profiles (RGB, CMYK, six-colour) together in one rotatable L*a*b* view. English and French.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${QUILLON_HOMEPAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked, so dpkg-shlibdeps cannot see them: Qt's X11
# platform plugin, Mesa's drivers (software rendering included) and the labels' font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libgl1-mesa-dri, fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# The installed tree (desktop entry, metainfo, icons) and the launcher against a stand-in
# program. Needs desktop-file-utils, appstream and ImageMagick (tools/install-deps.sh).
add_test(NAME install_tree_and_launcher
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/install_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_tree_and_launcher PROPERTIES LABELS packaging TIMEOUT 120)
