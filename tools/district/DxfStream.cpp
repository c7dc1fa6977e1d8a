#include "DxfStream.h"

#include <cmath>
#include <cstdio>

namespace district {

std::string Hex(uint64_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(value));
    return buf;
}

void DxfStream::Tag(int code, const std::string& value) {
    m_out << code << '\n' << value << '\n';
}

void DxfStream::Real(int code, double value) {
    // A thousandth of a drawing unit is finer than any drawing needs; fewer digits keep the
    // sample files small.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", std::abs(value) < 5e-4 ? 0.0 : value);
    std::string text = buf;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text += '0';
    Tag(code, text);
}

void DxfStream::Point(int code, const VxGePoint& p) {
    Real(code, p.x);
    Real(code + 10, p.y);
    Real(code + 20, p.z);
}

std::string DxfStream::NewHandle() {
    return Hex(m_nNext++);
}

std::string DxfStream::Seed() const {
    return Hex(m_nNext);
}

std::string DxfStream::Begin(const std::string& type, const std::string& owner) {
    const std::string handle = NewHandle();
    Tag(0, type);
    Tag(type == "DIMSTYLE" ? 105 : 5, handle);
    Tag(330, owner);
    return handle;
}

}  // namespace district
