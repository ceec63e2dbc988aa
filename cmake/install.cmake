# Install rules for packagers: `cmake --install build --prefix /usr` lays out
#   lib/velmora/        talvik with its sample book and chime beside it
#   bin/talvik          a relative link to it; the program follows the link
#                       back to its folder through /proc/self/exe
#   bin/talvik-book     the book tool
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man1
# The program saves its settings beside itself, so an installation whose
# folder its users cannot write keeps no settings. tools/install makes a
# user's own installation from these same files.
include(GNUInstallDirs)

set(VELMORA_APP_ID example.velmora.Velmora)
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
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert is needed to render the icons (Debian package librsvg2-bin)")
endif()
set(VELMORA_RENDERED_ICON_SIZES 48 64 128 256)
set(rendered_icons)
foreach(size ${VELMORA_RENDERED_ICON_SIZES})
  set(png ${PACKAGING_OUT}/icon-${size}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/resources/icon.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/icon.svg
    COMMENT "Rendering the ${size} pixel icon")
  list(APPEND rendered_icons ${png})
endforeach()
add_custom_target(velmora_icons ALL DEPENDS ${rendered_icons})

configure_file(${PACKAGING_SRC}/velmora.metainfo.xml.in ${PACKAGING_OUT}/${VELMORA_APP_ID}.metainfo.xml @ONLY)
configure_file(${PACKAGING_SRC}/talvik.1.in ${PACKAGING_OUT}/talvik.1 @ONLY)
configure_file(${PACKAGING_SRC}/talvik-book.1.in ${PACKAGING_OUT}/talvik-book.1 @ONLY)

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
install(FILES ${PACKAGING_OUT}/talvik.1 ${PACKAGING_OUT}/talvik-book.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size 16 32)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icon-${size}.png
    DESTINATION ${HICOLOR}/${size}x${size}/apps RENAME ${VELMORA_APP_ID}.png)
endforeach()
foreach(size ${VELMORA_RENDERED_ICON_SIZES})
  install(FILES ${PACKAGING_OUT}/icon-${size}.png
    DESTINATION ${HICOLOR}/${size}x${size}/apps RENAME ${VELMORA_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/icon.svg DESTINATION ${HICOLOR}/scalable/apps RENAME ${VELMORA_APP_ID}.svg)
