// The command-line converter: runs the recalculation rule on texts given as
// arguments or read line by line, and prints what the sister boxes would
// show, as aligned text or as one JSON object per text.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "rule.h"
#include "units.h"

namespace tolvu::cli {

inline constexpr std::string_view kProgramName = "tolvu-convert";

inline constexpr int kExitOk = 0;
inline constexpr int kExitOverflow = 1; // a text overflowed, or the output could not be written
inline constexpr int kExitUsage = 2;

// The caption of a box's label without its access-key marker: "Fluid Oz:".
std::string_view plainCaption(Box box);

// Appends the lines one converted text prints: each written box's caption
// and text, the texts aligned in one column for the whole group.
void appendTextBlock(std::string& out, Box source, const Recalculation& r);

// Appends one JSON object, without a line end, for `text` typed into `source`.
void appendJsonObject(std::string& out, Box source, std::string_view text, const Recalculation& r);

// The whole program but for the process: `args` without the program name.
// Texts come from `args` or, when there are none, line by line from `in`.
int run(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace tolvu::cli
