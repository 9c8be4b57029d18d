// Tables of expected values as tab-separated text: a row a line, a field
// between tabs, "#" starting a comment line; \t, \n and \r in a field stand
// for a tab, a line feed and a carriage return. A table is named by its
// path under tests/.
#pragma once

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace tolvu::test {

using Row = std::vector<std::string>;

inline std::vector<Row> readTable(const std::string& name)
{
    std::ifstream in(TOLVU_TEST_DATA "/" + name);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const std::size_t escape = line[i] == '\\' ? std::string_view("tnr").find(line[i + 1]) : std::string::npos;
            if (line[i] == '\t')
                rows.back().emplace_back();
            else
                rows.back().back() += escape == std::string::npos ? line[i] : "\t\n\r"[escape];
            i += escape != std::string::npos;
        }
    }
    return rows;
}

} // namespace tolvu::test
