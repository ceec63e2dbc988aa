# SPDX-License-Identifier: MIT
# A Debian package of what the install rules lay out under /usr:
#   cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF
#   cmake --build build-deb && (cd build-deb && cpack -G DEB)
# leaves velmora_<version>_<arch>.deb in build-deb/.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora developers")
set(CPACK_PACKAGE_CONTACT "${VELMORA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "daily reader with a reading for each day of the year")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[Velmora shows the reading of the date picked in its month calendar,
taken from a book of 365 short readings, one for each day of the year. A
sample book of old proverbs comes with it, and the talvik-book tool makes
new books from plain text.

It can sound a chime when it starts, and it can have systemd start it
every morning at a set time, so that each day opens on a new reading.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMORA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELMORA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The chime's library is loaded when the first chime plays, so dpkg-shlibdeps
# cannot see it; systemctl books the daily start, getfacl lets the daily
# start's check read access lists (without it a program with one in its path
# is not started), and the sound theme gives the bell when orv.wav cannot be
# played.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcanberra0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "systemd, acl, sound-theme-freedesktop")
include(CPack)
