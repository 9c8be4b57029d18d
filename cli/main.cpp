#include <unistd.h>

#include <iostream>
#include <istream>
#include <ostream>
#include <string_view>
#include <vector>

#include "convert_cli.h"
#include "fd_buffer.h"

int main(int argc, char** argv)
{
    // Standard input and output straight over their descriptors: a failed
    // read or write keeps its reason for the message, and a file of values
    // converts at the speed of the engine rather than of the system calls.
    tolvu::cli::FdBuffer inBuffer(STDIN_FILENO);
    tolvu::cli::FdBuffer outBuffer(STDOUT_FILENO);
    std::istream in(&inBuffer);
    std::ostream out(&outBuffer);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return tolvu::cli::run(args, in, out, std::cerr);
}
