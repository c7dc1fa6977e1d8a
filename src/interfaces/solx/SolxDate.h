#pragma once
// An analysis date (Gregorian year, month, day) with the sun's data of that day and the
// dates of the 24 solar terms of its year, computed (not tabulated) for any year 1900-2100.

#include <array>
#include <string>

class SolxDate {
public:
    // 2026-01-20 (大寒), a typical analysis day, until the settings say otherwise.
    SolxDate();
    SolxDate(int year, int month, int day);

    int GetYear() const { return m_nYear; }
    int GetMonth() const { return m_nMonth; }
    int GetDay() const { return m_nDay; }

    // Sets the date; an impossible date (month 13, February 30) is clamped to the nearest
    // valid one. Reloads the solar-term data when the year changes.
    void SetDate(int year, int month, int day);
    // Sets the date from a text: "2026-01-20", "2026年1月20日", or a month and day only
    // ("1月20日", "01-20"), which keeps the year. False (date unchanged) when unreadable.
    bool SetDate(const std::wstring& text);

    // The sun's apparent declination, degrees, at 12:00 Beijing time (UTC+8) of the date.
    double GetDgLat() const;
    // The equation of time (apparent minus mean solar time), hours, at the same instant.
    double GetDgTime() const;

    // "2026年1月20日".
    std::wstring GetDateString() const;
    // The index (0 = 小寒 ... 23 = 冬至) of the solar term whose Beijing-time date is this
    // date, or -1 when no term falls on it.
    int GetSTermIndex() const;
    // The date text ("1月20日") of solar term `index` (0..23) in this date's year, the form
    // SetDate(text) takes back; empty for an index out of range.
    std::wstring GetTerm(int index) const;
    // The same term as a date.
    SolxDate GetTermDate(int index) const;
    // Recomputes the 24 term dates of the current year.
    void LoadTermData();

    // 小寒, 大寒, ..., 冬至; empty for an index out of range.
    static const wchar_t* GetTermName(int index);
    // The index of a term name, or -1.
    static int FindTerm(const std::wstring& name);

    bool operator==(const SolxDate& other) const {
        return m_nYear == other.m_nYear && m_nMonth == other.m_nMonth && m_nDay == other.m_nDay;
    }

private:
    struct MonthDay {
        int month = 0;
        int day = 0;
    };
    int m_nYear = 2026;
    int m_nMonth = 1;
    int m_nDay = 20;
    int m_nTermYear = 0;  // year m_terms belongs to
    std::array<MonthDay, 24> m_terms{};
};
