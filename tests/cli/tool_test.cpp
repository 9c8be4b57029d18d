// What only the real process shows: a failed read or write stops it at once
// with its reason, even with endless input to come; an answer appears before
// more input is awaited; a gigantic line runs out of memory; a write cut
// short by a stop goes on where it was cut; bash completes its words.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

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
        {"ulimit -v 100000; head -c 10M /dev/zero | tr '\\0' '\\1' | \"$T\" --json c; echo $?",
         "tolvu-convert: out of memory converting a text of 10485760 bytes\n3\n"},
#endif
        // A pipe takes 64 KiB; a stop interrupts the write blocked on the rest.
        {"seq 20000 | \"$T\" s >f; { seq 20000 | \"$T\" s & echo $! >p; } | "
         "{ sleep 1; kill -STOP $(cat p); kill -CONT $(cat p); cmp - f && echo same; }", "same\n"},
        {"bash -c '. \"$C\"; c() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _tolvu_convert \"$T\"; "
         "echo \"${COMPREPLY[*]}\"; }; c x --s; c x --json metric; c x km \"\"'", "--strict\nmetric-ton metric-tons\n\n"},
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
