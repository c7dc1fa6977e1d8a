#include "SolxTimeEdit.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "mfc/WindowState.h"

namespace {

// The decimal number that `text` starts with at `pos` (two characters at most), as _wtol reads it.
int NumberAt(const CString& text, int pos) {
    if (text.GetLength() < pos + 2) return 0;
    return static_cast<int>(std::wcstol(text.Mid(pos, 2), nullptr, 10));
}

CString TwoDigits(int hour, int minute) {
    const wchar_t text[] = {static_cast<wchar_t>(L'0' + hour / 10 % 10),
                            static_cast<wchar_t>(L'0' + hour % 10),
                            L':',
                            static_cast<wchar_t>(L'0' + minute / 10 % 10),
                            static_cast<wchar_t>(L'0' + minute % 10),
                            0};
    return CString(text);
}

}  // namespace

SolxTimeEdit::SolxTimeEdit() {
    m_strMask = L"__:__";
    m_strDefault = L"00:00";
    m_strValidChars = L"0123456789";
}

bool SolxTimeEdit::IsValidChar(wchar_t ch) {
    return VxSunEdit::IsValidChar(ch);
}

int SolxTimeEdit::GetHour() const {
    return NumberAt(GetWindowTextString(), 0);
}

int SolxTimeEdit::GetMinute() const {
    return NumberAt(GetWindowTextString(), 3);
}

bool SolxTimeEdit::IsValidInput(wchar_t ch) {
    if (!IsValidChar(ch)) return false;
    if (!m_bCheckInput) return true;
    MoveToValidPos();
    const int pos = GetActivePos();
    const CString text = GetWindowTextString();
    if (text.GetLength() < 5) return true;
    const int hour = GetHour();
    const int minute = GetMinute();
    const int digit = ch - L'0';
    if (pos == 0 || pos == 1) {
        const int candidate = pos == 0 ? digit * 10 + hour % 10 : (hour / 10) * 10 + digit;
        if (candidate < m_hourMin || candidate > m_hourMax) return false;
        if (candidate == m_hourMin && minute < m_minuteMin) return false;
        return !(candidate == m_hourMax && minute > m_minuteMax);
    }
    if (pos == 3 || pos == 4) {
        const int candidate = pos == 3 ? digit * 10 + minute % 10 : (minute / 10) * 10 + digit;
        if (candidate >= 60) return false;
        if (hour == m_hourMin && candidate < m_minuteMin) return false;
        return !(hour == m_hourMax && candidate > m_minuteMax);
    }
    return true;
}

bool SolxTimeEdit::WriteTwoDigits(int pos, int value) {
    CString text = GetWindowTextString();
    if (text.GetLength() != m_strMask.GetLength()) text = m_strDefault;
    text.SetAt(pos, static_cast<wchar_t>(L'0' + value / 10));
    text.SetAt(pos + 1, static_cast<wchar_t>(L'0' + value % 10));
    SetWindowText(text);
    SetModify(TRUE);
    return true;
}

bool SolxTimeEdit::SetHour(int h) {
    return h >= 0 && h <= 23 && WriteTwoDigits(0, h);
}

bool SolxTimeEdit::SetMinute(int m) {
    return m >= 0 && m <= 59 && WriteTwoDigits(3, m);
}

bool SolxTimeEdit::IsInRange(int minutes) const {
    return RangeStart() <= minutes && minutes <= RangeEnd();
}

bool SolxTimeEdit::IsValidTime(int h, int m) const {
    return h >= 0 && h < 24 && m >= 0 && m < 60 && IsInRange(h * 60 + m);
}

bool SolxTimeEdit::IsValid() const {
    return IsValidTime(GetHour(), GetMinute());
}

bool SolxTimeEdit::AddMinutes(int d) {
    const int t = std::clamp(GetHour() * 60 + GetMinute() + d, RangeStart(), RangeEnd());
    SetHour(t / 60);
    SetMinute(t % 60);
    return true;
}

bool SolxTimeEdit::SetRange(int h1, int m1, int h2, int m2) {
    const bool times =
        h1 >= 0 && h1 < 24 && h2 >= 0 && h2 < 24 && m1 >= 0 && m1 < 60 && m2 >= 0 && m2 < 60;
    if (!times || h1 * 60 + m1 > h2 * 60 + m2) return false;
    m_hourMin = static_cast<short>(h1);
    m_minuteMin = static_cast<short>(m1);
    m_hourMax = static_cast<short>(h2);
    m_minuteMax = static_cast<short>(m2);
    m_strDefault = TwoDigits(h1, m1);
    if (m_hWnd && !IsInRange(GetHour() * 60 + GetMinute())) AddMinutes(0);
    UpdateCue();
    return true;
}

bool SolxTimeEdit::PastedText(const CString& typed, CString& text) {
    const std::wstring t = typed.str();
    const std::size_t colon = t.find(L':');
    std::wstring hour, minute;
    if (colon != std::wstring::npos) {
        hour = t.substr(0, colon);
        minute = t.substr(colon + 1);
    } else if (t.size() == 4) {
        hour = t.substr(0, 2);
        minute = t.substr(2);
    }
    const auto digits = [](const std::wstring& part, std::size_t least) {
        return part.size() >= least && part.size() <= 2 &&
               part.find_first_not_of(L"0123456789") == std::wstring::npos;
    };
    if (!digits(hour, 1) || !digits(minute, 2)) return false;
    const int h = std::stoi(hour), m = std::stoi(minute);
    if (!IsValidTime(h, m)) return false;
    text = TwoDigits(h, m);
    return true;
}

void SolxTimeEdit::PreSubclassWindow() {
    VxSunEdit::PreSubclassWindow();
    UpdateCue();
}

void SolxTimeEdit::UpdateCue() {
    if (!m_hWnd) return;
    m_hWnd->cue = L"HH:MM " + TwoDigits(m_hourMin, m_minuteMin).str() + L"-" +
                  TwoDigits(m_hourMax, m_minuteMax).str();
}
