#include "units.h"

namespace tolvu {
namespace {

constexpr Step times(double k)
{
    return {Step::Op::Mul, k};
}
constexpr Step over(double k)
{
    return {Step::Op::Div, k};
}
constexpr Step plus(double k)
{
    return {Step::Op::Add, k};
}
constexpr Step minus(double k)
{
    return {Step::Op::Sub, k};
}

constexpr Formula chain(Step a)
{
    return {{a, Step{}, Step{}}, 1};
}
constexpr Formula chain(Step a, Step b)
{
    return {{a, b, Step{}}, 2};
}
constexpr Formula chain(Step a, Step b, Step c)
{
    return {{a, b, c}, 3};
}

constexpr Formula mul(double k)
{
    return chain(times(k));
}
constexpr Formula div(double k)
{
    return chain(over(k));
}
constexpr Formula add(double k)
{
    return chain(plus(k));
}
constexpr Formula sub(double k)
{
    return chain(minus(k));
}
constexpr Formula self{}; // the diagonal: a box is never its own target

// The quotients are folded by the compiler into the same doubles a division
// at run time would give.
constexpr double kNineFifths = 9.0 / 5.0;
constexpr double kFiveNinths = 5.0 / 9.0;

using Row8 = std::array<Formula, 8>;

// clang-format off
constexpr std::array<Row8, 8> kLength = {{
    /* mmBox   */ {self, div(10.0), div(1000.0), div(1000000.0), mul(0.0393701), mul(0.00328084), mul(0.00109361), mul(6.21371e-07)},
    /* cmBox   */ {mul(10.0), self, div(100.0), div(100000.0), mul(0.393701), mul(0.0328084), mul(0.0109361), mul(6.21371e-06)},
    /* mBox    */ {mul(1000.0), mul(100.0), self, div(1000.0), mul(39.3701), mul(3.28084), mul(1.09361), mul(0.000621371)},
    /* kmBox   */ {mul(1000000.0), mul(100000.0), mul(1000.0), self, mul(39370.1), mul(3280.84), mul(1093.61), mul(0.621371)},
    /* inchBox */ {mul(25.4), mul(2.54), mul(0.0254), mul(2.54e-05), self, mul(0.0833333), mul(0.0277778), mul(1.57828e-05)},
    /* feetBox */ {mul(304.8), mul(30.48), mul(0.3048), mul(0.0003048), mul(12.0), self, mul(0.333333), mul(0.000189394)},
    /* yardBox */ {mul(914.4), mul(91.44), mul(0.9144), mul(0.0009144), mul(36.0), mul(3.0), self, mul(0.000568182)},
    /* mileBox */ {mul(1609340.0), mul(160934.0), mul(1609.34), mul(1.60934), mul(63360.0), mul(5280.0), mul(1760.0), self},
}};

constexpr std::array<Row8, 8> kWeight = {{
    /* mgBox  */ {self, mul(0.001), mul(1e-06), mul(1e-09), mul(3.5274e-05), mul(2.20462e-06), mul(1.10231e-09), mul(9.84207e-10)},
    /* gBox   */ {mul(1000.0), self, mul(0.001), mul(1e-06), mul(0.035274), mul(0.00220462), mul(1.10231e-06), mul(9.84207e-07)},
    /* kgBox  */ {mul(1000000.0), mul(1000.0), self, mul(0.001), mul(35.274), mul(2.20462), mul(0.00110231), mul(0.000984207)},
    /* mtBox  */ {mul(1000000000.0), mul(1000000.0), mul(1000.0), self, mul(35274.0), mul(2204.62), mul(1.10231), mul(0.984206)},
    /* ozBox  */ {mul(28349.5), mul(28.3495), mul(0.0283495), mul(2.83495e-05), self, mul(0.0625), mul(3.125e-05), mul(2.79018e-05)},
    /* lbsBox */ {mul(453592.0), mul(453.592), mul(0.453592), mul(0.000453592), mul(16.0), self, mul(0.0005), mul(0.000446429)},
    /* stBox  */ {mul(907185000.0), mul(907185.0), mul(907.185), mul(0.907185), mul(32000.0), mul(2000.0), self, mul(0.892857)},
    /* ltBox  */ {mul(1016050000.0), mul(1016050.0), mul(1016.05), mul(1.01605), mul(35840.0), mul(2240.0), mul(1.12), self},
}};

constexpr std::array<Row8, 8> kVolume = {{
    /* mlBox     */ {self, mul(0.1), mul(0.01), mul(0.001), mul(0.033814), mul(0.00211338), mul(0.00105669), mul(0.000264172)},
    /* clBox     */ {mul(10.0), self, mul(0.1), mul(0.01), mul(0.33814), mul(0.0211338), mul(0.0105669), mul(0.00264172)},
    /* dlBox     */ {mul(100.0), mul(10.0), self, mul(0.1), mul(3.3814), mul(0.211338), mul(0.105669), mul(0.0264172)},
    /* lBox      */ {mul(1000.0), mul(100.0), mul(10.0), self, mul(33.814), mul(2.11338), mul(1.05669), mul(0.264172)},
    /* flozBox   */ {mul(29.5735), mul(2.95735), mul(0.295735), mul(0.0295735), self, mul(0.0625), mul(0.03125), mul(0.0078125)},
    /* pintBox   */ {mul(473.177), mul(47.3176), mul(4.73176), mul(0.473176), mul(16.0), self, mul(0.5), mul(0.125)},
    /* quartBox  */ {mul(946.353), mul(94.6353), mul(9.46353), mul(0.946353), mul(32.0), mul(2.0), self, mul(0.25)},
    /* gallonBox */ {mul(3785.41), mul(378.541), mul(37.8541), mul(3.78541), mul(128.0), mul(8.0), mul(4.0), self},
}};

// Each temperature formula keeps its own step order; the second target of
// a row repeats the work of the first rather than reusing its result.
constexpr std::array<std::array<Formula, 3>, 3> kTemperature = {{
    /* celciusBox */ {self, add(273.15), chain(times(kNineFifths), plus(32.0))},
    /* kelvinBox  */ {sub(273.15), self, chain(minus(273.15), times(kNineFifths), plus(32.0))},
    /* fahrBox    */ {chain(minus(32.0), times(kFiveNinths)), chain(minus(32.0), times(kFiveNinths), plus(273.15)), self},
}};

constexpr std::array<std::array<Formula, 4>, 4> kTime = {{
    /* secBox  */ {self, div(60.0), div(3600.0), div(86400.0)},
    /* minBox  */ {mul(60.0), self, div(60.0), div(1440.0)},
    /* hourBox */ {mul(3600.0), mul(60.0), self, div(24.0)},
    /* dayBox  */ {mul(86400.0), mul(1440.0), mul(24.0), self},
}};

constexpr std::array<BoxInfo, kBoxCount> kBoxes = {{
    {Box::mmBox,      "mmBox",      Group::Length,      "Millimeters:",  "millimetre",        "mm"},
    {Box::cmBox,      "cmBox",      Group::Length,      "Centimeters:",  "centimetre",        "cm"},
    {Box::mBox,       "mBox",       Group::Length,      "Me&ters:",      "metre",             "m"},
    {Box::kmBox,      "kmBox",      Group::Length,      "Kilometers:",   "kilometre",         "km"},
    {Box::inchBox,    "inchBox",    Group::Length,      "Inc&hes:",      "inch",              "in"},
    {Box::feetBox,    "feetBox",    Group::Length,      "F&eet:",        "foot",              "ft"},
    {Box::yardBox,    "yardBox",    Group::Length,      "&Yards:",       "yard",              "yd"},
    {Box::mileBox,    "mileBox",    Group::Length,      "M&iles:",       "mile",              "mi"},
    {Box::mgBox,      "mgBox",      Group::Weight,      "&Milligrams:",  "milligram",         "mg"},
    {Box::gBox,       "gBox",       Group::Weight,      "&Grams:",       "gram",              "g"},
    {Box::kgBox,      "kgBox",      Group::Weight,      "&Kilograms:",   "kilogram",          "kg"},
    {Box::mtBox,      "mtBox",      Group::Weight,      "Metric Tons:",  "metric ton",        "t"},
    {Box::ozBox,      "ozBox",      Group::Weight,      "&Oz:",          "ounce",             "oz"},
    {Box::lbsBox,     "lbsBox",     Group::Weight,      "L&bs:",         "pound",             "lb"},
    {Box::stBox,      "stBox",      Group::Weight,      "&Short Tons:",  "short ton",         "ston"},
    {Box::ltBox,      "ltBox",      Group::Weight,      "Long Tons:",    "long ton",          "lton"},
    {Box::mlBox,      "mlBox",      Group::Volume,      "Milliliters:",  "millilitre",        "ml"},
    {Box::clBox,      "clBox",      Group::Volume,      "Centiliters:",  "centilitre",        "cl"},
    {Box::dlBox,      "dlBox",      Group::Volume,      "Deciliters:",   "decilitre",         "dl"},
    {Box::lBox,       "lBox",       Group::Volume,      "&Liters:",      "litre",             "l"},
    {Box::flozBox,    "flozBox",    Group::Volume,      "Fluid O&z:",    "US fluid ounce",    "floz"},
    {Box::pintBox,    "pintBox",    Group::Volume,      "&Pints:",       "US liquid pint",    "pt"},
    {Box::quartBox,   "quartBox",   Group::Volume,      "&Quarts:",      "US liquid quart",   "qt"},
    {Box::gallonBox,  "gallonBox",  Group::Volume,      "Gallo&ns:",     "US gallon",         "gal"},
    {Box::celciusBox, "celciusBox", Group::Temperature, "&Celsius:",     "degree Celsius",    "\u00B0C"},
    {Box::kelvinBox,  "kelvinBox",  Group::Temperature, "Kel&vin:",      "kelvin",            "K"},
    {Box::fahrBox,    "fahrBox",    Group::Temperature, "&Fahrenheit:",  "degree Fahrenheit", "\u00B0F"},
    {Box::secBox,     "secBox",     Group::Time,        "Secon&ds:",     "second",            "s"},
    {Box::minBox,     "minBox",     Group::Time,        "Min&utes:",     "minute",            "min"},
    {Box::hourBox,    "hourBox",    Group::Time,        "Hour&s:",       "hour",              "h"},
    {Box::dayBox,     "dayBox",     Group::Time,        "D&ays:",        "day",               "d"},
}};
// clang-format on

template <std::size_t N> constexpr std::array<Box, N> membersFrom(Box first)
{
    std::array<Box, N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = static_cast<Box>(static_cast<std::size_t>(first) + i);
    }
    return out;
}

constexpr auto kLengthMembers = membersFrom<8>(Box::mmBox);
constexpr auto kWeightMembers = membersFrom<8>(Box::mgBox);
constexpr auto kVolumeMembers = membersFrom<8>(Box::mlBox);
constexpr auto kTemperatureMembers = membersFrom<3>(Box::celciusBox);
constexpr auto kTimeMembers = membersFrom<4>(Box::secBox);

constexpr std::array<GroupInfo, kGroupCount> kGroups = {{
    {Group::Length, "Length", kLengthMembers},
    {Group::Weight, "Weight", kWeightMembers},
    {Group::Volume, "Volume", kVolumeMembers},
    {Group::Temperature, "Temperature", kTemperatureMembers},
    {Group::Time, "Time", kTimeMembers},
}};

// The tables rely on the enumeration listing each group's boxes together and
// in write order; catch an edit that breaks either.
constexpr bool boxesConsistent()
{
    for (std::size_t i = 0; i < kBoxCount; ++i) {
        if (static_cast<std::size_t>(kBoxes[i].box) != i) return false;
    }
    std::size_t next = 0;
    for (const GroupInfo& g : kGroups) {
        for (Box b : g.members) {
            if (static_cast<std::size_t>(b) != next++ || kBoxes[static_cast<std::size_t>(b)].group != g.group)
                return false;
        }
    }
    return next == kBoxCount;
}
static_assert(boxesConsistent());

std::size_t index(Box b)
{
    return static_cast<std::size_t>(b);
}

std::size_t positionInGroup(Box b)
{
    const GroupInfo& g = kGroups[static_cast<std::size_t>(kBoxes[index(b)].group)];
    return index(b) - index(g.members.front());
}

} // namespace

const BoxInfo& boxInfo(Box box) noexcept
{
    return kBoxes[index(box)];
}

const GroupInfo& groupInfo(Group group) noexcept
{
    return kGroups[static_cast<std::size_t>(group)];
}

std::span<const BoxInfo, kBoxCount> allBoxes() noexcept
{
    return kBoxes;
}

std::span<const GroupInfo, kGroupCount> allGroups() noexcept
{
    return kGroups;
}

const Formula* formula(Box from, Box to) noexcept
{
    const Group g = kBoxes[index(from)].group;
    if (from == to || kBoxes[index(to)].group != g) return nullptr;
    const std::size_t r = positionInGroup(from);
    const std::size_t c = positionInGroup(to);
    switch (g) {
    case Group::Length: return &kLength[r][c];
    case Group::Weight: return &kWeight[r][c];
    case Group::Volume: return &kVolume[r][c];
    case Group::Temperature: return &kTemperature[r][c];
    case Group::Time: return &kTime[r][c];
    }
    return nullptr;
}

} // namespace tolvu
