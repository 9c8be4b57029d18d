// Tables of expected values as tab-separated text: a row a line, "#" starts
// a comment line, and \t, \n and \r in a field stand for a tab, a line feed
// and a carriage return. A row ends at its last non-empty field.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tolvu::test {

using Row = std::vector<std::string>;

inline std::vector<Row> readTable(const std::string& path)
{
    std::ifstream in(path);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        rows.emplace_back();
        for (std::string field; std::getline(fields, field, '\t');) {
            for (const auto& [escape, c] : {std::pair{"\\t", '\t'}, {"\\n", '\n'}, {"\\r", '\r'}})
                for (std::size_t at; (at = field.find(escape)) != std::string::npos;)
                    field.replace(at, 2, 1, c);
            rows.back().push_back(field);
        }
    }
    return rows;
}

// The field, or the empty text for one past the row's end.
inline std::string field(const Row& row, std::size_t i)
{
    return i < row.size() ? row[i] : std::string();
}

} // namespace tolvu::test
