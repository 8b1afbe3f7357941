# Writes a C++ source that holds a text file's bytes, for data the core needs at run time
# without reading files (the model does no file I/O). Run with
#   cmake -DIN=file -DOUT=file.cpp -DNAME=FunctionName -P EmbedText.cmake
# The source defines `QByteArray NAME()` returning the bytes.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# 16 bytes a line keeps the generated file readable in a debugger.
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUT}.tmp" "// Generated from ${IN} by EmbedText.cmake; edit the table, not this file.
#include <QByteArray>

QByteArray ${NAME}();

namespace {
const unsigned char kBytes[${size} + 1] = {
    ${bytes}0};
} // namespace

QByteArray ${NAME}() {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(kBytes), ${size});
}
")
# Only a changed table touches the source, so that an unchanged one rebuilds nothing.
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
