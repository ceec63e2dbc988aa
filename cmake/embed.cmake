# SPDX-License-Identifier: MIT
# Turns files into a C++ source of byte arrays, so that the program carries
# its pictures inside the executable. Each file becomes
# `extern const unsigned char k<Name>[]` and `k<Name>Size`, the name in
# CamelCase: icon-16.png gives kIcon16Png.
function(embed_files out_var)
  set(out ${CMAKE_BINARY_DIR}/embedded_resources.cpp)
  string(REPLACE ";" "|" files "${ARGN}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DFILES=${files} -P ${CMAKE_SOURCE_DIR}/cmake/embed_run.cmake
    DEPENDS ${ARGN} ${CMAKE_SOURCE_DIR}/cmake/embed_run.cmake
    COMMENT "Embedding pictures"
    VERBATIM)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
