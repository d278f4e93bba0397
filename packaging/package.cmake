# Manual pages, the package's documents and the Debian package:
#   cpack -G DEB --config <build>/CPackConfig.cmake
# builds ventrano_<version>_amd64.deb from what `cmake --install` installs,
# under /usr. tools/package.sh builds it and checks it.
include(GNUInstallDirs)

set(VENTRANO_PACKAGE_CONTACT "Ventrano developers <ventrano@example.org>"
    CACHE STRING "Maintainer named in the Debian package")
set(ventrano_docdir ${CMAKE_INSTALL_DATADIR}/doc/ventrano)

# Every page in docs/man, gzipped without name or time stamp as Debian keeps
# them; a page added there joins the install and the package on the next
# configure.
find_program(VENTRANO_GZIP gzip REQUIRED)
file(GLOB ventrano_man_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/*.1)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
set(ventrano_gzipped)
foreach(src ${ventrano_man_pages} ${PROJECT_BINARY_DIR}/packaging/changelog)
  get_filename_component(name ${src} NAME)
  set(gz ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${gz}
                     COMMAND ${VENTRANO_GZIP} -9 -n -c ${src} > ${gz}
                     DEPENDS ${src}
                     COMMENT "Compressing ${name}")
  list(APPEND ventrano_gzipped ${gz})
endforeach()
add_custom_target(ventrano_docs ALL DEPENDS ${ventrano_gzipped})
list(FILTER ventrano_gzipped EXCLUDE REGEX "/changelog\\.gz$")
install(FILES ${ventrano_gzipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${ventrano_docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ventrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VENTRANO_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rating of counter-current coil-in-jacket heat exchangers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Rates one family of counter-current water-to-water heat exchangers, a\n"
    "helical coil in a cylindrical jacket in five sizes. On a schematic of\n"
    "the installation the user sets the model type, the units in series and\n"
    "in parallel, both volume flows and both inlet temperatures. The program\n"
    "iterates the outlet temperatures and shows the heat duty, pressure drops,\n"
    "velocities and heat transfer coefficients, draws characteristic charts\n"
    "and prints a report. The interface speaks seven languages.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The libraries the programs link come from dpkg-shlibdeps; what they load
# at run time by name is listed here: the faces of the windows (fonts-wine's
# "MS Sans Serif" and "Tahoma" read from their files, "DejaVu Sans
# Condensed" asked of fontconfig). Qt's X11 platform plugin is part of
# libqt6gui6, which the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-dejavu-extra")
set(CPACK_STRIP_FILES ON)
# The type database and the menu cache are the system's: its triggers on
# /usr/share/mime/packages and /usr/share/applications rebuild them when the
# package comes and goes. The install's own rebuild is left out of the package.
set(CPACK_CUSTOM_INSTALL_VARIABLES VENTRANO_PACKING=ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
