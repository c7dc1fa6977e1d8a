#include "mfc/CDataExchange.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>
#include <cwctype>

#include "acad/AcEdHostText.h"
#include "mfc/WindowState.h"
#include "mfc/afxcmn.h"
#include "mfc/afxwin.h"

using solx::ui::ControlKind;

CDataExchange::CDataExchange(CWnd* dialog, BOOL save)
    : m_bSaveAndValidate(save), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    m_lastId = id;
    CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    return control ? control->m_hWnd : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    return PrepareCtrl(id);
}

void CDataExchange::Fail() {
    if (m_failed) return;
    m_failed = true;
    m_failedId = m_lastId;
}

namespace {

// The control for one exchange; null when the pass already failed or the id is unknown.
HWND Control(CDataExchange* pDX, int id) {
    return pDX->Failed() ? nullptr : pDX->PrepareCtrl(id);
}

bool OnlySpaceFrom(const wchar_t* rest) {
    while (*rest && std::iswspace(static_cast<wint_t>(*rest))) ++rest;
    return *rest == 0;
}

// A whole int; a number outside int's range is refused, not cut to fit.
bool ParseInt(const std::wstring& text, int& value) {
    wchar_t* end = nullptr;
    errno = 0;
    const long parsed = std::wcstol(text.c_str(), &end, 10);
    if (end == text.c_str() || !OnlySpaceFrom(end)) return false;
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

// A finite number: "nan", "inf" and values beyond the double range are not numbers a dialog
// field can stand for (and NaN passes every range check).
bool ParseDouble(const std::wstring& text, double& value) {
    wchar_t* end = nullptr;
    const double parsed = std::wcstod(text.c_str(), &end);
    if (end == text.c_str() || !OnlySpaceFrom(end) || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

void FailWith(CDataExchange* pDX, const CString& message) {
    AfxMessageBox(message, MB_ICONWARNING);
    pDX->Fail();
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND window = pDX->PrepareCtrl(id);
    if (window && !window->object) control.Attach(window);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    HWND window = Control(pDX, id);
    if (!window) return;
    if (pDX->m_bSaveAndValidate)
        value = window->text;
    else
        window->text = value.str();
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    HWND window = Control(pDX, id);
    if (!window) return;
    if (!pDX->m_bSaveAndValidate) {
        window->text = std::to_wstring(value);
    } else if (!ParseInt(window->text, value)) {
        FailWith(pDX, solx::editor::HostText(L"Please enter an integer."));
    }
}

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    HWND window = Control(pDX, id);
    if (!window) return;
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format(L"%.15g", value);
        window->text = text.str();
    } else if (!ParseDouble(window->text, value)) {
        FailWith(pDX, solx::editor::HostText(L"Please enter a number."));
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND window = Control(pDX, id);
    if (!window) return;
    if (pDX->m_bSaveAndValidate)
        value = window->check;
    else
        window->check = value;
}

// The radios of one group: from `first` to the next control that starts a group.
void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    HWND first = Control(pDX, id);
    if (!first || !first->parent) return;
    auto& siblings = first->parent->children;
    bool inGroup = false;
    int index = 0;
    if (pDX->m_bSaveAndValidate) value = -1;
    for (auto& sibling : siblings) {
        if (sibling.get() == first)
            inGroup = true;
        else if (inGroup && (sibling->groupStart || sibling->kind != ControlKind::Radio))
            break;
        if (!inGroup) continue;
        if (pDX->m_bSaveAndValidate && sibling->check) value = index;
        if (!pDX->m_bSaveAndValidate) sibling->check = index == value ? BST_CHECKED : BST_UNCHECKED;
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    HWND window = Control(pDX, id);
    if (!window) return;
    CComboBox* combo = static_cast<CComboBox*>(CWnd::FromHandle(window));
    if (pDX->m_bSaveAndValidate)
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value) {
    HWND window = Control(pDX, id);
    if (!window) return;
    if (pDX->m_bSaveAndValidate) {
        value = window->text;
        return;
    }
    auto* combo = static_cast<CComboBox*>(CWnd::FromHandle(window));
    if (combo->SelectString(-1, value) == CB_ERR) window->text = value.str();
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue) {
    if (!pDX->m_bSaveAndValidate || pDX->Failed()) return;
    if (value >= minValue && value <= maxValue) return;
    FailWith(pDX, solx::editor::HostTextf(L"Please enter an integer between %d and %d.", minValue,
                                          maxValue)
                      .c_str());
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minValue, double maxValue) {
    if (!pDX->m_bSaveAndValidate || pDX->Failed()) return;
    if (value >= minValue && value <= maxValue) return;
    FailWith(pDX, solx::editor::HostTextf(L"Please enter a number between %.15g and %.15g.",
                                          minValue, maxValue)
                      .c_str());
}
