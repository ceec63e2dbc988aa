# SPDX-License-Identifier: MIT
# The Windows installer, made with CPack's NSIS generator:
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64.cmake -DVELMORA_TESTS=OFF
#   cmake --build build-windows && (cd build-windows && cpack)
# leaves Velmora-<version>-win64.exe in build-windows/ (./dev windows does it).
# It installs the program, the book tool, the sample book, the chime and the
# licence, with a Start-menu entry, into Program Files\Velmora for all users
# or into %LOCALAPPDATA%\Programs\Velmora for the current user alone; /S
# installs and uninstalls silently, /AllUsers and /CurrentUser choose.

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
# The 64-bit installer stub.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_DISPLAY_NAME Velmora)
set(CPACK_NSIS_PACKAGE_NAME Velmora)
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/resources/windows/velmora.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/resources/windows/velmora.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME talvik.exe)

# The installer's own script, NSIS.template.in (CPack looks for it on its
# module path before its own), and the steps it includes from the same
# folder; each says why.
set(CPACK_VELMORA_NSIS_DIR ${CMAKE_SOURCE_DIR}/packaging/windows)
set(CPACK_MODULE_PATH ${CPACK_VELMORA_NSIS_DIR})
include(CPack)
