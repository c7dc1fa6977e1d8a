#pragma once
// Setup dialog of the grid analysis ("多点分析"): the common settings, the calculation height,
// the grid size and the detailed output box. The grid size (millimetres) and the detailed
// output value are remembered for the life of the module.

#include "CDlgSunSetup.h"

struct MultiPointOptions {
    double gridSizeMm = 1000.0;  // shown and typed in drawing units
    int detailed = 0;            // mirrored into g_bMAOutputDetail after OK
};
MultiPointOptions& MultiPointRemembered();

class CMultiPointDlg : public CDlgSunSetup {
public:
    // Template 2005 in Chinese, else 2030. The height starts at the remembered calculation
    // height (g_dSunCalHeight, millimetres) in drawing units, the box at g_bMAOutputDetail.
    explicit CMultiPointDlg(CWnd* parent = nullptr);

    double m_dHeight = 0.0;  // drawing units, as confirmed
    int m_bDetailed = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
