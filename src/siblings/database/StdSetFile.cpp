// Standards file: "[name]" starts a standard, "key = value" lines fill it, '#' comments.
#include "solx/SolxStdSet.h"
#include "mfc/CString.h"

#include "database/TextFile.h"

#include <cwchar>
#include <functional>
#include <map>

namespace {

using namespace solx::data;

bool ParseHours(const std::wstring& text, double& hours) {
    const SolxDegree value(text.c_str(), false);
    hours = value.GetValue();
    return value.IsValid();
}

bool ParseSwitch(const std::wstring& text, int& value) {
    if (text == L"on" || text == L"1" || text == L"yes") return value = 1, true;
    if (text == L"off" || text == L"0" || text == L"no") return value = 0, true;
    return false;
}

bool ParseDay(const std::wstring& text, SolxStdSet& std) {
    std.m_nTerm = SolxDate::FindTerm(text);
    if (std.m_nTerm >= 0) return true;
    return std::swscanf(text.c_str(), L"%d-%d", &std.m_nMonth, &std.m_nDay) == 2 &&
           std.m_nMonth >= 1 && std.m_nMonth <= 12 && std.m_nDay >= 1 && std.m_nDay <= 31;
}

// "112.5-247.5 8:00-16:00": bearings, then the valid hours.
bool ParseBand(const std::wstring& text, SolxOrientBand& band) {
    const std::vector<std::wstring> parts = Split(text, L' ');
    if (parts.size() != 2) return false;
    const std::vector<std::wstring> b = Split(parts[0], L'-'), t = Split(parts[1], L'-');
    return b.size() == 2 && t.size() == 2 && ToNumber(b[0], band.fromBearing) &&
           ToNumber(b[1], band.toBearing) && ParseHours(t[0], band.startHour) &&
           ParseHours(t[1], band.endHour);
}

// "0:1 1:30 2:3": hours threshold, colour index.
bool ParseColors(const std::wstring& text, SolxColorTable& table) {
    table.m_items.clear();
    for (const std::wstring& item : Split(text, L' ')) {
        if (item.empty()) continue;
        double hours = 0;
        int color = 0;
        if (std::swscanf(item.c_str(), L"%lf:%d", &hours, &color) != 2) return false;
        table.m_items.push_back({hours, color});
    }
    return !table.m_items.empty();
}

using Setter = std::function<bool(const std::wstring&, SolxStdSet&)>;

const std::map<std::wstring, Setter>& Setters() {
    static const std::map<std::wstring, Setter> setters = {
        {L"day", ParseDay},
        {L"start",
         [](auto& v, auto& s) {
             double h;
             return ParseHours(v, h) && (s.m_startTime = h, true);
         }},
        {L"end",
         [](auto& v, auto& s) {
             double h;
             return ParseHours(v, h) && (s.m_endTime = h, true);
         }},
        {L"step",
         [](auto& v, auto& s) { return ToNumber(v, s.m_dStep) && IsValidStepMinutes(s.m_dStep); }},
        {L"evaluation",
         [](auto& v, auto& s) {
             s.m_nEvaluation = v == L"longest" ? 1 : 0;
             return v == L"longest" || v == L"total";
         }},
        {L"two_points", [](auto& v, auto& s) { return ParseSwitch(v, s.m_bTwoPoint); }},
        {L"angle_limit", [](auto& v, auto& s) { return ParseSwitch(v, s.m_bAngleLimit); }},
        {L"angle",
         [](auto& v, auto& s) {
             double d;
             return ToNumber(v, d) && (s.m_nAngleLimit = static_cast<int>(d), true);
         }},
        {L"min_period", [](auto& v, auto& s) { return ToNumber(v, s.m_dMinPeriod); }},
        {L"required",
         [](auto& v, auto& s) {
             double h;
             return ParseHours(v, h) && (s.m_dRequired = h, true);
         }},
        {L"orientation",
         [](auto& v, auto& s) {
             SolxOrientBand band;
             return ParseBand(v, band) && (s.m_orientTable.push_back(band), true);
         }},
        {L"colors", [](auto& v, auto& s) { return ParseColors(v, s.m_colorTable); }},
    };
    return setters;
}

bool ParseKeyValue(const std::wstring& line, SolxStdSet& std, std::wstring& problem) {
    const size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) return problem = L"expected \"key = value\"", false;
    const std::wstring key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    const auto it = Setters().find(key);
    if (it == Setters().end()) return problem = L"unknown key \"" + key + L"\"", false;
    if (it->second(value, std)) return true;
    problem = L"bad value for " + key + L": " + value;
    if (key == L"step")
        problem += L" (a whole number of minutes from " + std::to_wstring(kStepMinutesMin) +
                   L" to " + std::to_wstring(kStepMinutesMax) + L")";
    return false;
}

std::wstring DayText(const SolxStdSet& s) {
    if (s.m_nTerm >= 0) return SolxDate::GetTermName(s.m_nTerm);
    return solx::win::FormatText(L"%02d-%02d", s.m_nMonth, s.m_nDay);
}

std::wstring Num(double v) {
    return solx::win::FormatText(L"%g", v);
}

}  // namespace

bool LoadStdSets(const std::wstring& file, std::vector<SolxStdSet>& out, std::wstring& error) {
    std::vector<std::wstring> lines;
    if (!ReadLines(file, lines)) return error = file + L": cannot open the standards", false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring line = Trim(lines[i]);
        if (line.empty() || line[0] == L'#') continue;
        std::wstring problem;
        if (line.front() == L'[' && line.back() == L']') {
            out.emplace_back().m_strName = Trim(line.substr(1, line.size() - 2));
            continue;
        }
        if (out.empty()) problem = L"setting before the first [standard name]";
        if (problem.empty() && ParseKeyValue(line, out.back(), problem)) continue;
        return error = Where(file, i + 1, problem), false;
    }
    return true;
}

bool SaveStdSets(const std::wstring& file, const std::vector<SolxStdSet>& stds) {
    std::vector<std::wstring> lines{L"# Sunlight standards (edited by the standards manager)"};
    for (const SolxStdSet& s : stds) {
        lines.push_back(L"");
        lines.push_back(L"[" + s.m_strName + L"]");
        lines.push_back(L"day = " + DayText(s));
        lines.push_back(L"start = " + s.m_startTime.TimeFormat(true));
        lines.push_back(L"end = " + s.m_endTime.TimeFormat(true));
        lines.push_back(L"step = " + Num(s.m_dStep));
        lines.push_back(std::wstring(L"evaluation = ") + (s.m_nEvaluation ? L"longest" : L"total"));
        lines.push_back(L"two_points = " + std::to_wstring(s.m_bTwoPoint ? 1 : 0));
        lines.push_back(std::wstring(L"angle_limit = ") + (s.m_bAngleLimit ? L"on" : L"off"));
        lines.push_back(L"angle = " + std::to_wstring(s.m_nAngleLimit));
        lines.push_back(L"min_period = " + Num(s.m_dMinPeriod));
        lines.push_back(L"required = " + SolxDegree(s.m_dRequired).TimeFormat(true));
        for (const SolxOrientBand& b : s.m_orientTable)
            lines.push_back(L"orientation = " + Num(b.fromBearing) + L"-" + Num(b.toBearing) +
                            L" " + SolxDegree(b.startHour).TimeFormat(true) + L"-" +
                            SolxDegree(b.endHour).TimeFormat(true));
        std::wstring colors;
        for (const SolxColorTable::Item& c : s.m_colorTable.m_items)
            colors +=
                (colors.empty() ? L"" : L" ") + Num(c.hours) + L":" + std::to_wstring(c.color);
        if (!colors.empty()) lines.push_back(L"colors = " + colors);
    }
    return WriteLines(file, lines);
}
