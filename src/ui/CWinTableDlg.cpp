#include "CWinTableDlg.h"

#include "brel/BrelLanguageSwitch.h"
#include "brel/VxDrawingScale.h"
#include "host/VxUtPushResource.h"
#include "mfc/CDataExchange.h"

WinTableOptions& WinTableRemembered() {
    static WinTableOptions options;
    return options;
}

CWinTableDlg::CWinTableDlg(CWnd* parent)
    : CDlgSunSetup(g_strCurLanguage == L"Chs" ? 2010 : 2045, parent),
      m_drawingScale(VxDrawingScale(nullptr)) {
    m_pCaption = VxUtLangText(L"窗日照表");  // both templates carry the Chinese caption
}

void CWinTableDlg::DoDataExchange(CDataExchange* pDX) {
    CDlgSunSetup::DoDataExchange(pDX);
    WinTableOptions& options = WinTableRemembered();
    DDX_Radio(pDX, 2070, options.sortMode);
    DDX_Text(pDX, 2072, options.minTime);
    DDX_Radio(pDX, 2073, options.minInMinutes);
    DDX_Check(pDX, 2075, options.onlyUnsatisfied);
    DDX_Check(pDX, 2076, options.skipUpper);
    DDX_Text(pDX, 2077, m_drawingScale);
    DDV_MinMaxDouble(pDX, m_drawingScale, kVxMinDrawingScale, kVxMaxDrawingScale);
    if (!pDX->m_bSaveAndValidate) {
        if (CWnd* upper = GetDlgItem(2076)) upper->EnableWindow(options.sortMode == 1);
    }
}

void CWinTableDlg::DeclareMessageMap(CMessageMap& map) {
    CDlgSunSetup::DeclareMessageMap(map);
    map.OnCommand(BN_CLICKED, 2070, [this] { OnSortChanged(); });
    map.OnCommand(BN_CLICKED, 2071, [this] { OnSortChanged(); });
}

// The choice is stored at once, so the enabling of the dependent option follows it.
void CWinTableDlg::OnSortChanged() {
    if (UpdateData(TRUE)) UpdateData(FALSE);
}

void CWinTableDlg::GetParameters(double& longitude, double& latitude, double& declination,
                                 double& timeCorrection, int& startMinute, int& endMinute,
                                 int& stepMinutes, int& noAngleLimit, int& sortMode,
                                 double& minHours) const {
    GetSunSetting(longitude, latitude, declination, timeCorrection, startMinute, endMinute,
                  stepMinutes, noAngleLimit);
    const WinTableOptions& options = WinTableRemembered();
    sortMode = options.sortMode;
    minHours = options.minInMinutes ? options.minTime / 60.0 : options.minTime;
}
