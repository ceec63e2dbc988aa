# SPDX-License-Identifier: MIT
# Renders a drawing to a PNG of the given size at build time, for the images
# the program carries at twice their size for screens scaled by two.
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert is needed to render the icons (Debian package librsvg2-bin)")
endif()

# render_svg(OUT_VAR SVG SIZE NAME): OUT_VAR is the PNG's path in the build.
function(render_svg out_var svg size name)
  set(png ${CMAKE_BINARY_DIR}/rendered/${name})
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/rendered
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg}
    DEPENDS ${svg}
    COMMENT "Rendering ${name}"
    VERBATIM)
  set(${out_var} ${png} PARENT_SCOPE)
endfunction()
