#pragma once
// Setup dialog of the window sunlight table: the common settings plus the output options (sort
// order, the minimum sunlight a window needs and its unit, only unsatisfied windows). The
// options are remembered for the life of the module.

#include "CDlgSunSetup.h"

struct WinTableOptions {
    int sortMode = 1;         // 0 by floor, 1 by window number
    double minTime = 1.0;     // in the unit below
    int minInMinutes = 0;     // 0 hours, 1 minutes
    int onlyUnsatisfied = 0;  // output only windows below the minimum
    int skipUpper = 1;        // hidden option kept for the templates; nothing reads it
};
WinTableOptions& WinTableRemembered();

class CWinTableDlg : public CDlgSunSetup {
public:
    // Template 2010 in Chinese, else 2045.
    explicit CWinTableDlg(CWnd* parent = nullptr);

    // The common parameters, the sort mode and the minimum in hours.
    void GetParameters(double& longitude, double& latitude, double& declination,
                       double& timeCorrection, int& startMinute, int& endMinute, int& stepMinutes,
                       int& noAngleLimit, int& sortMode, double& minHours) const;
    // N of the drawing scale 1:N shown and edited in the dialog (the drawing's at first); the
    // caller stores it in the drawing after OK.
    double GetDrawingScale() const { return m_drawingScale; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;

private:
    void OnSortChanged();

    double m_drawingScale;
};
