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

bool IsDuplicate(const std::vector<double>& levels, double value) {
    for (double level : levels)
        if (std::fabs(level - value) < kDuplicateHours) return true;
    return false;
}

}  // namespace

std::vector<double> ParseHourLevels(const std::wstring& text, bool inMinutes) {
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
