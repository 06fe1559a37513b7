# Turns a file into a C++ source defining `const char NAME[]` and `const std::size_t NAME_SIZE`.
# Usage: cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=symbol -P EmbedFile.cmake
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
file(WRITE "${OUTPUT}"
  "#include <cstddef>\n"
  "extern const char ${NAME}[] = {${bytes} '\\0'};\n"
  "extern const std::size_t ${NAME}_SIZE = ${size};\n")
