# `cpack` in the build directory makes a Debian package of everything the
# install rules put in place. Every name and number comes from the version
# record in the top-level CMakeLists.txt.

string(REGEX REPLACE "^[a-z]+://(www\\.)?([^/]+).*$" "\\2" maker_domain "${PROJECT_HOMEPAGE_URL}")

set(CPACK_PACKAGE_NAME "${TOLVU_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "${TOLVU_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${TOLVU_COMPANY_NAME} <info@${maker_domain}>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "One window holds 31 unit boxes in five groups: length, weight, volume,\n"
    "temperature and time. Typing a number into any box shows the same\n"
    "quantity in every other unit of its group, with the same digits on every\n"
    "machine. The package also carries tolvu-convert, the same conversions on\n"
    "the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${TOLVU_PRODUCT_NAME}")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# dpkg-shlibdeps names the runtime libraries the programs actually link
# (libqt6widgets6, libc6...), never a -dev package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window is laid out for Tahoma; this font makes the captions fit as drawn.
if(TOLVU_GUI)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-wine)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/" "/\\\\.cache/")

include(CPack)
