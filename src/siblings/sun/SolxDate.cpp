#include "solx/SolxDate.h"
#include "solx/SolxText.h"
#include "mfc/CString.h"

#include "solx/SolxSolar.h"

#include <algorithm>
#include <cwchar>

namespace {

const wchar_t* const kTermNames[solx::sun::kTermCount] = {
    L"小寒", L"大寒", L"立春", L"雨水", L"惊蛰", L"春分", L"清明", L"谷雨",
    L"立夏", L"小满", L"芒种", L"夏至", L"小暑", L"大暑", L"立秋", L"处暑",
    L"白露", L"秋分", L"寒露", L"霜降", L"立冬", L"小雪", L"大雪", L"冬至"};

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Julian day (UT) of 12:00 Beijing time on the date.
double BeijingNoonJd(int year, int month, int day) {
    return solx::sun::JulianDay(year, month, day + 0.5) - solx::sun::kBeijingOffsetDays;
}

}  // namespace

SolxDate::SolxDate() {
    LoadTermData();
}

SolxDate::SolxDate(int year, int month, int day) {
    SetDate(year, month, day);
}

void SolxDate::SetDate(int year, int month, int day) {
    m_nYear = year;
    m_nMonth = std::clamp(month, 1, 12);
    m_nDay = std::clamp(day, 1, DaysInMonth(m_nYear, m_nMonth));
    if (m_nTermYear != m_nYear) LoadTermData();
}

bool SolxDate::SetDate(const std::wstring& text) {
    int y = 0, m = 0, d = 0;
    const wchar_t* s = text.c_str();
    if (std::swscanf(s, L"%d-%d-%d", &y, &m, &d) == 3 ||
        std::swscanf(s, L"%d年%d月%d日", &y, &m, &d) == 3 ||
        std::swscanf(s, L"%d/%d/%d", &y, &m, &d) == 3) {
        if (y < 1 || m < 1 || m > 12 || d < 1 || d > 31) return false;
        SetDate(y, m, d);
        return true;
    }
    if (std::swscanf(s, L"%d月%d日", &m, &d) == 2 || std::swscanf(s, L"%d-%d", &m, &d) == 2) {
        if (m < 1 || m > 12 || d < 1 || d > 31) return false;
        SetDate(m_nYear, m, d);
        return true;
    }
    return false;
}

double SolxDate::GetDgLat() const {
    return solx::sun::SunAtJd(BeijingNoonJd(m_nYear, m_nMonth, m_nDay)).declination;
}

double SolxDate::GetDgTime() const {
    return solx::sun::SunAtJd(BeijingNoonJd(m_nYear, m_nMonth, m_nDay)).equationOfTime / 60.0;
}

std::wstring SolxDate::GetDateString() const {
    return SolxTextWith(L"{0}年{1}月{2}日", {std::to_wstring(m_nYear), std::to_wstring(m_nMonth),
                                             std::to_wstring(m_nDay)});
}

int SolxDate::GetSTermIndex() const {
    for (int i = 0; i < solx::sun::kTermCount; ++i)
        if (m_terms[i].month == m_nMonth && m_terms[i].day == m_nDay) return i;
    return -1;
}

std::wstring SolxDate::GetTerm(int index) const {
    if (index < 0 || index >= solx::sun::kTermCount) return {};
    return solx::win::FormatText(L"%d月%d日", m_terms[index].month, m_terms[index].day);
}

SolxDate SolxDate::GetTermDate(int index) const {
    SolxDate date(*this);
    if (index >= 0 && index < solx::sun::kTermCount)
        date.SetDate(m_nYear, m_terms[index].month, m_terms[index].day);
    return date;
}

void SolxDate::LoadTermData() {
    for (int i = 0; i < solx::sun::kTermCount; ++i) {
        const double jd = solx::sun::TermInstantJd(m_nYear, i) + solx::sun::kBeijingOffsetDays;
        int y = 0;
        double fraction = 0;
        solx::sun::CalendarDate(jd, y, m_terms[i].month, m_terms[i].day, fraction);
    }
    m_nTermYear = m_nYear;
}

const wchar_t* SolxDate::GetTermName(int index) {
    return index >= 0 && index < solx::sun::kTermCount ? kTermNames[index] : L"";
}

int SolxDate::FindTerm(const std::wstring& name) {
    for (int i = 0; i < solx::sun::kTermCount; ++i)
        if (name == kTermNames[i]) return i;
    return -1;
}
