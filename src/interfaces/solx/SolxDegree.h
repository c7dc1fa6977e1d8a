#pragma once
// Sexagesimal values (angles in degrees, times of day and durations in hours) and their texts.

#include <string>

class SolxDegree {
public:
    SolxDegree(double value = 0.0) : m_dValue(value) {}
    // Parses a text: an angle when bDegree ("116°24′30″", "116度24分", "116.4"), else a time
    // or duration ("8:05", "2:30:15", "-0:26", "2.5", "8时5分"). An unreadable text gives 0
    // and IsValid() false.
    SolxDegree(const wchar_t* text, bool bDegree);

    // "h:mm" (or "h:mm:ss" with bSecond), rounded to the nearest minute (second); negative
    // values get a leading "-".
    std::wstring TimeFormat(bool bSecond) const;
    // "d°m′" (or "d°m′s″" with bSecond), rounded the same way.
    std::wstring DegreeFormat(bool bSecond) const;

    void getDegree(double& value) const { value = m_dValue; }
    // Whole degrees (hours), minutes and seconds of the absolute value, the sign on the first
    // non-zero part; rounded to the nearest second.
    void getDegree(int& degree, int& minute, double& second) const;
    // value = degree + minute / 60 + second / 3600 (all taken with degree's sign).
    void setDegree(int degree, int minute, double second);

    double GetValue() const { return m_dValue; }
    bool IsValid() const { return m_bValid; }

private:
    double m_dValue = 0.0;
    bool m_bValid = true;
};

// Text of a plan direction. angle: degrees counter-clockwise from east (the x axis).
// mode 1: orientation text from the nearest cardinal direction, e.g. "正南", "南偏东15°",
//   "东偏北2.5°" (one decimal, dropped when whole); mode 0: the angle itself, e.g. "255.5°".
std::wstring GetAngleStr(double angle, int mode);

// True when text is non-empty and made only of the decimal digits 0-9.
bool IsDigital(const std::wstring& text);
