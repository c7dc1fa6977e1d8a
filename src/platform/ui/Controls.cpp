#include <algorithm>

#include "mfc/WindowState.h"
#include "mfc/afxcmn.h"

using solx::ui::ControlKind;

int CButton::GetCheck() const {
    return m_hWnd ? m_hWnd->check : BST_UNCHECKED;
}

void CButton::SetCheck(int check) {
    if (m_hWnd) m_hWnd->check = check;
}

void CEdit::SetSel(int start, int) {
    if (m_hWnd) m_hWnd->caret = std::clamp(start, 0, static_cast<int>(m_hWnd->text.size()));
}

int CEdit::GetCaret() const {
    return m_hWnd ? m_hWnd->caret : 0;
}

void CEdit::SetReadOnly(BOOL readOnly) {
    if (m_hWnd) m_hWnd->readOnly = readOnly != FALSE;
}

void CEdit::SetModify(BOOL modified) {
    if (m_hWnd) m_hWnd->modified = modified != FALSE;
}

BOOL CEdit::GetModify() const {
    return m_hWnd && m_hWnd->modified;
}

int CComboBox::GetCount() const {
    return m_hWnd ? static_cast<int>(m_hWnd->items.size()) : 0;
}

int CComboBox::GetCurSel() const {
    return m_hWnd ? m_hWnd->curSel : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    if (!m_hWnd) return CB_ERR;
    if (index < 0 || index >= GetCount()) {
        m_hWnd->curSel = CB_ERR;
        if (!m_hWnd->editable) m_hWnd->text.clear();
        return CB_ERR;
    }
    m_hWnd->curSel = index;
    m_hWnd->text = m_hWnd->items[static_cast<std::size_t>(index)];
    return index;
}

int CComboBox::AddString(const wchar_t* text) {
    return InsertString(-1, text);
}

int CComboBox::InsertString(int index, const wchar_t* text) {
    if (!m_hWnd || index > GetCount()) return CB_ERR;
    if (index < 0) index = GetCount();
    m_hWnd->items.insert(m_hWnd->items.begin() + index, text ? text : L"");
    if (m_hWnd->curSel >= index) m_hWnd->curSel += 1;
    return index;
}

int CComboBox::DeleteString(int index) {
    if (!m_hWnd || index < 0 || index >= GetCount()) return CB_ERR;
    m_hWnd->items.erase(m_hWnd->items.begin() + index);
    if (m_hWnd->curSel == index)
        m_hWnd->curSel = CB_ERR;
    else if (m_hWnd->curSel > index)
        m_hWnd->curSel -= 1;
    return GetCount();
}

void CComboBox::ResetContent() {
    if (!m_hWnd) return;
    m_hWnd->items.clear();
    m_hWnd->curSel = CB_ERR;
}

void CComboBox::GetLBText(int index, CString& text) const {
    text = GetLBTextString(index);
}

std::wstring CComboBox::GetLBTextString(int index) const {
    if (!m_hWnd || index < 0 || index >= GetCount()) return {};
    return m_hWnd->items[static_cast<std::size_t>(index)];
}

int CComboBox::GetLBTextLen(int index) const {
    return static_cast<int>(GetLBTextString(index).size());
}

int CComboBox::FindStringExact(int after, const wchar_t* text) const {
    for (int i = std::max(after + 1, 0); i < GetCount(); ++i) {
        if (m_hWnd->items[static_cast<std::size_t>(i)] == text) return i;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int after, const wchar_t* text) {
    const std::wstring prefix = text ? text : L"";
    for (int i = std::max(after + 1, 0); i < GetCount(); ++i) {
        if (m_hWnd->items[static_cast<std::size_t>(i)].starts_with(prefix)) return SetCurSel(i);
    }
    return CB_ERR;
}

DWORD CDateTimeCtrl::GetTime(SYSTEMTIME* time) const {
    if (m_hWnd && time) *time = m_hWnd->time;
    return GDT_VALID;
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* time) {
    if (!m_hWnd || !time) return FALSE;
    m_hWnd->time = *time;
    return TRUE;
}

void CSpinButtonCtrl::SetRange(int lower, int upper) {
    if (!m_hWnd) return;
    m_hWnd->rangeMin = lower;
    m_hWnd->rangeMax = upper;
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
    lower = m_hWnd ? m_hWnd->rangeMin : 0;
    upper = m_hWnd ? m_hWnd->rangeMax : 0;
}

int CSpinButtonCtrl::SetPos(int pos) {
    if (!m_hWnd) return 0;
    const int previous = m_hWnd->pos;
    m_hWnd->pos = pos;
    return previous;
}

int CSpinButtonCtrl::GetPos() const {
    return m_hWnd ? m_hWnd->pos : 0;
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL) {
    if (!m_hWnd) return;
    m_hWnd->rangeMin = minPos;
    m_hWnd->rangeMax = maxPos;
    m_hWnd->pos = std::clamp(m_hWnd->pos, minPos, std::max(minPos, maxPos));
}

int CSliderCtrl::GetRangeMin() const {
    return m_hWnd ? m_hWnd->rangeMin : 0;
}
int CSliderCtrl::GetRangeMax() const {
    return m_hWnd ? m_hWnd->rangeMax : 0;
}

void CSliderCtrl::SetPos(int pos) {
    if (m_hWnd)
        m_hWnd->pos =
            std::clamp(pos, m_hWnd->rangeMin, std::max(m_hWnd->rangeMin, m_hWnd->rangeMax));
}

int CSliderCtrl::GetPos() const {
    return m_hWnd ? m_hWnd->pos : 0;
}

CWnd* NewWrapperFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
        case ControlKind::GroupBox:
            return new CButton;
        case ControlKind::Edit:
        case ControlKind::MaskedEdit:
            return new CEdit;
        case ControlKind::ComboBox:
            return new CComboBox;
        case ControlKind::DateTime:
            return new CDateTimeCtrl;
        case ControlKind::Spin:
            return new CSpinButtonCtrl;
        case ControlKind::Slider:
            return new CSliderCtrl;
        case ControlKind::Static:
            return new CStatic;
        default:
            return new CWnd;
    }
}
