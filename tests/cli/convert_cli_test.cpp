#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "convert_cli.h"
#include "json_checker.h"
#include "tolvu/version.h"
#include "unit_names.h"

namespace tolvu::cli {
namespace {

using Args = std::vector<std::string_view>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runWith(const Args& args, std::string input = {})
{
    std::istringstream in(std::move(input));
    std::ostringstream out;
    std::ostringstream err;
    const int status = run(args, in, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream s(text);
    for (std::string line; std::getline(s, line);)
        result.push_back(line);
    return result;
}

TEST(ConvertCli, ExitStatusAndMessage)
{
    struct Case {
        Args args;
        int status;
        std::string err; // part of it; empty: nothing may go to stderr
    };
    // A long text is quoted cut, before a whole UTF-8 character.
    std::string longText = "x";
    for (int i = 0; i < 50000; ++i)
        longText += "\u00E9";
    // clang-format off
    const Case cases[] = {
        {{"km", "5"}, kExitOk, ""}, {{"--help"}, kExitOk, ""}, {{"--list"}, kExitOk, ""},
        {{"--help", "nosuchunit"}, kExitOk, ""},
        {{}, kExitUsage, "missing SOURCE"}, {{"--json"}, kExitUsage, "missing SOURCE"}, {{"--"}, kExitUsage, "missing SOURCE"},
        {{"--jsn", "km", "5"}, kExitUsage, "unknown option \"--jsn\""}, {{"-40"}, kExitUsage, "unknown option \"-40\""},
        {{"furlong", "5"}, kExitUsage, "unknown unit \"furlong\"\ntry 'tolvu-convert --list'\n"},
        {{"ton", "5"}, kExitUsage, "\"ton\" is not accepted: a ton may be"},
        {{"km", "1", "1e303", "2"}, kExitNotConverted, "tolvu-convert: overflow converting \"1e303\" from kmBox at mmBox\n"},
        {{"celsius", "1e308"}, kExitNotConverted, "from celciusBox at fahrBox"},
        {{"sec", "1e999"}, kExitNotConverted, "at minBox"},
        {{"--strict", "km", "12", "abc"}, kExitNotConverted, "tolvu-convert: \"abc\" is not a number\n"},
        {{"--strict", "km", longText}, kExitNotConverted, "\"x" + longText.substr(1, 38) + "\"... (100001 bytes) is not"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Outcome o = runWith(c.args);
        SCOPED_TRACE(::testing::PrintToString(std::vector<std::string>(c.args.begin(), c.args.end())));
        EXPECT_EQ(o.status, c.status);
        if (c.err.empty())
            EXPECT_EQ(o.err, "");
        else
            EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
    }
    EXPECT_EQ(runWith({"-V"}).out, "tolvu-convert (" + std::string(version::kProductName) + ") " +
                                       std::string(version::kFullVersion) + "\n");
    EXPECT_EQ(runWith({"-h"}).out, runWith({"--help"}).out);
}

// Texts from the arguments or, line by line, from the input; as aligned
// captions or one JSON object per text. An overflowed text shows the writes
// before the stop, and the texts after it are still converted.
TEST(ConvertCli, PrintsWhatTheSistersShow)
{
    struct Case {
        Args args;
        std::string input;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {{"kmBox", "5"},
         "",
         kExitOk,
         "Millimeters:  5000000\nCentimeters:  500000\nMeters:       5000\nInches:       196850.5\n"
         "Feet:         16404.2\nYards:        5468.05\nMiles:        3.106855\n"},
        // Negative numbers after the source are texts; an empty text empties.
        {{"hour", "-36", ""},
         "",
         kExitOk,
         "Seconds:  -129600\nMinutes:  -2160\nDays:     -1.5\n\nSeconds:\nMinutes:\nDays:\n"},
        {{"kelvin", "1e308", "0"},
         "",
         kExitNotConverted,
         "Celsius:     1E+308\n\nCelsius:     -273.15\nFahrenheit:  -459.67\n"},
        // After the source, options are texts; before it, "--" ends them.
        {{"c", "--json"}, "", kExitOk, "Kelvin:      273.15\nFahrenheit:  32\n"},
        {{"--json", "--", "c", "-40"},
         "",
         kExitOk,
         R"({"source":"celciusBox","text":"-40","writes":[{"box":"kelvinBox","text":"233.15"},)"
         R"({"box":"fahrBox","text":"-40"}],"error":null})"
         "\n"},
        {{"--json", "celsius", "1e308"},
         "",
         kExitNotConverted,
         R"({"source":"celciusBox","text":"1e308","writes":[{"box":"kelvinBox","text":"1E+308"}],)"
         R"("error":"overflow","at":"fahrBox"})"
         "\n"},
        // CRLF and LF lines, an empty line, and a last line without a line end.
        {{"--json", "day"},
         "1e305\r\n\n-0.5 \r",
         kExitNotConverted,
         R"({"source":"dayBox","text":"1e305","writes":[],"error":"overflow","at":"secBox"})"
         "\n"
         R"({"source":"dayBox","text":"","writes":[{"box":"secBox","text":""},{"box":"minBox","text":""},)"
         R"({"box":"hourBox","text":""}],"error":null})"
         "\n"
         R"({"source":"dayBox","text":"-0.5 ","writes":[{"box":"secBox","text":"-43200"},)"
         R"({"box":"minBox","text":"-720"},{"box":"hourBox","text":"-12"}],"error":null})"
         "\n"},
        {{"km"}, "", kExitOk, ""},
        // --strict refuses what is not one number, and the empty text, but
        // not blanks around or inside a number.
        {{"--strict", "hour", "1,5", "", " 2 "},
         "",
         kExitNotConverted,
         "\n\nSeconds:  7200\nMinutes:  120\nDays:     0.0833333333333333\n"},
        {{"--strict", "--json", "c", "abc"},
         "",
         kExitNotConverted,
         R"({"source":"celciusBox","text":"abc","writes":[],"error":"not a number"})"
         "\n"},
    };
    for (const Case& c : cases) {
        const Outcome o = runWith(c.args, c.input);
        EXPECT_EQ(o.status, c.status) << c.out;
        EXPECT_EQ(o.out, c.out);
    }
}

// Whatever a line holds, each object is valid JSON.
TEST(ConvertCli, JsonStaysValidForAnyText)
{
    const std::string input = "say \"12\"\nback\\slash\n1\t000\n\x01\x02\x1b[31m\n5\xff\xfe\n\xe2\x82\n\u00B0C 7\n";
    const Outcome o = runWith({"--json", "mm"}, input);
    EXPECT_EQ(o.status, kExitOk);
    const std::vector<std::string> objects = lines(o.out);
    EXPECT_EQ(objects.size(), 7u);
    for (const std::string& obj : objects)
        EXPECT_TRUE(test::isValidJson(obj)) << obj;
    EXPECT_NE(o.out.find(R"("text":"say \"12\"")"), std::string::npos);
    EXPECT_NE(o.out.find("\"text\":\"5\uFFFD\uFFFD\""), std::string::npos);
}

TEST(ConvertCli, OutputThatCannotBeWrittenIsAFailure)
{
    for (const Args& args : {Args{"km", "5"}, Args{"--version"}}) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        out.setstate(std::ios::badbit);
        EXPECT_EQ(run(args, in, out, err), kExitReadWrite) << args.front();
        EXPECT_EQ(err.str(), "tolvu-convert: cannot write the output\n");
    }
}

// Every box has a line "  Caption  boxName  name, name..." under its
// group, and every name shown there leads back to the box.
TEST(ConvertCli, ListShowsEveryBoxWithNamesThatFindIt)
{
    const std::string list = runWith({"--list"}).out;
    for (const GroupInfo& group : allGroups())
        EXPECT_NE(list.find(std::string(group.name) + "\n"), std::string::npos) << group.name;
    for (const BoxInfo& info : allBoxes()) {
        std::string caption(info.caption);
        std::erase(caption, '&');
        const std::string name(info.name);
        std::string line;
        for (const std::string& l : lines(list))
            if (l.find(" " + name + " ") != std::string::npos) line = l;
        ASSERT_EQ(line.find("  " + caption), 0u) << line;
        std::istringstream names(line.substr(line.find(name) + name.size()));
        std::size_t count = 0;
        for (std::string n; std::getline(names >> std::ws, n, ',');) {
            EXPECT_EQ(findUnit(n), info.box) << n;
            ++count;
        }
        EXPECT_EQ(count + 1, namesOf(info.box).size()) << info.name;
    }
    for (const RefusedName& r : refusedNames())
        EXPECT_NE(list.find(r.text), std::string::npos) << r.text;
    const std::vector<std::string> names = lines(runWith({"--names"}).out);
    EXPECT_EQ(names.size(), unitNames().size());
    for (const std::string& n : names)
        EXPECT_TRUE(findUnit(n)) << n;
}

} // namespace
} // namespace tolvu::cli
