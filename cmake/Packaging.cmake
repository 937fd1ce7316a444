# The Debian package, built by CPack from the install rules (`make package`,
# or `cpack -G DEB` in a build folder). Its dependencies come from
# dpkg-shlibdeps, so they follow the libraries the program really links
# (RapidJSON, headers only, is needed to build but adds no dependency).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR Tembrix)
set(CPACK_PACKAGE_CONTACT "${QV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch and manage a portfolio of Internet domain names")
# The first line of the package's Description is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quorvel keeps a list of domain names in a database document and finds out
for each whether it is registered, by whom, when it was created, updated and
when it expires, its registrar, status, name servers and contact e-mail
addresses. It looks names up with whois and DNS, repeats lookups on a
schedule and logs what changed.
.
A command line (quorvel whois, parse, import, list, lookup) runs the same
capabilities without a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QV_PROJECT_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening web pages and documents from the program goes through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
