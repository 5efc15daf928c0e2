file(READ "${IN}" content)
file(WRITE "${OUT}" "extern const char* const ${SYMBOL};\nconst char* const ${SYMBOL} = R\"KORVA_EMBED(${content})KORVA_EMBED\";\n")
