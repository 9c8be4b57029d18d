// The names by which a unit box can be chosen on the command line: its box
// name, the unit's symbol and name from the engine, and the aliases people
// actually type (plurals, US and UK spellings, common abbreviations).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "units.h"

namespace tolvu::cli {

struct UnitName {
    std::string_view text; // as shown by --list
    Box box;
};

// A name that is refused on purpose because it would be a guess between
// units, or a unit this program does not have.
struct RefusedName {
    std::string_view text;
    std::string_view why;
};

// Every accepted name, box by box in the order of the boxes and, within a
// box, in the order --list shows them.
std::span<const UnitName> unitNames();

// The accepted names of one box.
std::vector<std::string_view> namesOf(Box box);

std::span<const RefusedName> refusedNames();

// The key under which names are compared: ASCII letters folded to lower
// case, blanks, hyphens, underscores and full stops dropped, so "Metric-Ton",
// "metric ton" and "fl. oz." find their units. Other bytes stay as they are.
std::string nameKey(std::string_view name);

std::optional<Box> findUnit(std::string_view name);
const RefusedName* findRefused(std::string_view name);

} // namespace tolvu::cli
