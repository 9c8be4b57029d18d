// Tables of expected values as tab-separated text: a row a line, a field
// between tabs, "#" starting a comment line; \t, \n and \r in a field stand
// for a tab, a line feed and a carriage return.
#pragma once

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace tolvu::test {

using Row = std::vector<std::string>;

inline std::vector<Row> readTable(const std::string& path)
{
    std::ifstream in(path);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            static constexpr char kEscapes[] = "tnr";
            const char* escape = line[i] == '\\' ? std::strchr(kEscapes, line[i + 1]) : nullptr;
            if (line[i] == '\t') {
                rows.back().emplace_back();
            } else if (escape && *escape) {
                rows.back().back() += "\t\n\r"[escape - kEscapes];
                ++i;
            } else {
                rows.back().back() += line[i];
            }
        }
    }
    return rows;
}

} // namespace tolvu::test
