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

} // namespace
