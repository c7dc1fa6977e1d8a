#pragma once
// Setup dialogs of the point commands. CClientScopeDlg adds the calculation height (edit 2055)
// to the CDlgSunSetup2 family: it starts at the remembered calculation height and is shown in
// drawing units. CSinglePointDlg ("遮挡范围", templates 2006 / 2028) edits the single-point
// step: while it exists the settings' step is that step, which keeps what was last edited.

#include "CDlgSunSetup2.h"

class CClientScopeDlg : public CDlgSunSetup2 {
public:
    CClientScopeDlg(UINT templateId, CWnd* parent = nullptr);

    // The height, millimetres (g_dSunCalHeight when the dialog was made).
    double m_dHeight = 0.0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CSinglePointDlg : public CClientScopeDlg {
public:
    explicit CSinglePointDlg(CWnd* parent = nullptr, const wchar_t* title = nullptr);
    ~CSinglePointDlg() override;

protected:
    BOOL OnInitDialog() override;
};

// The single-point step (minutes), 10 at load; kept between runs while the module is loaded.
int& SinglePointStep();
