#include "solx/SolxDegree.h"
#include "solx/SolxText.h"
#include "mfc/CString.h"

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <string_view>

namespace {

// Splits |value| into whole units, minutes and seconds after rounding to `resolution` units.
void Split(double value, double resolution, int& units, int& minutes, double& seconds) {
    const double rounded = std::round(std::fabs(value) / resolution) * resolution;
    const double totalSeconds = std::round(rounded * 3600.0 * 1000.0) / 1000.0;
    units = static_cast<int>(totalSeconds / 3600.0);
    minutes = static_cast<int>((totalSeconds - units * 3600.0) / 60.0);
    seconds = totalSeconds - units * 3600.0 - minutes * 60.0;
}

bool IsSeparator(wchar_t c) {
    return c == L':' || c == L'°' || c == L'′' || c == L'″' || c == L'\'' || c == L'"' ||
           c == L'度' || c == L'分' || c == L'秒' || c == L'时' || c == L'小' || c == L'.' ||
           c == L' ';
}

// Reads "a[sep]b[sep]c" sexagesimal parts or one decimal number; false when anything else.
bool ParseSexagesimal(std::wstring_view text, double& value) {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    const bool negative = !text.empty() && text.front() == L'-';
    if (negative || (!text.empty() && text.front() == L'+')) text.remove_prefix(1);
    const std::wstring s(text);
    wchar_t* end = nullptr;
    const double first = std::wcstod(s.c_str(), &end);
    if (end == s.c_str()) return false;
    double parts[3] = {first, 0, 0};
    int count = 1;
    const wchar_t* p = end;
    while (*p && count < 3) {
        while (*p && IsSeparator(*p) && *p != L'.') ++p;
        if (!*p) break;
        const double v = std::wcstod(p, &end);
        if (end == p) return false;
        parts[count++] = v;
        p = end;
    }
    while (*p && (IsSeparator(*p) || std::iswspace(*p))) ++p;
    if (*p) return false;
    value = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    if (negative) value = -value;
    return true;
}

std::wstring Format(double value, double resolution, bool bSecond, const wchar_t* unitSep,
                    const wchar_t* minSep, const wchar_t* secSep) {
    int units = 0, minutes = 0;
    double seconds = 0;
    Split(value, resolution, units, minutes, seconds);
    const bool negative = value < 0 && (units || minutes || seconds >= 0.5);
    if (bSecond)
        return solx::win::FormatText(L"%s%d%s%02d%s%02d%s", negative ? L"-" : L"", units, unitSep,
                                     minutes, minSep, static_cast<int>(std::lround(seconds)),
                                     secSep);
    return solx::win::FormatText(L"%s%d%s%02d%s", negative ? L"-" : L"", units, unitSep, minutes,
                                 minSep);
}

std::wstring Decimal(double v) {
    const double r = std::round(v * 10.0) / 10.0;
    // "+ 0.0" turns a negative zero into 0, so that no "-0" is shown.
    if (std::fabs(r - std::round(r)) < 1e-9)
        return solx::win::FormatText(L"%.0f", std::round(r) + 0.0);
    return solx::win::FormatText(L"%.1f", r);
}

}  // namespace

SolxDegree::SolxDegree(const wchar_t* text, bool /*bDegree*/) {
    // Angles and times share one sexagesimal grammar; the flag only says which units the
    // caller means.
    m_bValid = text != nullptr && ParseSexagesimal(text, m_dValue);
    if (!m_bValid) m_dValue = 0.0;
}

std::wstring SolxDegree::TimeFormat(bool bSecond) const {
    return Format(m_dValue, bSecond ? 1.0 / 3600.0 : 1.0 / 60.0, bSecond, L":",
                  bSecond ? L":" : L"", L"");
}

std::wstring SolxDegree::DegreeFormat(bool bSecond) const {
    return Format(m_dValue, bSecond ? 1.0 / 3600.0 : 1.0 / 60.0, bSecond, L"°", L"′",
                  bSecond ? L"″" : L"");
}

void SolxDegree::getDegree(int& degree, int& minute, double& second) const {
    Split(m_dValue, 1.0 / 3600.0, degree, minute, second);
    if (m_dValue < 0) {
        if (degree)
            degree = -degree;
        else if (minute)
            minute = -minute;
        else
            second = -second;
    }
}

void SolxDegree::setDegree(int degree, int minute, double second) {
    const double sign = degree < 0 ? -1.0 : 1.0;
    m_dValue = sign * (std::abs(degree) + std::abs(minute) / 60.0 + std::fabs(second) / 3600.0);
    m_bValid = true;
}

std::wstring GetAngleStr(double angle, int mode) {
    if (mode != 1) return Decimal(angle) + L"°";
    // Compass bearing: north 0, east 90, south 180, west 270.
    double bearing = std::fmod(90.0 - angle, 360.0);
    if (bearing < 0) bearing += 360.0;
    const auto name = [](int quarter) -> std::wstring {
        switch (quarter) {
            case 0:
                return SolxText(L"北");
            case 1:
                return SolxText(L"东");
            case 2:
                return SolxText(L"南");
            default:
                return SolxText(L"西");
        }
    };
    const int nearest = static_cast<int>(std::lround(bearing / 90.0)) % 4;
    double offset = bearing - nearest * 90.0;
    if (offset > 180) offset -= 360;
    if (std::fabs(offset) < 0.05) return SolxTextWith(L"正{0}", {name(nearest)});
    // Positive offset turns clockwise: from north towards east, from east towards south ...
    const int towards = (nearest + (offset > 0 ? 1 : 3)) % 4;
    return SolxTextWith(L"{0}偏{1}{2}°",
                        {name(nearest), name(towards), Decimal(std::fabs(offset))});
}

bool IsDigital(const std::wstring& text) {
    if (text.empty()) return false;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9') return false;
    return true;
}
