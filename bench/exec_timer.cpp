// A command-line program as a whole process: the wall time from the fork to
// the end of the child, its CPU time and its peak resident set, over many
// runs, several commands taking turns so that the machine's load falls on
// each alike. Output goes to /dev/null.
//
//   exec_timer [--runs N] @NAME PROGRAM [ARG...] [@NAME PROGRAM [ARG...] ...]
//
// Prints, per command, one line per figure: NAME FIGURE MEDIAN MIN MAX P99 RUNS.P99 RUNS.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "process_stats.h"

namespace {

struct Command {
    std::string name;
    std::vector<char*> argv;
    std::vector<double> wallMs, cpuMs, rssKb;
};

[[noreturn]] void usage()
{
    std::fputs("usage: exec_timer [--runs N] @NAME PROGRAM [ARG...] [@NAME PROGRAM [ARG...]...]\n", stderr);
    std::exit(2);
}

bool runOnce(Command& c)
{
    const double start = tolvu::bench::nowMs();
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        execvp(c.argv[0], c.argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return false;
    const double wall = tolvu::bench::nowMs() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "exec_timer: %s failed (status %d)\n", c.name.c_str(), status);
        return false;
    }
    auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    c.wallMs.push_back(wall);
    c.cpuMs.push_back(ms(usage.ru_utime) + ms(usage.ru_stime));
    c.rssKb.push_back(static_cast<double>(usage.ru_maxrss));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 50;
    std::vector<Command> commands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (commands.empty() && arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg.size() > 1 && arg[0] == '@')
            commands.push_back({arg.substr(1), {}, {}, {}, {}});
        else if (!commands.empty())
            commands.back().argv.push_back(argv[i]);
        else
            usage();
    }
    if (commands.empty() || runs < 1) usage();
    for (Command& c : commands) {
        if (c.argv.empty()) usage();
        c.argv.push_back(nullptr);
    }

    for (int round = 0; round < runs; ++round)
        for (Command& c : commands)
            if (!runOnce(c)) return 1;

    for (const Command& c : commands) {
        tolvu::bench::printFigure(c.name, "wall_ms", c.wallMs);
        tolvu::bench::printFigure(c.name, "cpu_ms", c.cpuMs);
        tolvu::bench::printFigure(c.name, "peak_rss_kb", c.rssKb);
    }
    return 0;
}
