// The command line in process: what it prints for given arguments and input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "convert_cli.h"
#include "json_text.h"
#include "tsv.h"
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
// one JSON object a line: the rows of converts.tsv, and those made here.
TEST(Cli, Converts)
{
    // Messages show 40 bytes of a text at most, cut before a whole character.
    const std::string x37(37, 'x'), fits = x37 + "xxx", wide = fits + "x", cut = x37 + "\U0001F600" + "1";
    const std::string sevens(300'000, '7'); // more than the output buffer holds at once
    // clang-format off
    struct Case { std::vector<std::string> args; std::string input; int status; std::string out, err; };
    std::vector<Case> cases = {
        {{"--json", "c", sevens}, "", 1, R"({"source":"celciusBox","text":")" + sevens + R"(","writes":[],"error":"overflow","at":"kelvinBox"})" "\n",
         "tolvu-convert: \"" + sevens.substr(0, 40) + "\"... (300000 bytes) is too large a number\n"},
        {{"--json", "c"}, "\"\\\x01\xff\r\n\n", 0,
         R"({"source":"celciusBox","text":"\"\\\u0001)" "\uFFFD" R"(","writes":[{"box":"kelvinBox","text":"273.15"},{"box":"fahrBox","text":"32"}],"error":null})" "\n"
         R"({"source":"celciusBox","text":"","writes":[{"box":"kelvinBox","text":""},{"box":"fahrBox","text":""}],"error":null})" "\n", ""},
        {{"--strict", "c", fits, wide, cut}, "", 1, "\n\n", "\"" + fits + "\" is not a number\ntolvu-convert: \"" + fits +
         "\"... (41 bytes) is not a number\ntolvu-convert: \"" + x37 + "\"... (42 bytes) is not a number\n"},
    };
    // clang-format on
    for (const test::Row& r : test::readTable("cli/converts.tsv"))
        cases.push_back({{r.begin() + 4, r.end()}, r[3], std::stoi(r[0]), r[1], r[2]});
    for (const Case& c : cases) {
        const Outcome o = runWith({c.args.begin(), c.args.end()}, c.input);
        EXPECT_EQ(o.status, c.status) << c.out << c.err;
        EXPECT_EQ(o.out, c.out);
        EXPECT_TRUE(c.err.empty() ? o.err.empty() : o.err.find(c.err) != std::string::npos) << o.err;
    }
}

// The options that end the run by themselves, also after SOURCE, print
// what their row in informs.tsv says among the rest.
TEST(Cli, Informs)
{
    for (const test::Row& r : test::readTable("cli/informs.tsv"))
        EXPECT_NE(runWith({"nosuchunit", r[0]}).out.find(r[1]), std::string::npos) << r[0] << ' ' << r[1];
}

// Names match whatever their case, ignoring blanks, hyphens, underscores and
// full stops; the refused ones find no unit.
TEST(Cli, FindsUnits)
{
    for (const test::Row& r : test::readTable("cli/units.tsv")) {
        const std::optional<Box> box = findUnit(r[0]);
        EXPECT_EQ(box ? boxInfo(*box).name : "", r[1]) << r[0];
    }
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
