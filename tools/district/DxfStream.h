#pragma once
// A small DXF tag writer with handle allocation, for the district generator.

#include <cstdint>
#include <sstream>
#include <string>

#include "brel/VxGePoint.h"

namespace district {

class DxfStream {
public:
    // Writes one group code and value.
    void Tag(int code, const std::string& value);
    void Tag(int code, int value) { Tag(code, std::to_string(value)); }
    void Real(int code, double value);
    // Point with group codes code, code + 10, code + 20.
    void Point(int code, const VxGePoint& p);

    // A new handle (hexadecimal text); handles start at 0x100.
    std::string NewHandle();
    // The next free handle, for $HANDSEED.
    std::string Seed() const;

    // Starts an entity or object: "0 type", "5 handle" (code 105 for DIMSTYLE), "330 owner".
    std::string Begin(const std::string& type, const std::string& owner);

    std::string Text() const { return m_out.str(); }

private:
    std::ostringstream m_out;
    uint64_t m_nNext = 0x100;  // below are the fixed handles of tables and objects
};

std::string Hex(uint64_t value);

}  // namespace district
