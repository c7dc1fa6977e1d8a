// The hour levels typed in the equal-hour dialog.

#include <cmath>
#include <cwchar>

#include "EqualHour.h"

namespace {

constexpr size_t kTokenMax = 255;
constexpr double kDuplicateHours = 0.05;
constexpr double kLowestHours = 0.01;
constexpr double kHighestHours = 10.01;

// The number at the start of a token as _wtof reads it; 0 when there is none.
double ReadNumber(const std::wstring& token) {
    const wchar_t* begin = token.c_str();
    wchar_t* end = nullptr;
    const double value = std::wcstod(begin, &end);
    return end == begin ? 0.0 : value;
}

// The text as a Chinese keyboard may give it, read as its plain forms: the full-width forms of
// ASCII (digits "１", point "．", comma "，", signs) become ASCII, the ideographic space a blank,
// and the enumeration comma "、" a comma.
std::wstring PlainForms(const std::wstring& text) {
    std::wstring plain = text;
    for (wchar_t& ch : plain) {
        if (ch >= 0xFF01 && ch <= 0xFF5E)
            ch = static_cast<wchar_t>(ch - 0xFEE0);
        else if (ch == 0x3000)
            ch = L' ';
        else if (ch == 0x3001)
            ch = L',';
    }
    return plain;
}

bool IsDuplicate(const std::vector<double>& levels, double value) {
    for (double level : levels)
        if (std::fabs(level - value) < kDuplicateHours) return true;
    return false;
}

}  // namespace

std::vector<double> ParseHourLevels(const std::wstring& typed, bool inMinutes) {
    const std::wstring text = PlainForms(typed);
    std::vector<double> levels;
    size_t at = 0;
    for (;;) {
        const size_t comma = text.find(L',', at);
        const size_t length = (comma == std::wstring::npos ? text.size() : comma) - at;
        double value = ReadNumber(text.substr(at, std::min(length, kTokenMax)));
        if (inMinutes) value /= 60.0;
        if (!IsDuplicate(levels, value) && value > kLowestHours && value < kHighestHours)
            levels.push_back(value);
        if (comma == std::wstring::npos) break;
        at = comma + 1;
    }
    return levels;
}
