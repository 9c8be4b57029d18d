// The real program, run through the shell: what only a process shows, its
// exit status and its reading of standard input.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("tolvu-convert-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the program with `args` (already quoted for the shell) and
    // `input` on its standard input; returns the exit status.
    int run(const std::string& args, const std::string& input = {})
    {
        std::ofstream(dir_ / "in", std::ios::binary) << input;
        const std::string command = std::string("'") + TOLVU_CONVERT_PATH + "' " + args + " <'" +
                                    (dir_ / "in").string() + "' >'" + (dir_ / "out").string() + "' 2>'" +
                                    (dir_ / "err").string() + "'";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    std::string read(const char* name) const
    {
        std::ifstream f(dir_ / name, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }

    fs::path dir_;
};

TEST_F(ToolTest, ExitStatus)
{
    EXPECT_EQ(run("--version"), 0);
    EXPECT_EQ(read("out"), "tolvu-convert (Velmora Convert) 2.14.0.2131\n");
    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(read("out").find("Usage: tolvu-convert"), std::string::npos);
    EXPECT_EQ(run("km 5"), 0);
    EXPECT_EQ(read("err"), "");
    EXPECT_EQ(run("km 1e303 5"), 1);
    EXPECT_EQ(read("err"), "tolvu-convert: overflow converting \"1e303\" from kmBox at mmBox\n");
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("--nope km"), 2);
    EXPECT_EQ(run("parsec 1"), 2);
    EXPECT_NE(read("err").find("try 'tolvu-convert --list'"), std::string::npos);
}

TEST_F(ToolTest, ConvertsStandardInput)
{
    EXPECT_EQ(run("c", "-40\r\n\n100\n"), 0);
    EXPECT_EQ(read("out"), "Kelvin:      233.15\n"
                           "Fahrenheit:  -40\n"
                           "\n"
                           "Kelvin:\n"
                           "Fahrenheit:\n"
                           "\n"
                           "Kelvin:      373.15\n"
                           "Fahrenheit:  212\n");
}

// Many lines in one process: every line gets its object, none is lost at
// the buffer boundaries.
TEST_F(ToolTest, ConvertsALargeInputCompletely)
{
    std::string input;
    constexpr int kLines = 20000;
    for (int i = 0; i < kLines; ++i)
        input += std::to_string(i) + "\n";
    EXPECT_EQ(run("--json sec", input), 0);
    const std::string out = read("out");
    std::size_t count = 0;
    for (char c : out)
        count += c == '\n';
    EXPECT_EQ(count, static_cast<std::size_t>(kLines));
    EXPECT_NE(out.find("{\"source\":\"secBox\",\"text\":\"19999\",\"writes\":[{\"box\":\"minBox\",\"text\":"
                       "\"333.316666666667\"}"),
              std::string::npos);
}

} // namespace
