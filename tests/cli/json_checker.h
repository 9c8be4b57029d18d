// A small strict JSON reader for the tests, so that the output is checked
// against the grammar rather than against the writer's own idea of it.
#pragma once

#include <string_view>

namespace tolvu::cli::test {

// True when `text` is exactly one JSON value (RFC 8259), blanks around it
// allowed, with strings of well-formed UTF-8 only. Numbers, true, false and
// \u escapes of surrogates are refused: the converter never writes them, so
// seeing one is a fault.
bool isValidJson(std::string_view text);

} // namespace tolvu::cli::test
