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
inline constexpr int kExitNotConverted = 1; // a text overflowed, or --strict refused it
inline constexpr int kExitUsage = 2;
inline constexpr int kExitReadWrite = 3; // the input could not be read (out of memory too), or the output written

// The caption of a box's label without its access-key marker: "Fluid Oz:".
std::string_view plainCaption(Box box);

// Appends the lines one converted text prints: each written box's caption
// and text, the texts aligned in one column for the whole group.
void appendTextBlock(std::string& out, Box source, const Recalculation& r);

// Appends one JSON object, without a line end, for `text` typed into `source`,
// or for `text` refused as not a number.
void appendJsonObject(std::string& out, Box source, std::string_view text, const Recalculation& r,
                      bool refused = false);

// The whole program but for the process: `args` without the program name.
// Texts come from `args` or, when there are none, line by line from `in`.
// A failed read or write of `in` or `out` ends the run at once.
int run(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace tolvu::cli
