# Writes a C++ source that returns the bytes of a file from a function, so that a packed skin
# archive is linked into the program.
# cmake -DINPUT=file -DOUTPUT=source.cpp -DFUNCTION=name -DHEADER=header.h -P EmbedFile.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated at build time from ${name}; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace {\nconst uint8_t kBytes[] = {\n${bytes}\n};\n}  // namespace\n\n"
  "std::span<const uint8_t> ${FUNCTION}() { return kBytes; }\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
