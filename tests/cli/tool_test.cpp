// The real program, run through the shell: what only a process shows, its
// exit status and its reading of standard input.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the program with `args` (already quoted for the shell) and
    // `input` on its standard input; returns the exit status and keeps the
    // standard output in `out`.
    int run(const std::string& args, const std::string& input = {})
    {
        std::ofstream(dir_ / "in", std::ios::binary) << input;
        const std::string command = std::string("'") + TOLVU_CONVERT_PATH + "' " + args + " <'" +
                                    (dir_ / "in").string() + "' >'" + (dir_ / "out").string() + "' 2>/dev/null";
        const int raw = std::system(command.c_str());
        std::ostringstream s;
        s << std::ifstream(dir_ / "out", std::ios::binary).rdbuf();
        out = s.str();
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    // Runs a shell script in the test's directory, $T naming the program and
    // $C its bash completion;
    // gives back what it printed, standard error included.
    std::string script(const std::string& text)
    {
        std::ofstream(dir_ / "script") << text;
        const std::string command = "cd '" + dir_.string() +
                                    "' && T='" TOLVU_CONVERT_PATH "' C='" TOLVU_COMPLETION_PATH "' sh script >out 2>&1";
        // The script reports through what it prints; its status is part of that.
        EXPECT_NE(std::system(command.c_str()), -1);
        std::ostringstream s;
        s << std::ifstream(dir_ / "out", std::ios::binary).rdbuf();
        return s.str();
    }

    const fs::path dir_ = fs::temp_directory_path() / ("tolvu-convert-test-" + std::to_string(::getpid()));
    std::string out;
};

TEST_F(ToolTest, ExitStatus)
{
    EXPECT_EQ(run("--version"), 0);
    EXPECT_EQ(out, "tolvu-convert (Velmora Convert) 2.14.0.2131\n");
    EXPECT_EQ(run("km 5"), 0);
    EXPECT_EQ(run("km 1e303 5"), 1);
    EXPECT_EQ(run("parsec 1"), 2);
}

// Many lines in one process: every line gets its object, none is lost at
// the buffer boundaries.
TEST_F(ToolTest, ConvertsAllOfALargeStandardInput)
{
    std::string input;
    constexpr int kLines = 20000;
    for (int i = 0; i < kLines; ++i)
        input += std::to_string(i) + "\r\n";
    EXPECT_EQ(run("--json sec", input), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), kLines);
    EXPECT_NE(out.find("{\"source\":\"secBox\",\"text\":\"19999\",\"writes\":[{\"box\":\"minBox\",\"text\":"
                       "\"333.316666666667\"}"),
              std::string::npos);
}

// A failed read or write ends the program at once with its reason, even
// with endless input to come; an answer is shown before more input is
// awaited. `timeout` turns a hang into a failure.
TEST_F(ToolTest, StopsAtAFailedReadOrWriteAndAnswersAtOnce)
{
    struct Case {
        const char* script;
        const char* printed;
    };
    const Case cases[] = {
        {"yes 1 2>/dev/null | timeout 5 \"$T\" km >/dev/full; echo $?",
         "tolvu-convert: cannot write the output: No space left on device\n3\n"},
        {"trap '' PIPE; yes 2>/dev/null | (timeout 5 \"$T\" km; echo $? >status) | head -1 >/dev/null; cat status",
         "tolvu-convert: cannot write the output: Broken pipe\n3\n"},
        {"\"$T\" km </; echo $?", "tolvu-convert: cannot read the standard input: Is a directory\n3\n"},
        {"mkfifo i o; timeout 5 \"$T\" km <i >o & exec 3>i 4<o; echo 1 >&3; read -r a <&4; echo \"$a\"; exec 3>&-; "
         "wait $!; echo $?",
         "Millimeters:  1000000\n0\n"},
#if !defined(__SANITIZE_ADDRESS__) && !defined(TOLVU_CONVERT_EMULATED) // both need far more address space
        {"ulimit -v 100000; { echo 5; yes | tr -d '\\n'; } 2>/dev/null | timeout 5 \"$T\" c; echo $?",
         "Kelvin:      278.15\nFahrenheit:  41\ntolvu-convert: out of memory reading a line of the standard "
         "input\n3\n"},
#endif
    };
    for (const Case& c : cases)
        EXPECT_EQ(script(c.script), c.printed) << c.script;
}

// Options before SOURCE, the program's own unit names for it, nothing after.
TEST_F(ToolTest, BashCompletes)
{
    EXPECT_EQ(script("bash -c '. \"$C\"; c() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _tolvu_convert \"$T\"; "
                     "echo \"${COMPREPLY[*]}\"; }; c x --s; c x --json metric; c x km \"\"'"),
              "--strict\nmetric-ton metric-tons\n\n");
}

} // namespace
