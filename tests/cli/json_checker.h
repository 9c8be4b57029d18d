// A small strict JSON reader for the tests, so that the output is checked
// against the grammar rather than against the writer's own idea of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvu::cli::test {

// True when `text` is exactly one JSON value (RFC 8259), blanks around it
// allowed, with strings of well-formed UTF-8 only. Numbers, true and false
// are refused: the converter never writes them, so seeing one is a fault.
bool isValidJson(std::string_view text);

// The bytes a JSON string literal (quotes included) stands for, encoded as
// UTF-8; nothing when it is not a valid literal.
std::optional<std::string> decodeJsonString(std::string_view literal);

} // namespace tolvu::cli::test
