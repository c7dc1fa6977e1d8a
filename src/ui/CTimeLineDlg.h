#pragma once
// Setup dialog of the equal-hour lines ("等照时线"): the common settings, the hour levels (hours
// or minutes), plan or facade lines, the micro-region or the fitting method, the calculation
// height, the grid size, smoothing and the number grid with its label spacing. The choices are
// remembered for the life of the module; the height is the shared g_dSunCalHeight.

#include <string>

#include "CDlgSunSetup.h"

// The command's own settings as the user left them last time.
struct EqualHourSettings {
    std::wstring levelsText = L"1,";  // "等照时间序列:"
    int levelsInMinutes = 0;          // 0 hours, 1 minutes
    int method = 1;                   // 0 micro-region method, 1 fitting method
    int facadeMode = 0;               // 0 plan lines, 1 facade lines
    double gridSizeMm = 1000.0;       // grid of the fitting method and the facades, millimetres
    int smoothing = 1;                // fitted lines become spline-fitted polylines
    int showNumberGrid = 0;
    int labelSpacing = 1;  // number-grid labels every this many cells
};
EqualHourSettings& EqualHourRemembered();

class CTimeLineDlg : public CDlgSunSetup {
public:
    // Template 2018 in Chinese, else 2039. The height starts at g_dSunCalHeight in drawing
    // units.
    explicit CTimeLineDlg(CWnd* parent = nullptr);

    // The calculation height in drawing units, as confirmed.
    double m_dHeight = 0.0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;

private:
    // Stores the controls (which applies the rules) and shows the result.
    void OnModeClicked();
    // Facade lines are fitted: the method follows the mode.
    void ApplyRules();
    void EnableControls();

    double m_dGridSize = 0.0;  // drawing units while the dialog is open
};
