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

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runWith(std::vector<std::string_view> args, std::string input = {})
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

struct StatusCase {
    std::string_view name;
    std::vector<std::string_view> args;
    int status;
    std::string_view errContains; // empty: nothing may go to stderr
};

void PrintTo(const StatusCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExitStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ExitStatusTest, EndsWithTheStatusAndMessage)
{
    const Outcome o = runWith(GetParam().args);
    EXPECT_EQ(o.status, GetParam().status);
    if (GetParam().errContains.empty()) {
        EXPECT_EQ(o.err, "");
    } else {
        EXPECT_NE(o.err.find(GetParam().errContains), std::string::npos) << o.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ExitStatusTest,
    ::testing::Values(StatusCase{"converts", {"km", "5"}, kExitOk, ""}, StatusCase{"help", {"--help"}, kExitOk, ""},
                      StatusCase{"version", {"--version"}, kExitOk, ""}, StatusCase{"list", {"--list"}, kExitOk, ""},
                      StatusCase{"help_wins_over_source", {"--help", "nosuchunit"}, kExitOk, ""},
                      StatusCase{"missing_source", {}, kExitUsage, "missing SOURCE"},
                      StatusCase{"only_options", {"--json"}, kExitUsage, "missing SOURCE"},
                      StatusCase{"only_end_of_options", {"--"}, kExitUsage, "missing SOURCE"},
                      StatusCase{"unknown_option", {"--jsn", "km", "5"}, kExitUsage, "unknown option \"--jsn\""},
                      StatusCase{"negative_number_as_source", {"-40"}, kExitUsage, "unknown option \"-40\""},
                      StatusCase{"unknown_unit",
                                 {"furlong", "5"},
                                 kExitUsage,
                                 "unknown unit \"furlong\"\ntry 'tolvu-convert --list'\n"},
                      StatusCase{"refused_unit", {"ton", "5"}, kExitUsage, "\"ton\" is not accepted: a ton may be"},
                      StatusCase{"overflow",
                                 {"km", "1e303"},
                                 kExitOverflow,
                                 "tolvu-convert: overflow converting \"1e303\" from kmBox at mmBox\n"},
                      StatusCase{"overflow_among_others", {"km", "1", "1e303", "2"}, kExitOverflow, "at mmBox"},
                      StatusCase{"overflow_in_the_parse", {"sec", "1e999"}, kExitOverflow, "at minBox"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConvertCli, VersionLineComesFromTheVersionRecord)
{
    EXPECT_EQ(runWith({"--version"}).out, "tolvu-convert (" + std::string(version::kProductName) + ") " +
                                              std::string(version::kFullVersion) + "\n");
}

TEST(ConvertCli, NegativeNumbersAfterTheSourceAreTexts)
{
    const Outcome o = runWith({"c", "-40"});
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.out, "Kelvin:      233.15\n"
                     "Fahrenheit:  -40\n");
}

TEST(ConvertCli, AlignsCaptionsWithoutTheirMarkers)
{
    EXPECT_EQ(runWith({"kmBox", "5"}).out, "Millimeters:  5000000\n"
                                           "Centimeters:  500000\n"
                                           "Meters:       5000\n"
                                           "Inches:       196850.5\n"
                                           "Feet:         16404.2\n"
                                           "Yards:        5468.05\n"
                                           "Miles:        3.106855\n");
}

TEST(ConvertCli, SeparatesTextsByABlankLineAndShowsEmptiedBoxesEmpty)
{
    EXPECT_EQ(runWith({"hour", "36", ""}).out, "Seconds:  129600\n"
                                               "Minutes:  2160\n"
                                               "Days:     1.5\n"
                                               "\n"
                                               "Seconds:\n"
                                               "Minutes:\n"
                                               "Days:\n");
}

TEST(ConvertCli, OptionsAfterTheSourceAreTexts)
{
    // "--json" is read like any other text: as no number, so as 0.
    const Outcome o = runWith({"km", "--json", "--"});
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.out.find('{'), std::string::npos) << o.out;
    EXPECT_EQ(lines(o.out).front(), "Millimeters:  0");
    EXPECT_EQ(lines(o.out).size(), 7u * 2 + 1);

    // Before the source, "--" ends the options and the next word is SOURCE.
    EXPECT_EQ(runWith({"--json", "--", "c", "-40"}).out,
              "{\"source\":\"celciusBox\",\"text\":\"-40\",\"writes\":[{\"box\":\"kelvinBox\",\"text\":\"233.15\"},"
              "{\"box\":\"fahrBox\",\"text\":\"-40\"}],\"error\":null}\n");
}

TEST(ConvertCli, JsonOverflowListsTheWritesBeforeIt)
{
    const Outcome first = runWith({"--json", "km", "1e303"});
    EXPECT_EQ(first.status, kExitOverflow);
    EXPECT_EQ(first.out,
              "{\"source\":\"kmBox\",\"text\":\"1e303\",\"writes\":[],\"error\":\"overflow\",\"at\":\"mmBox\"}\n");

    const Outcome second = runWith({"--json", "celsius", "1e308"});
    EXPECT_EQ(second.status, kExitOverflow);
    EXPECT_EQ(second.out, "{\"source\":\"celciusBox\",\"text\":\"1e308\",\"writes\":[{\"box\":\"kelvinBox\",\"text\":"
                          "\"1E+308\"}],\"error\":\"overflow\",\"at\":\"fahrBox\"}\n");
    EXPECT_NE(second.err.find("from celciusBox at fahrBox"), std::string::npos);
}

TEST(ConvertCli, TextOverflowPrintsTheWritesBeforeIt)
{
    const Outcome o = runWith({"kelvin", "1e308", "0"});
    EXPECT_EQ(o.status, kExitOverflow);
    EXPECT_EQ(o.out, "Celsius:     1E+308\n"
                     "\n"
                     "Celsius:     -273.15\n"
                     "Fahrenheit:  -459.67\n");
}

// Whatever a line holds, each object is valid JSON and its text field gives
// back the line, with ill-formed UTF-8 replaced.
TEST(ConvertCli, JsonStaysValidForAnyText)
{
    const std::vector<std::pair<std::string_view, std::string_view>> texts = {
        {"say \"12\"", "say \"12\""},   {"back\\slash", "back\\slash"},
        {"1\t000", "1\t000"},           {"\x01\x02\x1b[31m", "\x01\x02\x1b[31m"},
        {"5\xff\xfe", "5\uFFFD\uFFFD"}, {"\xe2\x82", "\uFFFD"},
        {"\u00B0C 7", "\u00B0C 7"},
    };
    std::string input;
    for (const auto& t : texts)
        input.append(t.first).push_back('\n');
    const Outcome o = runWith({"--json", "mm"}, input);
    EXPECT_EQ(o.status, kExitOk);
    const std::vector<std::string> objects = lines(o.out);
    ASSERT_EQ(objects.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string& obj = objects[i];
        ASSERT_TRUE(test::isValidJson(obj)) << obj;
        const std::string prefix = R"({"source":"mmBox","text":)";
        ASSERT_EQ(obj.rfind(prefix, 0), 0u) << obj;
        const std::size_t end = obj.find(",\"writes\":[");
        ASSERT_NE(end, std::string::npos) << obj;
        EXPECT_EQ(test::decodeJsonString(std::string_view(obj).substr(prefix.size(), end - prefix.size())),
                  texts[i].second);
    }
}

TEST(ConvertCli, ReadsOneTextPerLineFromInput)
{
    // CRLF and LF lines, an empty line, and a last line without a line end.
    const Outcome o = runWith({"--json", "day"}, "1\r\n\n0.5\n-1 \r");
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.out,
              "{\"source\":\"dayBox\",\"text\":\"1\",\"writes\":[{\"box\":\"secBox\",\"text\":\"86400\"},"
              "{\"box\":\"minBox\",\"text\":\"1440\"},{\"box\":\"hourBox\",\"text\":\"24\"}],\"error\":null}\n"
              "{\"source\":\"dayBox\",\"text\":\"\",\"writes\":[{\"box\":\"secBox\",\"text\":\"\"},"
              "{\"box\":\"minBox\",\"text\":\"\"},{\"box\":\"hourBox\",\"text\":\"\"}],\"error\":null}\n"
              "{\"source\":\"dayBox\",\"text\":\"0.5\",\"writes\":[{\"box\":\"secBox\",\"text\":\"43200\"},"
              "{\"box\":\"minBox\",\"text\":\"720\"},{\"box\":\"hourBox\",\"text\":\"12\"}],\"error\":null}\n"
              "{\"source\":\"dayBox\",\"text\":\"-1 \",\"writes\":[{\"box\":\"secBox\",\"text\":\"-86400\"},"
              "{\"box\":\"minBox\",\"text\":\"-1440\"},{\"box\":\"hourBox\",\"text\":\"-24\"}],\"error\":null}\n");
}

TEST(ConvertCli, OutputThatCannotBeWrittenIsAFailure)
{
    for (const std::vector<std::string_view>& args :
         {std::vector<std::string_view>{"km", "5"}, std::vector<std::string_view>{"--version"}}) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        out.setstate(std::ios::badbit);
        EXPECT_EQ(run(args, in, out, err), kExitOverflow) << args.front();
        EXPECT_EQ(err.str(), "tolvu-convert: cannot write the output\n");
    }
}

TEST(ConvertCli, EmptyInputConvertsNothing)
{
    const Outcome o = runWith({"km"}, "");
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.out, "");
}

TEST(ConvertCli, KeepsGoingAfterAnOverflowedLine)
{
    const Outcome o = runWith({"--json", "gallon"}, "1e305\n1\n");
    EXPECT_EQ(o.status, kExitOverflow);
    const std::vector<std::string> objects = lines(o.out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_NE(objects[0].find("\"writes\":[],\"error\":\"overflow\",\"at\":\"mlBox\""), std::string::npos);
    EXPECT_NE(objects[1].find("{\"box\":\"mlBox\",\"text\":\"3785.41\"}"), std::string::npos);
    EXPECT_NE(objects[1].find("\"error\":null"), std::string::npos);
}

// Every name --list shows on a box's line must lead back to that box.
TEST(ConvertCli, ListShowsEveryBoxWithNamesThatFindIt)
{
    const std::string list = runWith({"--list"}).out;
    for (const GroupInfo& group : allGroups()) {
        EXPECT_NE(list.find(std::string(group.name) + "\n"), std::string::npos) << group.name;
    }
    for (const BoxInfo& info : allBoxes()) {
        const std::string_view caption = plainCaption(info.box);
        std::string line;
        for (const std::string& l : lines(list)) {
            if (l.find(" " + std::string(info.name) + " ") != std::string::npos) line = l;
        }
        ASSERT_FALSE(line.empty()) << info.name;
        EXPECT_EQ(line.find("  " + std::string(caption)), 0u) << line;
        std::string_view names = std::string_view(line).substr(line.find(info.name) + info.name.size());
        names.remove_prefix(names.find_first_not_of(' '));
        std::size_t count = 0;
        while (!names.empty()) {
            const std::size_t comma = names.find(", ");
            const std::string_view name = names.substr(0, comma);
            EXPECT_EQ(findUnit(name), info.box) << name;
            ++count;
            names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 2);
        }
        EXPECT_EQ(count + 1, namesOf(info.box).size()) << info.name;
    }
    for (const RefusedName& r : refusedNames())
        EXPECT_NE(list.find(r.text), std::string::npos) << r.text;
}

TEST(ConvertCli, PlainCaptionsDropOnlyTheMarker)
{
    EXPECT_EQ(plainCaption(Box::flozBox), "Fluid Oz:");
    EXPECT_EQ(plainCaption(Box::mtBox), "Metric Tons:");
    for (const BoxInfo& info : allBoxes()) {
        EXPECT_EQ(plainCaption(info.box).size() + 1 - (info.caption.find('&') == std::string_view::npos),
                  info.caption.size());
    }
}

} // namespace
} // namespace tolvu::cli
