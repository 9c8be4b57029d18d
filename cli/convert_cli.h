// The command-line converter: runs the recalculation rule on texts given as
// arguments or read line by line, and prints what the sister boxes would
// show, as aligned text or as one JSON object per text.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace tolvu::cli {

inline constexpr std::string_view kProgramName = "tolvu-convert";

inline constexpr int kExitOk = 0;
inline constexpr int kExitNotConverted = 1; // a text overflowed, or --strict refused it
inline constexpr int kExitUsage = 2;
inline constexpr int kExitReadWrite = 3; // the input could not be read (out of memory too), or the output written

// The whole program but for the process: `args` without the program name.
// Texts come from `args` or, when there are none, line by line from `in`.
// A failed read or write of `in` or `out` ends the run at once.
int run(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace tolvu::cli
