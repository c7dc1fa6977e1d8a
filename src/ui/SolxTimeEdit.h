#pragma once
// SolxTimeEdit: a masked edit for a time of day "HH:MM" whose typed value stays inside a settable
// range hourMin:minuteMin .. hourMax:minuteMax (a span of minutes of the day).

#include "solx/VxSunEdit.h"

class SolxTimeEdit : public VxSunEdit {
public:
    SolxTimeEdit();

    bool IsValidChar(wchar_t ch) override;
    // Refuses a digit that would make the hour or minute leave the range.
    bool IsValidInput(wchar_t ch) override;

    // The number at positions 0-1 / 3-4 (reading stops at the first non-digit).
    int GetHour() const;
    int GetMinute() const;
    // False, text unchanged, for h outside 0..23 / m outside 0..59.
    bool SetHour(int h);
    bool SetMinute(int m);

    bool IsInRange(int minutes) const;
    bool IsValidTime(int h, int m) const;
    bool IsValid() const;
    // Adds d minutes, clamped to the range; always true.
    bool AddMinutes(int d);
    // False, nothing changed, unless both ends are times of day and the start is not after the
    // end. Moves the current time into the new range when it lies outside.
    bool SetRange(int h1, int m1, int h2, int m2);

    // A pasted time: "9:00", "09:00" or "0900", inside the range.
    bool PastedText(const CString& typed, CString& text) override;

protected:
    void PreSubclassWindow() override;

private:
    // Tells presenters what the edit takes: "HH:MM 08:00-16:00".
    void UpdateCue();
    bool WriteTwoDigits(int pos, int value);
    int RangeStart() const { return m_hourMin * 60 + m_minuteMin; }
    int RangeEnd() const { return m_hourMax * 60 + m_minuteMax; }

    short m_hourMin = 0;
    short m_hourMax = 23;
    short m_minuteMin = 0;
    short m_minuteMax = 59;
};
