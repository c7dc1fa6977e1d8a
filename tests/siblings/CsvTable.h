#pragma once
// Reads the reference CSV tables written by make_sun_reference.py.

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    size_t Column(const std::string& name) const {
        for (size_t i = 0; i < header.size(); ++i)
            if (header[i] == name) return i;
        return header.size();
    }
    double Number(size_t row, const std::string& name) const {
        return std::stod(rows[row].at(Column(name)));
    }
    const std::string& Text(size_t row, const std::string& name) const {
        return rows[row].at(Column(name));
    }
};

inline std::vector<std::string> SplitCsvLine(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, ',')) cells.push_back(cell);
    return cells;
}

// Empty table when the file is missing, so the test fails on the row count.
inline CsvTable ReadCsv(const std::string& path) {
    CsvTable table;
    std::ifstream in(path);
    std::string line;
    auto next = [&] {
        if (!std::getline(in, line)) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();  // Python writes CRLF
        return true;
    };
    if (next()) table.header = SplitCsvLine(line);
    while (next())
        if (!line.empty()) table.rows.push_back(SplitCsvLine(line));
    return table;
}

inline std::string SiblingsTestFile(const std::string& name) {
    return std::string(SOLX_SOURCE_DIR) + "/tests/siblings/" + name;
}
