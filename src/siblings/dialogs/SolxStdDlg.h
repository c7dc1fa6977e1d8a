#pragma once
// The standards manager: edits a working copy of the settings' standards (choose, rename,
// change the day, period, step and rules, add a copy, delete). Template 3003 (Chinese) / 3004.

#include <vector>

#include "mfc/CDialog.h"
#include "mfc/afxcmn.h"
#include "solx/SolxStdSet.h"

class SolxStdDlg : public CDialog {
public:
    SolxStdDlg(CWnd* parent, std::vector<SolxStdSet> standards, int current);

    // After IDOK: the edited standards and the chosen one.
    std::vector<SolxStdSet> m_stds;
    int m_nCur;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void DeclareMessageMap(CMessageMap& map) override;

private:
    void FillCombo();
    void LoadFields(const SolxStdSet& standard);
    void StoreFields(SolxStdSet& standard) const;
    bool StoreCurrent();
    void OnStdChosen();
    void OnNew();
    void OnDelete();

    CComboBox m_combo;
    CString m_name, m_start, m_end;
    int m_term = 0, m_month = 1, m_day = 1, m_eval = 0, m_twoPoint = 0, m_angleOn = 0, m_angle = 0;
    int m_step = 1;  // whole minutes
    double m_minPeriod = 0.0, m_required = 0.0;
};
