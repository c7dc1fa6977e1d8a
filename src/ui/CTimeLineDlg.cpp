#include "CTimeLineDlg.h"

#include "analysis/SolxFrame.h"
#include "brel/BrelLanguageSwitch.h"
#include "host/VxUtPushResource.h"
#include "mfc/CDataExchange.h"
#include "mfc/afxcmn.h"

namespace {
constexpr int kLevels = 2090;
constexpr int kHours = 2073;
constexpr int kPlan = 2093;
constexpr int kFacade = 2094;
constexpr int kMicroRegion = 2095;
constexpr int kFitting = 2096;
constexpr int kHeight = 2055;
constexpr int kGridSize = 2057;
constexpr int kSmoothing = 2099;
constexpr int kNumberGrid = 2100;
constexpr int kLabelSpacing = 2101;
}  // namespace

EqualHourSettings& EqualHourRemembered() {
    static EqualHourSettings settings;
    return settings;
}

CTimeLineDlg::CTimeLineDlg(CWnd* parent)
    : CDlgSunSetup(g_strCurLanguage == L"Chs" ? 2018 : 2039, parent),
      m_dHeight(g_dSunCalHeight * DrawUnitScale()) {
    m_pCaption = VxUtLangText(L"等照时线");  // both templates carry the Chinese caption
}

BOOL CTimeLineDlg::OnInitDialog() {
    m_dGridSize = EqualHourRemembered().gridSizeMm * DrawUnitScale();
    CDlgSunSetup::OnInitDialog();
    EnableControls();
    return TRUE;
}

void CTimeLineDlg::DoDataExchange(CDataExchange* pDX) {
    CDlgSunSetup::DoDataExchange(pDX);
    if (pDX->Failed()) return;
    EqualHourSettings& s = EqualHourRemembered();
    CString levels(s.levelsText.c_str());
    DDX_Text(pDX, kLevels, levels);
    DDX_Radio(pDX, kHours, s.levelsInMinutes);
    DDX_Radio(pDX, kPlan, s.facadeMode);
    DDX_Radio(pDX, kMicroRegion, s.method);
    DDX_Text(pDX, kHeight, m_dHeight);
    DDX_Text(pDX, kGridSize, m_dGridSize);
    DDX_Check(pDX, kSmoothing, s.smoothing);
    DDX_Check(pDX, kNumberGrid, s.showNumberGrid);
    DDX_Text(pDX, kLabelSpacing, s.labelSpacing);
    if (pDX->Failed() || !pDX->m_bSaveAndValidate) return;
    s.levelsText = levels.GetString();
    s.gridSizeMm = m_dGridSize / DrawUnitScale();
    g_dSunCalHeight = m_dHeight / DrawUnitScale();
    ApplyRules();
}

void CTimeLineDlg::DeclareMessageMap(CMessageMap& map) {
    CDlgSunSetup::DeclareMessageMap(map);
    for (int id : {kPlan, kFacade, kMicroRegion, kFitting, kNumberGrid})
        map.OnCommand(BN_CLICKED, id, [this] { OnModeClicked(); });
}

void CTimeLineDlg::OnModeClicked() {
    if (!UpdateData(TRUE)) return;
    const int method = EqualHourRemembered().method;
    for (int id : {kMicroRegion, kFitting})
        if (CWnd* radio = GetDlgItem(id))
            static_cast<CButton*>(radio)->SetCheck(id == kMicroRegion + method);
    EnableControls();
}

void CTimeLineDlg::ApplyRules() {
    EqualHourSettings& s = EqualHourRemembered();
    if (s.facadeMode) s.method = 1;
}

void CTimeLineDlg::EnableControls() {
    const EqualHourSettings& s = EqualHourRemembered();
    const bool fitting = s.method == 1;
    const bool plan = s.facadeMode == 0;
    auto enable = [this](int id, bool on) {
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
    };
    enable(kGridSize, fitting);
    enable(kSmoothing, fitting);
    enable(kNumberGrid, fitting);
    enable(kLabelSpacing, fitting && s.showNumberGrid);
    enable(kHeight, plan);
    enable(kMicroRegion, plan);
}
