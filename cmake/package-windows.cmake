# SPDX-License-Identifier: MIT
# The Windows installer, made with CPack's NSIS generator:
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64.cmake -DVELMORA_TESTS=OFF
#   cmake --build build-windows && (cd build-windows && cpack)
# leaves Velmora-<version>-win64.exe in build-windows/ (./dev windows does it).
# It installs into Program Files\Velmora the program, the book tool, the
# sample book, the chime and the licence, with a Start-menu entry; /S installs
# and uninstalls silently.

install(TARGETS talvik talvik-book RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/bin/maravelle.pdb ${CMAKE_BINARY_DIR}/bin/orv.wav DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Velmora)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Velmora, a daily reader")
set(CPACK_PACKAGE_FILE_NAME Velmora-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Velmora)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Velmora)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# The 64-bit installer stub, installing into the 64-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Velmora)
set(CPACK_NSIS_PACKAGE_NAME Velmora)
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/resources/windows/velmora.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/resources/windows/velmora.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME talvik.exe)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES talvik Velmora)
# An upgrade writes over the installed files in place and runs no uninstaller
# first: that would remove the user's settings and booked daily start.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL OFF)

# What the installer does first, and the uninstaller; each says why.
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "!include '${CMAKE_SOURCE_DIR}/packaging/windows/preinstall.nsh'")

set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!include '${CMAKE_SOURCE_DIR}/packaging/windows/uninstall.nsh'")
include(CPack)
