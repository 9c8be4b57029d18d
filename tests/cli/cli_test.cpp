// The command line in process: what it prints for given arguments and input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "convert_cli.h"
#include "json_text.h"
#include "unit_names.h"

namespace tolvu::cli {
namespace {

// clang-format off
struct Outcome { int status; std::string out, err; };
// clang-format on

Outcome runWith(std::vector<std::string_view> args, const std::string& input = {})
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = run(args, in, out, err);
    return {status, out.str(), err.str()};
}

// Texts from the arguments or the input's lines, shown as aligned captions or
// one JSON object a line; `err` is part of the complaint, "" for none.
TEST(Cli, Converts)
{
    // Messages show 40 bytes of a text at most, cut before a whole character.
    const std::string x37(37, 'x'), fits = x37 + "xxx", wide = fits + "x", cut = x37 + "\U0001F600" + "1";
    const std::string sevens(300'000, '7'); // more than the output buffer holds at once
    // clang-format off
    struct Row { std::vector<std::string_view> args; std::string input; int status; std::string out, err; };
    const Row rows[] = {
        {{"f", "-40", ""}, "", 0, "Celsius:  -40\nKelvin:   233.15\n\nCelsius:\nKelvin:\n", ""}, // the widest caption unwritten
        // An overflow stops its text, the next is still converted; options stand anywhere before "--",
        // and "-" before a digit or a point starts a number; messages name units as --list does.
        {{"kelvin", "1e308", "-.5"}, "", 1, "Celsius:     1E+308\n\nCelsius:     -273.65\nFahrenheit:  -460.57\n",
         "tolvu-convert: \"1e308\" K is too large in Fahrenheit\n"},
        {{"c", "-40", "--json", "1e308"}, "", 1,
         R"({"source":"celciusBox","text":"-40","writes":[{"box":"kelvinBox","text":"233.15"},{"box":"fahrBox","text":"-40"}],"error":null})" "\n"
         R"({"source":"celciusBox","text":"1e308","writes":[{"box":"kelvinBox","text":"1E+308"}],"error":"overflow","at":"fahrBox"})" "\n",
         "tolvu-convert: \"1e308\" \u00B0C is too large in Fahrenheit\n"},
        {{"km", "1e400"}, "", 1, "", "tolvu-convert: \"1e400\" is too large a number\n"},
        {{"--json", "c", sevens}, "", 1, R"({"source":"celciusBox","text":")" + sevens + R"(","writes":[],"error":"overflow","at":"kelvinBox"})" "\n",
         "tolvu-convert: \"" + sevens.substr(0, 40) + "\"... (300000 bytes) is too large a number\n"},
        {{"--strict", "--", "c", "--json"}, "", 1, "", "tolvu-convert: \"--json\" is not a number\n"},
        {{"km", "5", "-e5"}, "", 2, "", "tolvu-convert: unknown option \"-e5\"\n"},
        {{"--json", "c"}, "\"\\\x01\xff\r\n\n", 0,
         R"({"source":"celciusBox","text":"\"\\\u0001)" "\uFFFD" R"(","writes":[{"box":"kelvinBox","text":"273.15"},{"box":"fahrBox","text":"32"}],"error":null})" "\n"
         R"({"source":"celciusBox","text":"","writes":[{"box":"kelvinBox","text":""},{"box":"fahrBox","text":""}],"error":null})" "\n", ""},
        {{"c", "--strict", "1,5", "--json", " 1 000 "}, "", 1,
         R"({"source":"celciusBox","text":"1,5","writes":[],"error":"not a number"})" "\n"
         R"({"source":"celciusBox","text":" 1 000 ","writes":[{"box":"kelvinBox","text":"1273.15"},{"box":"fahrBox","text":"1832"}],"error":null})" "\n",
         "tolvu-convert: \"1,5\" is not a number\n"},
        {{"--strict", "c", fits, wide, cut}, "", 1, "\n\n", "\"" + fits + "\" is not a number\ntolvu-convert: \"" + fits +
         "\"... (41 bytes) is not a number\ntolvu-convert: \"" + x37 + "\"... (42 bytes) is not a number\n"},
        {{}, "", 2, "", "missing SOURCE"}, {{"--jsn", "km"}, "", 2, "", "unknown option \"--jsn\""},
        {{"-"}, "", 2, "", "tolvu-convert: unknown unit \"-\"\ntry 'tolvu-convert --list'\n"},
        {{"ton"}, "", 2, "", "\"ton\" is not accepted: a ton may be a metric ton (t), a short ton (ston) or a long ton (lton)\n"},
    };
    // clang-format on
    for (const Row& r : rows) {
        const Outcome o = runWith(r.args, r.input);
        EXPECT_EQ(o.status, r.status) << r.out << r.err;
        EXPECT_EQ(o.out, r.out);
        EXPECT_TRUE(r.err.empty() ? o.err.empty() : o.err.find(r.err) != std::string::npos) << o.err;
    }
}

// The options that end the run by themselves, also after SOURCE: part of what they print.
TEST(Cli, Informs)
{
    // clang-format off
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"-h", "Usage: tolvu-convert [--json] [--strict] SOURCE [TEXT...]\n"}, {"--help", "Options may stand anywhere before '--', after SOURCE too."},
        {"-V", "tolvu-convert (Velmora Convert) "}, {"--version", "tolvu-convert (Velmora Convert) "},
        {"--list", "\n\nTime\n  Seconds:      secBox      s, second, seconds, sec, secs\n"},
        {"--list", "liquid measures.\nRefused, because they would be a guess:\n  ton, tons: a ton may be a metric ton (t), a short ton (ston) or a long ton (lton)\n  st: "},
        {"--names", "mmBox\nmm\nmillimetre\n"},
    };
    // clang-format on
    for (const auto& [option, part] : rows)
        EXPECT_NE(runWith({"nosuchunit", option}).out.find(part), std::string::npos) << option;
}

// Names match whatever their case, ignoring blanks, hyphens, underscores and
// full stops; the refused ones find no unit.
TEST(Cli, FindsUnits)
{
    using enum Box;
    // clang-format off
    const std::pair<std::string_view, std::optional<Box>> rows[] = {
        {"kmBox", kmBox}, {"Kilometres", kmBox}, {"\u2103", celciusBox}, {"c", celciusBox}, {"degF", fahrBox},
        {"t", mtBox}, {"m", mBox}, {"min", minBox}, {"oz", ozBox}, {"FL. OZ.", flozBox}, {"Metric-Ton", mtBox},
        {"us_GAL\tLON", gallonBox}, {"kmx", {}}, {"ton", {}}, {"UK pint", {}},
    };
    // clang-format on
    for (const auto& [name, box] : rows)
        EXPECT_EQ(findUnit(name), box) << name;
    // Every name --names prints, and bash completes, finds its own box.
    for (const UnitName& n : unitNames())
        EXPECT_EQ(findUnit(n.text), n.box) << n.text;
}

// Valid UTF-8 stays as it is, up to the edges of each form; each maximal
// ill-formed part becomes one U+FFFD, also where the text ends.
TEST(Cli, QuotesJson)
{
    // clang-format off
    const std::string valid = "\u0080\u07FF\u0800\u0FFF\u1000\uD7FF\uE000\uFFFF\U00010000\U0003FFFF\U00040000\U000FFFFF\U00100000\U0010FFFF";
    const std::pair<std::string_view, std::string> rows[] = {
        {"say \"5\"\\\b\f\n\r\t\x01\x1f", R"("say \"5\"\\\b\f\n\r\t\u0001\u001f")"}, {valid, '"' + valid + '"'},
        {"\x80\xC1\x80\xF5\x80\x80\x80", "\"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\""},
        {std::string_view("\xF0\x9F\x98" "5\xE2\x82\x82", 6), "\"\uFFFD" "5\uFFFD\""}, // nothing read past the end
        {"\xE0\x9F\xED\xA0\xF0\x8F\xF4\x90", "\"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\""},
    };
    // clang-format on
    for (const auto& [text, literal] : rows) {
        std::string out;
        appendJsonString(out, text);
        EXPECT_EQ(out, literal) << ::testing::PrintToString(text);
    }
}

// What only the real process shows: a failed read or write stops it at once
// with its reason, even with endless input to come; an answer appears before
// more input is awaited; a gigantic line runs out of memory; a write cut
// short by a stop goes on where it was cut; bash completes its words.
TEST(Tool, RunsAsAProcess)
{
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {"yes 1 2>/dev/null | timeout 5 \"$T\" km >/dev/full; echo $?",
         "tolvu-convert: cannot write the output: No space left on device\n3\n"},
        {"\"$T\" --names >/dev/full; echo $?", "tolvu-convert: cannot write the output: No space left on device\n3\n"},
        {"trap '' PIPE; yes 2>/dev/null | (timeout 5 \"$T\" km; echo $? >status) | head -1 >/dev/null; cat status",
         "tolvu-convert: cannot write the output: Broken pipe\n3\n"},
        {"\"$T\" km </; echo $?", "tolvu-convert: cannot read the standard input: Is a directory\n3\n"},
        {"mkfifo i o; timeout 5 \"$T\" km <i >o & exec 3>i 4<o; echo 1 >&3; read -r a <&4; echo \"$a\"; exec 3>&-; "
         "wait $!; echo $?", "Millimeters:  1000000\n0\n"},
#if !defined(__SANITIZE_ADDRESS__) && !TOLVU_EMULATED // the sanitizers and the emulator need far more address space
        {"ulimit -v 100000; { echo 5; yes | tr -d '\\n'; } 2>/dev/null | timeout 5 \"$T\" c; echo $?",
         "Kelvin:      278.15\nFahrenheit:  41\ntolvu-convert: out of memory reading a line of the standard input\n3\n"},
        {"ulimit -v 120000; head -c 40M /dev/zero | tr '\\0' '1' | \"$T\" c; echo $?",
         "tolvu-convert: out of memory converting a text of 41943040 bytes\n3\n"},
#endif
        // A pipe takes 64 KiB; a stop interrupts the write blocked on the rest.
        {"seq 20000 | timeout 5 \"$T\" s >f; { seq 20000 | \"$T\" s & echo $! >p; } | "
         "{ sleep 1; kill -STOP $(cat p); kill -CONT $(cat p); cmp - f && echo same; }", "same\n"},
        {"bash -c '. \"$C\"; c() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _tolvu_convert \"$T\"; "
         "echo \"${COMPREPLY[*]}\"; }; c x --s; c x --json metric; c x km 5 --j; c x -- km \"\"'",
         "--strict\nmetric-ton metric-tons\n--json\n\n"},
    };
    // clang-format on
    for (const auto& [script, printed] : rows) {
        setenv("S", script, 1);
        // clang-format off
        FILE* p = popen("export T='" TOLVU_CONVERT "' C='" TOLVU_COMPLETION "'; d=$(mktemp -d) && cd \"$d\" && sh -c \"$S\" 2>&1; rm -rf \"$d\"", "r");
        // clang-format on
        char buffer[4096];
        const std::string out(buffer, std::fread(buffer, 1, sizeof buffer, p));
        pclose(p);
        EXPECT_EQ(out, printed) << script;
    }
}

} // namespace
} // namespace tolvu::cli
