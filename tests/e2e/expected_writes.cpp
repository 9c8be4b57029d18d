// Prints what the engine writes into the sister boxes when a digit key is
// released in a box holding a given text, one "box<TAB>text" line per write
// in write order, then "overflow<TAB>box" if a result left the double range.
// The window test compares the real window against these lines, so the
// desktop program is held to exactly the digits the engine's own tests pin.
//
//   e2e_expected_writes kmBox 5
#include <cstdio>
#include <string_view>

#include "rule.h"
#include "units.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <box name> <text>\n", argv[0]);
        return 2;
    }
    const auto source = tolvu::boxByName(argv[1]);
    if (!source) {
        std::fprintf(stderr, "unknown box: %s\n", argv[1]);
        return 2;
    }
    const tolvu::Recalculation r = tolvu::convert(*source, argv[2]);
    for (const tolvu::Write& w : r.writes()) {
        const std::string_view name = tolvu::boxInfo(w.target).name;
        const std::string_view text = w.text.view();
        std::printf("%.*s\t%.*s\n", static_cast<int>(name.size()), name.data(), static_cast<int>(text.size()),
                    text.data());
    }
    if (const auto at = r.overflowAt()) {
        const std::string_view name = tolvu::boxInfo(*at).name;
        std::printf("overflow\t%.*s\n", static_cast<int>(name.size()), name.data());
    }
    return 0;
}
