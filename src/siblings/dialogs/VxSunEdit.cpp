#include "solx/VxSunEdit.h"

#include <cwctype>

namespace {
constexpr wchar_t kPlaceholder = L'_';
constexpr wchar_t kBackspace = 8;
}  // namespace

bool VxSunEdit::IsValidChar(wchar_t ch) {
    if (m_strValidChars.IsEmpty()) return std::iswprint(static_cast<wint_t>(ch)) != 0;
    return m_strValidChars.Find(ch) >= 0;
}

bool VxSunEdit::IsValidInput(wchar_t ch) {
    return IsValidChar(ch);
}

int VxSunEdit::GetActivePos() const {
    return GetCaret();
}

bool VxSunEdit::IsEditable(int pos) const {
    return pos >= 0 && pos < m_strMask.GetLength() && m_strMask[pos] == kPlaceholder;
}

void VxSunEdit::MoveToValidPos() {
    int pos = GetActivePos();
    while (pos < m_strMask.GetLength() && !IsEditable(pos)) ++pos;
    SetSel(pos, pos);
}

void VxSunEdit::Overwrite(int pos, wchar_t ch) {
    CString text;
    GetWindowText(text);
    if (text.GetLength() != m_strMask.GetLength()) text = m_strDefault;
    text.SetAt(pos, ch);
    SetWindowText(text);
    SetModify(TRUE);
    SendNotifyToParent(EN_CHANGE);
}

bool VxSunEdit::PastedText(const CString& typed, CString& text) {
    const int length = m_strMask.GetLength();
    text = m_strMask;
    int from = 0;
    const bool whole = typed.GetLength() == length;
    for (int pos = 0; pos < length; ++pos) {
        if (!IsEditable(pos)) {
            if (whole && typed[from++] != m_strMask[pos]) return false;
            continue;
        }
        if (from >= typed.GetLength() || !IsValidChar(typed[from])) return false;
        text.SetAt(pos, typed[from++]);
    }
    return from == typed.GetLength();
}

LRESULT VxSunEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PASTE) return CEdit::WindowProc(message, wParam, lParam);
    const auto* typed = reinterpret_cast<const wchar_t*>(lParam);
    CString text;
    if (!typed || !PastedText(typed, text)) return 0;
    SetWindowText(text);
    SetSel(text.GetLength(), text.GetLength());
    SetModify(TRUE);
    SendNotifyToParent(EN_CHANGE);
    return 1;
}

void VxSunEdit::OnChar(UINT ch, UINT, UINT) {
    const auto typed = static_cast<wchar_t>(ch);
    int pos = GetActivePos();
    if (typed == kBackspace) {
        while (pos > 0 && !IsEditable(pos - 1)) --pos;
        if (pos == 0) return;
        Overwrite(pos - 1, m_strDefault[pos - 1]);
        SetSel(pos - 1, pos - 1);
        return;
    }
    if (pos < m_strMask.GetLength() && !IsEditable(pos) && typed == m_strMask[pos]) {
        SetSel(pos + 1, pos + 1);  // typing the fixed separator steps over it
        return;
    }
    if (!IsValidInput(typed)) return;
    MoveToValidPos();
    pos = GetActivePos();
    if (pos >= m_strMask.GetLength()) return;
    Overwrite(pos, typed);
    SetSel(pos + 1, pos + 1);
    MoveToValidPos();
}

void VxSunEdit::PreSubclassWindow() {
    CString text;
    GetWindowText(text);
    if (text.GetLength() != m_strMask.GetLength()) SetWindowText(m_strDefault);
}
