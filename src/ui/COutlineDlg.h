#pragma once
// Setup dialog of the shadow outlines ("阴影轮廓"): the common settings with the contour step
// (the remembered step of the CDlgSunSetup3 family, 60 minutes at load), the switch between
// several moments (start, end and step) and one moment (its time in the edit 2015, which lies
// over the start edit), and the calculation height. The switch and the moment are remembered
// for the life of the module.

#include "CDlgSunSetup2.h"
#include "SolxTimeEdit.h"

struct OutlineOptions {
    int severalMoments = 1;  // the check box "计算多个时刻"
    int momentHour = 11;     // the single moment
    int momentMinute = 0;
};
OutlineOptions& OutlineRemembered();

class COutlineDlg : public CDlgSunSetup3 {
public:
    // Template 2008 in Chinese, else 2034. The height starts at the remembered calculation
    // height (g_dSunCalHeight, millimetres) in drawing units.
    explicit COutlineDlg(CWnd* parent = nullptr);

    // The calculation height in drawing units, as confirmed.
    double m_dHeight = 0.0;

    // The period of the drawing in minutes after midnight and the step: with one moment, start
    // and end are both that moment.
    void GetMoments(int& startMinute, int& endMinute, int& stepMinutes) const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;

private:
    // Shows the start edit or the moment edit and enables the period controls.
    void ApplyMode();
    void OnSeveralClicked();

    SolxTimeEdit m_momentEdit;  // 2015
};
