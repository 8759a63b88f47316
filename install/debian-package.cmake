# `cmake --build build --target package`: the two Debian packages, the
# install layout with the prefix /usr:
# - build/valdoren_VERSION_amd64.deb, the programs (component "program");
# - build/valdoren-codes_VERSION_all.deb, the codes (component "codes"), made
#   after it by install/codes-package.cmake with its own version.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME valdoren)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};program;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Valdoren maintainers <maintainers@users.noreply.c-seed-9cd4087c.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "updates the reference codes of the Lorvanta programs")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Valdoren brings the reference-code tables of the Lorvanta programs (ROZ,"
  "VAM, LUG, SOMA) up to date with the new standard codes: packaging kinds,"
  "countries, domestic and foreign ports, units and currencies."
  ""
  "It copies the codes of NewCodes.mdb (package valdoren-codes), row by row,"
  "into the Lorvanta database the operator picks: from its window"
  "(valdoren), or from a script on many databases at once (valdoren-db).")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Debian ships programs without their debugging symbols.
set(CPACK_STRIP_FILES ON)
# The libraries the programs link come from dpkg-shlibdeps. It cannot see
# Qt's plugins, which are loaded at run time: the SQLite driver of Qt SQL is
# a package of its own and listed here; the xcb platform plugin comes with
# libqt6gui6, which the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, valdoren-codes")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/install/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Folders as Debian has them, whatever the umask of the one who builds.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The package's version is the project's; its changelog must say what it brings.
file(STRINGS install/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^valdoren \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "install/changelog has no entry for version ${PROJECT_VERSION} at its top")
endif()

# What the codes package is made from, for the script run after the
# programs' package.
set(CPACK_VALDOREN_BUILD_DIR ${CMAKE_BINARY_DIR})
set(CPACK_VALDOREN_CODES_CHANGELOG ${PROJECT_SOURCE_DIR}/data/changelog)
set(CPACK_VALDOREN_MAKE_CODES_DEB ${PROJECT_SOURCE_DIR}/install/make-codes-deb)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/install/codes-package.cmake)

include(CPack)
