#include "unit_names.h"

#include <algorithm>
#include <array>

namespace tolvu::cli {
namespace {

// The aliases of each box besides the box name, the unit symbol and the unit
// name, which come from the engine. Two names whose keys are equal must
// never be listed for different boxes: the refusals below are where a short
// name would otherwise have to guess.
struct Aliases {
    Box box;
    std::array<std::string_view, 9> names;
};

// clang-format off
constexpr std::array<Aliases, kBoxCount> kAliases = {{
    {Box::mmBox,      {"millimetres", "millimeter", "millimeters"}},
    {Box::cmBox,      {"centimetres", "centimeter", "centimeters"}},
    {Box::mBox,       {"metres", "meter", "meters"}},
    {Box::kmBox,      {"kilometres", "kilometer", "kilometers"}},
    {Box::inchBox,    {"inches"}},
    {Box::feetBox,    {"feet"}},
    {Box::yardBox,    {"yards", "yds"}},
    {Box::mileBox,    {"miles"}},
    {Box::mgBox,      {"milligrams", "milligramme", "milligrammes"}},
    {Box::gBox,       {"grams", "gramme", "grammes"}},
    {Box::kgBox,      {"kilograms", "kilogramme", "kilogrammes", "kilo", "kilos"}},
    {Box::mtBox,      {"metric tons", "mt", "tonne", "tonnes"}},
    {Box::ozBox,      {"ounces"}},
    {Box::lbsBox,     {"pounds", "lbs"}},
    {Box::stBox,      {"short tons", "US ton", "US tons"}},
    {Box::ltBox,      {"long tons", "imperial ton", "imperial tons", "UK ton", "UK tons"}},
    {Box::mlBox,      {"millilitres", "milliliter", "milliliters", "cc"}},
    {Box::clBox,      {"centilitres", "centiliter", "centiliters"}},
    {Box::dlBox,      {"decilitres", "deciliter", "deciliters"}},
    {Box::lBox,       {"litres", "liter", "liters"}},
    {Box::flozBox,    {"US fluid ounces", "fluid ounce", "fluid ounces", "US fl oz"}},
    {Box::pintBox,    {"US liquid pints", "US pint", "US pints", "pint", "pints"}},
    {Box::quartBox,   {"US liquid quarts", "US quart", "US quarts", "quart", "quarts"}},
    {Box::gallonBox,  {"US gallons", "gallon", "gallons"}},
    {Box::celciusBox, {"degrees Celsius", "Celsius", "celcius", "celsiusBox", "centigrade", "degC", "C", "\u2103", "\u00BAC"}},
    {Box::kelvinBox,  {"kelvins"}},
    {Box::fahrBox,    {"degrees Fahrenheit", "Fahrenheit", "fahr", "degF", "F", "\u2109", "\u00BAF"}},
    {Box::secBox,     {"seconds", "sec", "secs"}},
    {Box::minBox,     {"minutes", "mins"}},
    {Box::hourBox,    {"hours", "hr", "hrs"}},
    {Box::dayBox,     {"days"}},
}};

constexpr std::string_view kWhichTon = "a ton may be a metric ton (t), a short ton (ston) or a long ton (lton)";
constexpr std::string_view kWhichDegrees = "say which degrees: degC or degF";
constexpr std::string_view kNotImperial = "the volume units are US liquid measures only";

constexpr std::array<RefusedName, 15> kRefused = {{
    {"ton",  kWhichTon},
    {"tons", kWhichTon},
    {"st",   "the stone, which has no box; short tons are ston"},
    {"lt",   "may mean litre (l) or long ton (lton)"},
    {"deg",     kWhichDegrees},
    {"degree",  kWhichDegrees},
    {"degrees", kWhichDegrees},
    {"UK gallon",            kNotImperial},
    {"imperial gallon",      kNotImperial},
    {"UK quart",             kNotImperial},
    {"imperial quart",       kNotImperial},
    {"UK pint",              kNotImperial},
    {"imperial pint",        kNotImperial},
    {"UK fluid ounce",       kNotImperial},
    {"imperial fluid ounce", kNotImperial},
}};
// clang-format on

constexpr std::size_t kMaxNamesPerBox = 3 + std::tuple_size_v<decltype(Aliases::names)>;

// Built once from constant data: box by box, the engine's three names first.
std::vector<UnitName> buildUnitNames()
{
    std::vector<UnitName> names;
    names.reserve(kBoxCount * kMaxNamesPerBox);
    for (const Aliases& a : kAliases) {
        const BoxInfo& info = boxInfo(a.box);
        for (std::string_view n : {info.name, info.symbol, info.unit})
            names.push_back({n, a.box});
        for (std::string_view n : a.names) {
            if (!n.empty()) names.push_back({n, a.box});
        }
    }
    return names;
}

bool ignoredInKey(char c)
{
    return c == ' ' || c == '\t' || c == '-' || c == '_' || c == '.';
}

} // namespace

std::span<const UnitName> unitNames()
{
    static const std::vector<UnitName> names = buildUnitNames();
    return names;
}

std::vector<std::string_view> namesOf(Box box)
{
    std::vector<std::string_view> result;
    for (const UnitName& n : unitNames()) {
        if (n.box == box) result.push_back(n.text);
    }
    return result;
}

std::span<const RefusedName> refusedNames()
{
    return kRefused;
}

std::string nameKey(std::string_view name)
{
    std::string key;
    key.reserve(name.size());
    for (char c : name) {
        if (ignoredInKey(c)) continue;
        key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return key;
}

std::optional<Box> findUnit(std::string_view name)
{
    const std::string key = nameKey(name);
    if (key.empty()) return std::nullopt;
    const auto names = unitNames();
    const auto it = std::find_if(names.begin(), names.end(), [&](const UnitName& n) { return nameKey(n.text) == key; });
    if (it == names.end()) return std::nullopt;
    return it->box;
}

const RefusedName* findRefused(std::string_view name)
{
    const std::string key = nameKey(name);
    const auto it =
        std::find_if(kRefused.begin(), kRefused.end(), [&](const RefusedName& r) { return nameKey(r.text) == key; });
    return it == kRefused.end() ? nullptr : &*it;
}

} // namespace tolvu::cli
