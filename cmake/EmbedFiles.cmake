# Builds a C++ source that holds files as byte arrays, for resources that live
# inside the engine library.
#   vlm_embed_files(TARGET target ARRAY name HEADER header OUTPUT file FILES f1 f2 ...)
function(vlm_embed_files)
  cmake_parse_arguments(E "" "TARGET;ARRAY;HEADER;OUTPUT" "FILES" ${ARGN})
  add_custom_command(
    OUTPUT ${E_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${E_OUTPUT} -DARRAY=${E_ARRAY} -DHEADER=${E_HEADER}
            "-DFILES=${E_FILES}" -P ${CMAKE_SOURCE_DIR}/cmake/embed_files_script.cmake
    DEPENDS ${E_FILES} ${CMAKE_SOURCE_DIR}/cmake/embed_files_script.cmake
    COMMENT "Embedding ${E_ARRAY}"
    VERBATIM)
  target_sources(${E_TARGET} PRIVATE ${E_OUTPUT})
endfunction()
