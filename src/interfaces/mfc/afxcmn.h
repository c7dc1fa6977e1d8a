#pragma once
// Control classes over the toolkit-neutral window state. Each one only reads and changes its
// window's state; none raises notifications (as with the real controls, a program's own
// SetCurSel or SetWindowText does not notify the parent). User actions that notify go through
// "mfc/UserInput.h".

#include <string>

#include "mfc/CWnd.h"

class CStatic : public CWnd {};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end);
    int GetCaret() const;
    void SetReadOnly(BOOL readOnly = TRUE);
    void SetModify(BOOL modified = TRUE);
    BOOL GetModify() const;
};

class CComboBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    // Selects item `index` (-1 clears the selection); CB_ERR when out of range.
    int SetCurSel(int index);
    int AddString(const wchar_t* text);
    int InsertString(int index, const wchar_t* text);  // -1 appends
    int DeleteString(int index);
    void ResetContent();
    void GetLBText(int index, CString& text) const;
    std::wstring GetLBTextString(int index) const;
    int GetLBTextLen(int index) const;
    // Exact, case-sensitive match from item `after` + 1 on; CB_ERR when none.
    int FindStringExact(int after, const wchar_t* text) const;
    // Selects the first item that starts with `text`; its index or CB_ERR.
    int SelectString(int after, const wchar_t* text);
};

class CDateTimeCtrl : public CWnd {
public:
    DWORD GetTime(SYSTEMTIME* time) const;  // GDT_VALID
    BOOL SetTime(const SYSTEMTIME* time);
};

// Spins and sliders report through OnHScroll/OnVScroll as CScrollBar, hence the base.
class CSpinButtonCtrl : public CScrollBar {
public:
    void SetRange(int lower, int upper);
    void SetRange32(int lower, int upper) { SetRange(lower, upper); }
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos);  // the previous position
    int GetPos() const;
};

class CSliderCtrl : public CScrollBar {
public:
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int pos);
    int GetPos() const;
};

// The object a window of `kind` is wrapped in when no object of the program is attached to it.
namespace solx::ui {
enum class ControlKind;
}
CWnd* NewWrapperFor(solx::ui::ControlKind kind);
