# SPDX-License-Identifier: MIT
# Install rules for packagers: `cmake --install build --prefix /usr` lays out
#   lib/velmora/        talvik with its sample book and chime beside it
#   bin/talvik          a relative link to it; the program follows the link
#                       back to its folder through /proc/self/exe
#   bin/talvik-book     the book tool
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man1
#   share/doc/velmora  copyright and changelog, as Debian lays them out
# The program keeps its settings beside itself when it can write there, and
# otherwise each user's in their own ~/.config/velmora/. tools/install makes a
# user's own installation from these same files.
include(GNUInstallDirs)

set(VELMORA_APP_ID example.velmora.Velmora)
set(VELMORA_MAINTAINER "Velmora developers <developers@velmora.example>")
set(VELMORA_HOMEPAGE "https://velmora.example/")
set(VELMORA_INSTALL_APPDIR lib/velmora CACHE STRING
  "Folder for talvik, its book and its chime, relative to the install prefix")
foreach(dir VELMORA_INSTALL_APPDIR CMAKE_INSTALL_BINDIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} must be relative to the install prefix")
  endif()
endforeach()

set(PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(PACKAGING_SRC ${CMAKE_SOURCE_DIR}/packaging)

# The larger icons, rendered from the drawing; 16 and 32 pixels use the
# hand-tuned images the windows use.
set(VELMORA_RENDERED_ICON_SIZES 48 64 128 256)
set(rendered_icons)
foreach(size ${VELMORA_RENDERED_ICON_SIZES})
  render_svg(png ${CMAKE_SOURCE_DIR}/resources/icon.svg ${size} hicolor-${size}.png)
  list(APPEND rendered_icons ${png})
endforeach()
add_custom_target(velmora_icons ALL DEPENDS ${rendered_icons})

configure_file(${PACKAGING_SRC}/velmora.metainfo.xml.in ${PACKAGING_OUT}/${VELMORA_APP_ID}.metainfo.xml @ONLY)
configure_file(${PACKAGING_SRC}/talvik.1.in ${PACKAGING_OUT}/talvik.1 @ONLY)
configure_file(${PACKAGING_SRC}/talvik-book.1.in ${PACKAGING_OUT}/talvik-book.1 @ONLY)

# The release date as a Debian changelog writes it, "Mon, 07 Dec 2026
# 00:00:00 +0000"; the day of the week by Sakamoto's method.
function(velmora_changelog_date iso_date out)
  string(REGEX MATCH "^([0-9]+)-0*([0-9]+)-0*([0-9]+)$" matched "${iso_date}")
  if(NOT matched)
    message(FATAL_ERROR "VELMORA_RELEASE_DATE must be YYYY-MM-DD, not ${iso_date}")
  endif()
  set(year ${CMAKE_MATCH_1})
  set(month ${CMAKE_MATCH_2})
  set(day ${CMAKE_MATCH_3})
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${year} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday_name)
  list(GET months ${index} month_name)
  string(REGEX MATCH "[0-9][0-9]$" day2 "0${day}")
  set(${out} "${weekday_name}, ${day2} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

velmora_changelog_date(${VELMORA_RELEASE_DATE} VELMORA_CHANGELOG_DATE)

# Debian's copyright file carries the licence from LICENSE, each line indented
# by one space and each empty line written as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE VELMORA_LICENCE_TEXT)
string(STRIP "${VELMORA_LICENCE_TEXT}" VELMORA_LICENCE_TEXT)
string(REPLACE "\n\n" "\n.\n" VELMORA_LICENCE_TEXT "${VELMORA_LICENCE_TEXT}")
string(REPLACE "\n" "\n " VELMORA_LICENCE_TEXT " ${VELMORA_LICENCE_TEXT}")
configure_file(${PACKAGING_SRC}/copyright.in ${PACKAGING_OUT}/copyright @ONLY)
configure_file(${PACKAGING_SRC}/changelog.in ${PACKAGING_OUT}/changelog @ONLY)

# Manual pages and the changelog are compressed as Debian's tools do it: best
# compression, no name or time stamp, so that the same sources give the same
# files.
find_program(GZIP gzip REQUIRED)
set(compressed_docs)
foreach(file talvik.1 talvik-book.1 changelog)
  add_custom_command(
    OUTPUT ${PACKAGING_OUT}/${file}.gz
    COMMAND ${GZIP} -9nc ${PACKAGING_OUT}/${file} > ${PACKAGING_OUT}/${file}.gz
    DEPENDS ${PACKAGING_OUT}/${file}
    COMMENT "Compressing ${file}")
  list(APPEND compressed_docs ${PACKAGING_OUT}/${file}.gz)
endforeach()
add_custom_target(velmora_docs ALL DEPENDS ${compressed_docs})
install(FILES ${PACKAGING_OUT}/copyright ${PACKAGING_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(TARGETS talvik DESTINATION ${VELMORA_INSTALL_APPDIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/maravelle.pdb ${CMAKE_BINARY_DIR}/bin/orv.wav
  DESTINATION ${VELMORA_INSTALL_APPDIR})
install(TARGETS talvik-book DESTINATION ${CMAKE_INSTALL_BINDIR})

file(RELATIVE_PATH link_target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VELMORA_INSTALL_APPDIR}/talvik)
install(CODE "
  set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/talvik\")
  message(STATUS \"Installing: \${link} -> ${link_target}\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK \"${link_target}\" \"\${link}\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/talvik\")
")

install(FILES ${PACKAGING_SRC}/velmora.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${VELMORA_APP_ID}.desktop)
install(FILES ${PACKAGING_OUT}/${VELMORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PACKAGING_OUT}/talvik.1.gz ${PACKAGING_OUT}/talvik-book.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size 16 32)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icon-${size}.png
    DESTINATION ${HICOLOR}/${size}x${size}/apps RENAME ${VELMORA_APP_ID}.png)
endforeach()
foreach(size ${VELMORA_RENDERED_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/rendered/hicolor-${size}.png
    DESTINATION ${HICOLOR}/${size}x${size}/apps RENAME ${VELMORA_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/icon.svg DESTINATION ${HICOLOR}/scalable/apps RENAME ${VELMORA_APP_ID}.svg)
