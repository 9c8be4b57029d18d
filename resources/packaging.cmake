# `cpack` in the build directory makes a Debian package of everything the
# install rules put in place. Every name and number comes from the version
# record in the top-level CMakeLists.txt.

string(REGEX REPLACE "^[a-z]+://(www\\.)?([^/]+).*$" "\\2" maker_domain "${PROJECT_HOMEPAGE_URL}")

set(CPACK_PACKAGE_NAME "${TOLVU_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "${TOLVU_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${TOLVU_COMPANY_NAME} <info@${maker_domain}>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "${TOLVU_DESCRIPTION}")
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
# Qt's Wayland platform lets the window run natively on a Wayland desktop
# rather than through XWayland (blurred when scaled by a fraction).
if(TOLVU_GUI)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, qt6-wayland")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What Debian wants beside the programs: the copyright file in its
# machine-readable form, with the text of LICENSE; the changelog; and the
# lintian overrides, each with its reason.
string(STRIP "${TOLVU_LICENSE_TEXT}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " TOLVU_LICENSE_DEP5 " ${license}")
# The changelog dates the release as RFC 2822 does. CMake formats the time
# that SOURCE_DATE_EPOCH gives, so count the days from 1970 to the release.
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" date "${TOLVU_RELEASE_DATE}")
set(year ${CMAKE_MATCH_1})
set(month ${CMAKE_MATCH_2})
set(day ${CMAKE_MATCH_3})
if(month LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
    math(EXPR month "${month} + 12")
endif()
math(EXPR seconds "86400 * (365 * ${year} + ${year} / 4 - ${year} / 100 + ${year} / 400
    + (153 * (${month} - 3) + 2) / 5 + ${day} - 719469)")
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${seconds})
string(TIMESTAMP TOLVU_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
configure_file(copyright.in copyright @ONLY)
configure_file(changelog.in changelog @ONLY)
configure_file(lintian-overrides.in lintian-overrides @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${doc_dir})
tolvu_install_gzipped(${CMAKE_CURRENT_BINARY_DIR}/changelog ${doc_dir})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/" "/\\\\.cache/")

include(CPack)
