# SPDX-License-Identifier: MIT
# `cpack -G DEB` in the build folder makes a Debian package of what
# cmake/Install.cmake installs. Its dependencies are read from the programs'
# shared libraries by dpkg-shlibdeps (package dpkg-dev), so they follow
# whatever SDL2 and libpng the build linked against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME testcard)
set(CPACK_PACKAGE_VENDOR "the testcard developers")
set(CPACK_PACKAGE_CONTACT "${TESTCARD_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY testcard)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# TESTCARD_MAINTAINER is set and checked in cmake/ReleaseFiles.cmake.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESTCARD_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary line comes from CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the
# text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "testcard fills the primary screen with test patterns (a grid, a cross and
a colour pattern) drawn pixel for pixel at the screen's native resolution,
to adjust and check a monitor: geometry, focus, overscan, sharpness and
colour gradation. Each key that types a character steps to the next
pattern.
.
testcard-render draws the same patterns as PNG files at any size, for
screens that cannot run a program: a TV, a projector, a web page.")

include(CPack)
