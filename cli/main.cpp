#include <iostream>
#include <string_view>
#include <vector>

#include "convert_cli.h"

int main(int argc, char** argv)
{
    // Unsynchronised streams are buffered; a file of values then converts
    // at the speed of the engine rather than of the system calls.
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return tolvu::cli::run(args, std::cin, std::cout, std::cerr);
}
