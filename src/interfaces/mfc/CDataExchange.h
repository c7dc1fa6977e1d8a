#pragma once
// Dialog data exchange: DoDataExchange binds member values to controls by id; the direction is
// m_bSaveAndValidate. A failed conversion or range check shows the framework's message, marks
// the exchange failed (later exchanges of the same pass do nothing) and UpdateData answers FALSE,
// so the dialog stays open.

#include <string>

#include "mfc/CWnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL save);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control `id` of the dialog; records it as the one a later failure refers to.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Shows nothing itself; marks the pass failed and remembers the control to focus.
    void Fail();
    bool Failed() const { return m_failed; }
    int FailedControl() const { return m_failedId; }
    int LastControl() const { return m_lastId; }

private:
    int m_lastId = 0;
    int m_failedId = 0;
    bool m_failed = false;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
// `id` is the first radio of a group; value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void DDX_CBString(CDataExchange* pDX, int id, CString& value);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minValue, double maxValue);
