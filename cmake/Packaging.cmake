# The installed layout and the Debian package (cpack -G DEB, or the `package` target):
#   /usr/bin/orv                    launcher: per-user working folder, then the program
#   /usr/bin/orv-report             the test report of a plan, without a window
#   /usr/lib/orv/orv, orv-crash-box the program, with the crash box beside it
#   /usr/share/orv/                 pictures, sounds, colour-scheme file, demo plans,
#                                   copied into each user's working folder
#   /lib/udev/rules.d/              the instrument's rule
#   desktop entry, hicolor icon, manual page, copyright and changelog
include(GNUInstallDirs)

set(ORV_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(ORV_PACKAGING_BUILD_DIR ${PROJECT_BINARY_DIR}/packaging)
set(ORV_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/orv)
set(ORV_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orv)

install(TARGETS orv orv-crash-box RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/orv)
install(PROGRAMS ${ORV_PACKAGING_DIR}/orv-launcher.sh DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME orv)
install(TARGETS orv-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# What tools/ draws at build time, and the colour-scheme file the program checks for.
install(DIRECTORY ${ORV_ASSETS_DIR}/graphics ${ORV_ASSETS_DIR}/sounds
        DESTINATION ${ORV_SHARE_DIR})
install(DIRECTORY ${ORV_DEMO_DIR}/testplans DESTINATION ${ORV_SHARE_DIR})
file(WRITE ${ORV_PACKAGING_BUILD_DIR}/colours.txt "")
install(FILES ${ORV_PACKAGING_BUILD_DIR}/colours.txt DESTINATION ${ORV_SHARE_DIR}/settings)

# Absolute, outside the prefix, where udev reads a package's rules; a private
# install (cmake --install --prefix ~/opt) can point it elsewhere.
set(ORV_UDEV_RULES_DIR /lib/udev/rules.d CACHE PATH "Where the instrument's udev rule is installed")
install(FILES ${ORV_PACKAGING_DIR}/70-orv-instrument.rules DESTINATION ${ORV_UDEV_RULES_DIR})
install(FILES ${ORV_PACKAGING_DIR}/orv.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORV_PACKAGING_DIR}/orv.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian wants the manual page and the changelog compressed, reproducibly (-n: no name
# or time stamp inside).
configure_file(${ORV_PACKAGING_DIR}/orv.1.in ${ORV_PACKAGING_BUILD_DIR}/orv.1 @ONLY)
configure_file(${ORV_PACKAGING_DIR}/orv-report.1.in ${ORV_PACKAGING_BUILD_DIR}/orv-report.1 @ONLY)
add_custom_command(
    OUTPUT ${ORV_PACKAGING_BUILD_DIR}/orv.1.gz ${ORV_PACKAGING_BUILD_DIR}/orv-report.1.gz
           ${ORV_PACKAGING_BUILD_DIR}/changelog.gz
    COMMAND gzip -9nc ${ORV_PACKAGING_BUILD_DIR}/orv.1 > ${ORV_PACKAGING_BUILD_DIR}/orv.1.gz
    COMMAND gzip -9nc ${ORV_PACKAGING_BUILD_DIR}/orv-report.1 >
            ${ORV_PACKAGING_BUILD_DIR}/orv-report.1.gz
    COMMAND gzip -9nc ${ORV_PACKAGING_DIR}/changelog > ${ORV_PACKAGING_BUILD_DIR}/changelog.gz
    DEPENDS ${ORV_PACKAGING_BUILD_DIR}/orv.1 ${ORV_PACKAGING_BUILD_DIR}/orv-report.1
            ${ORV_PACKAGING_DIR}/changelog
    COMMENT "Compressing the manual pages and the changelog"
)
add_custom_target(orv_package_docs ALL
    DEPENDS ${ORV_PACKAGING_BUILD_DIR}/orv.1.gz ${ORV_PACKAGING_BUILD_DIR}/orv-report.1.gz
            ${ORV_PACKAGING_BUILD_DIR}/changelog.gz)
install(FILES ${ORV_PACKAGING_BUILD_DIR}/orv.1.gz ${ORV_PACKAGING_BUILD_DIR}/orv-report.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ORV_PACKAGING_DIR}/copyright ${ORV_PACKAGING_BUILD_DIR}/changelog.gz
        DESTINATION ${ORV_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The orv developers")
set(CPACK_PACKAGE_CONTACT "The orv developers <orv@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control program of the ORV analogue signature analysers")
# CPack indents the text under the summary line and turns an empty line into " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Drives a USB analogue signature analyser and shows the live voltage/current
signature of the pin under the probe. Test plans keep the known-good signature
of every pin, placed on a photograph of the board; boards are tested against
them by hand or automatically, pin by pin.

Includes a simulated instrument and demo test plans, so the program can be
tried without the hardware.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Depends from the libraries the programs link (dpkg-shlibdeps), plus the windowing
# plug-ins Qt needs to open a window at all.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# libftdi1 is loaded when the first connection is made: the program runs without it.
# The Liberation fonts stand in for the "Arial" the layout is measured in; addr2line
# puts source lines into crash reports.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libftdi1-2, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "binutils")
# Debian packages carry stripped programs; the line information that crash reports
# name source lines from goes into orv-dbgsym_<version>_amd64.ddeb, found by build id.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
include(CPack)
