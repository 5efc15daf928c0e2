# embed_text(<target> <file> <symbol>): compiles <file> into <target> as
# `extern const char* const <symbol>;`, so data files ship inside the binary.
function(embed_text target file symbol)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DSYMBOL=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/EmbedTextRun.cmake"
    DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/EmbedTextRun.cmake"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
