# Turns a binary file into a C++ source that defines `extern const std::string_view <NAME>`.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -DNAMESPACE=... -P EmbedFile.cmake
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n#include <string_view>\nnamespace ${NAMESPACE} {\nnamespace {\nconstexpr char kBytes[] = {${bytes}};\n}\nextern const std::string_view ${NAME}(kBytes, ${byteCount});\n}\n")
