# What `cmake --install` puts where (GNUInstallDirs), and the Debian package
# that CPack makes of it. ID is MIRABO_APP_ID (cmake/desktop_names.cmake).
#
#   bin/mirabo, bin/mirabo-calc                   (rules next to the targets)
#   share/applications/ID.desktop                 menu entry
#   share/metainfo/ID.metainfo.xml                AppStream metainfo
#   share/icons/hicolor/NxN/apps/ID.png           icon, N = 16 ... 256
#   share/icons/hicolor/scalable/apps/ID.svg
#   share/man/man1/mirabo.1.gz, mirabo-calc.1.gz  manual pages
#   share/bash-completion/completions/mirabo-calc
#
# The Debian package adds share/doc/mirabo/copyright and changelog.gz
# (component "debian", which a plain `cmake --install` leaves out). The
# pieces that belong to the desktop program come only with it.

set(_mirabo_dist "${PROJECT_SOURCE_DIR}/dist")
set(_mirabo_out "${PROJECT_BINARY_DIR}/dist")
set(_mirabo_built "")

# Manual pages: scdoc sources with the version and address filled in.
find_program(MIRABO_SCDOC scdoc REQUIRED DOC "scdoc, for the manual pages")
find_program(MIRABO_GZIP gzip REQUIRED DOC "gzip, for the manual pages and the changelog")
set(_mirabo_pages mirabo-calc)
if(TARGET mirabo)
  list(APPEND _mirabo_pages mirabo)
endif()
foreach(page IN LISTS _mirabo_pages)
  configure_file("${_mirabo_dist}/${page}.1.scd" "${_mirabo_out}/${page}.1.scd" @ONLY)
  add_custom_command(
    OUTPUT "${_mirabo_out}/${page}.1.gz"
    COMMAND "${CMAKE_COMMAND}" -E env SOURCE_DATE_EPOCH=${MIRABO_RELEASE_EPOCH}
            "${MIRABO_SCDOC}" < "${_mirabo_out}/${page}.1.scd" > "${_mirabo_out}/${page}.1"
    COMMAND "${MIRABO_GZIP}" -9 -n -c "${_mirabo_out}/${page}.1" > "${_mirabo_out}/${page}.1.gz"
    DEPENDS "${_mirabo_out}/${page}.1.scd"
    COMMENT "Writing the manual page ${page}(1)"
    VERBATIM)
  list(APPEND _mirabo_built "${_mirabo_out}/${page}.1.gz")
  install(FILES "${_mirabo_out}/${page}.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()

install(FILES "${_mirabo_dist}/mirabo-calc.bash"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions"
        RENAME mirabo-calc)

if(TARGET mirabo)
  # The menu entry starts the program found on the PATH.
  set(MIRABO_EXECUTABLE mirabo)
  configure_file("${_mirabo_dist}/mirabo.desktop.in" "${_mirabo_out}/${MIRABO_APP_ID}.desktop" @ONLY)
  configure_file("${_mirabo_dist}/mirabo.metainfo.xml.in" "${_mirabo_out}/${MIRABO_APP_ID}.metainfo.xml" @ONLY)
  install(FILES "${_mirabo_out}/${MIRABO_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${_mirabo_out}/${MIRABO_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  foreach(size IN LISTS MIRABO_DESKTOP_ICON_SIZES)
    install(FILES "${PROJECT_SOURCE_DIR}/res/icons/${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME "${MIRABO_APP_ID}.png")
  endforeach()
  install(FILES "${PROJECT_SOURCE_DIR}/res/icons/scalable.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
          RENAME "${MIRABO_APP_ID}.svg")
endif()

# Debian's copyright file and changelog, for the package only.
configure_file("${_mirabo_dist}/copyright" "${_mirabo_out}/copyright" @ONLY)
configure_file("${_mirabo_dist}/changelog" "${_mirabo_out}/changelog" @ONLY)
add_custom_command(
  OUTPUT "${_mirabo_out}/changelog.gz"
  COMMAND "${MIRABO_GZIP}" -9 -n -c "${_mirabo_out}/changelog" > "${_mirabo_out}/changelog.gz"
  DEPENDS "${_mirabo_out}/changelog"
  VERBATIM)
list(APPEND _mirabo_built "${_mirabo_out}/changelog.gz")
install(FILES "${_mirabo_out}/copyright" "${_mirabo_out}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/mirabo"
        COMPONENT debian EXCLUDE_FROM_ALL)

# Everything installed that is made in the build; `--target installable`
# builds what an install needs and nothing else.
add_custom_target(mirabo_install_files ALL DEPENDS ${_mirabo_built})
add_custom_target(installable)
add_dependencies(installable mirabo_install_files mirabo-calc)
if(TARGET mirabo)
  add_dependencies(installable mirabo)
endif()

# The Debian package: mirabo_VERSION_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirabo)
set(CPACK_PACKAGE_VENDOR "Mirabo project")
set(CPACK_PACKAGE_CONTACT "Mirabo project <${MIRABO_CONTACT}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "engineering calculator with a Japanese interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Mirabo solves the right triangle, the oblique triangle, coordinate rotation
and Ohm's law: type the quantities that are known, and every field comes back
with three decimals. Its interface is Japanese and shows a handheld's
landscape screen in one desktop window.

The same calculators run from the command line as mirabo-calc, with plain or
JSON output for scripts and spreadsheets.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialogs' Japanese texts are drawn in IPA Gothic.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MIRABO_HOMEPAGE}")
# One package of the default component and the Debian files.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian)
include(CPack)
