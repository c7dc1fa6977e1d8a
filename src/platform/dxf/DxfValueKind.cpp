#include "dxf/DxfValueKind.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace solx::dxf {
namespace {

struct Range {
    int first;
    int last;
    ValueKind kind;
};

// Ranges of group codes with a fixed value kind; everything else is text.
constexpr Range kRanges[] = {
    {5, 5, ValueKind::Handle},       {10, 59, ValueKind::Double},
    {60, 79, ValueKind::Int16},      {90, 99, ValueKind::Int32},
    {105, 105, ValueKind::Handle},   {110, 149, ValueKind::Double},
    {160, 169, ValueKind::Int64},    {170, 179, ValueKind::Int16},
    {210, 239, ValueKind::Double},   {270, 289, ValueKind::Int16},
    {290, 299, ValueKind::Bool},     {310, 319, ValueKind::Binary},
    {320, 369, ValueKind::Handle},   {370, 389, ValueKind::Int16},
    {390, 399, ValueKind::Handle},   {400, 409, ValueKind::Int16},
    {420, 429, ValueKind::Int32},    {440, 459, ValueKind::Int32},
    {460, 469, ValueKind::Double},   {480, 481, ValueKind::Handle},
    {1004, 1004, ValueKind::Binary}, {1005, 1005, ValueKind::Handle},
    {1010, 1059, ValueKind::Double}, {1060, 1070, ValueKind::Int16},
    {1071, 1071, ValueKind::Int32},
};

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t skipDigits(std::string_view s, size_t i) {
    while (i < s.size() && isDigit(s[i])) ++i;
    return i;
}

size_t skipSign(std::string_view s, size_t i) {
    return (i < s.size() && (s[i] == '-' || s[i] == '+')) ? i + 1 : i;
}

bool isInteger(std::string_view s) {
    s = trimSpaces(s);
    size_t i = skipSign(s, 0);
    size_t end = skipDigits(s, i);
    return end > i && end == s.size();
}

// Decimal number with optional fraction and exponent; "1.", ".5" and "1e5" are accepted.
bool isReal(std::string_view s) {
    s = trimSpaces(s);
    size_t i = skipSign(s, 0);
    size_t intEnd = skipDigits(s, i);
    size_t fracEnd = intEnd;
    if (fracEnd < s.size() && s[fracEnd] == '.') fracEnd = skipDigits(s, fracEnd + 1);
    bool hasDigits = intEnd > i || fracEnd > intEnd + 1;
    if (!hasDigits) return false;
    i = fracEnd;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t expStart = skipSign(s, i + 1);
        i = skipDigits(s, expStart);
        if (i == expStart) return false;
    }
    return i == s.size();
}

// A well-formed real can still be out of range (1e309, or 400 digits): only numbers with an
// exponent or many digits can, so the common short number skips the conversion.
bool isFiniteReal(std::string_view s) {
    s = trimSpaces(s);
    if (s.size() < 300 && s.find_first_of("eE") == std::string_view::npos) return true;
    // strtod, as the readers of values do: an overflow is infinite, an underflow a tiny number.
    return std::isfinite(std::strtod(std::string(s).c_str(), nullptr));
}

bool parseInteger(std::string_view text, long long& out);

bool fitsInteger(std::string_view text, long long lo, long long hi) {
    long long v = 0;
    return parseInteger(text, v) && v >= lo && v <= hi;
}

bool isHex(std::string_view s) {
    s = trimSpaces(s);
    for (char c : s) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// The kind of every group code, looked up once per tag while loading.
struct KindTable {
    ValueKind kinds[kMaxGroupCode + 1];
    constexpr KindTable() : kinds() {
        for (ValueKind& k : kinds) k = ValueKind::String;
        for (const Range& r : kRanges) {
            for (int c = r.first; c <= r.last; ++c) kinds[c] = r.kind;
        }
    }
};

constexpr KindTable kKinds;

}  // namespace

ValueKind valueKind(int code) {
    if (code < 0 || code > kMaxGroupCode) return ValueKind::String;
    return kKinds.kinds[code];
}

ValueKind valueKindIn(std::string_view recordType, int code) {
    if (code == 5 && recordType == "DIMSTYLE") return ValueKind::String;
    return valueKind(code);
}

const char* valueKindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::String:
            return "text";
        case ValueKind::Double:
            return "real number";
        case ValueKind::Int16:
            return "16-bit integer";
        case ValueKind::Int32:
            return "32-bit integer";
        case ValueKind::Int64:
            return "64-bit integer";
        case ValueKind::Bool:
            return "boolean";
        case ValueKind::Handle:
            return "handle";
        case ValueKind::Binary:
            return "binary chunk";
    }
    return "value";
}

bool isValidValue(int code, std::string_view text) {
    return isValidValue(valueKind(code), code, text);
}

bool isValidValue(ValueKind kind, int code, std::string_view text) {
    switch (kind) {
        case ValueKind::String:
            return true;
        case ValueKind::Double:
            return isReal(text) && isFiniteReal(text);
        case ValueKind::Int16:
            return fitsInteger(text, -32768, 32767);
        case ValueKind::Int32:
            return fitsInteger(text, -2147483648LL, 2147483647LL);
        case ValueKind::Int64:
            return fitsInteger(text, -9223372036854775807LL, 9223372036854775807LL);
        case ValueKind::Bool:
            return isInteger(text);
        case ValueKind::Handle:
            return (code != 5 && code != 105) || isHex(text);
        case ValueKind::Binary:
            return isHex(text);
    }
    return false;
}

namespace {

// Integers of up to 19 digits; a longer or larger one is not a value of any integer kind.
bool parseInteger(std::string_view text, long long& out) {
    text = trimSpaces(text);
    if (!isInteger(text)) return false;
    bool negative = text.front() == '-';
    size_t i = (text.front() == '-' || text.front() == '+') ? 1 : 0;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (v > (9223372036854775807LL - 9) / 10) return false;
        v = v * 10 + (text[i] - '0');
    }
    out = negative ? -v : v;
    return true;
}

}  // namespace

bool parseIntValue(std::string_view text, long long& out) {
    return parseInteger(text, out);
}

}  // namespace solx::dxf
