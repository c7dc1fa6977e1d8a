#include "COutlineDlg.h"

#include "analysis/SolxFrame.h"
#include "brel/BrelLanguageSwitch.h"
#include "host/VxUtPushResource.h"
#include "mfc/CDataExchange.h"
#include "solx/SolxDataSet.h"

namespace {
constexpr int kStartLabel = 2060;
constexpr int kSeveral = 2059;
constexpr int kMoment = 2015;
constexpr int kStart = 2048;
constexpr int kEnd = 2049;
constexpr int kStep = 2018;
constexpr int kStepSpin = 2019;
constexpr int kHeight = 2055;
}  // namespace

OutlineOptions& OutlineRemembered() {
    static OutlineOptions options;
    return options;
}

COutlineDlg::COutlineDlg(CWnd* parent)
    : CDlgSunSetup3(g_strCurLanguage == L"Chs" ? 2008 : 2034, parent),
      m_dHeight(g_dSunCalHeight * DrawUnitScale()) {
    m_pCaption = VxUtLangText(L"阴影轮廓");  // both templates carry the Chinese caption
}

BOOL COutlineDlg::OnInitDialog() {
    CDlgSunSetup3::OnInitDialog();
    m_spinStep.SetRange(kStepMinutesMin, kStepMinutesMax);
    ApplyMode();
    return TRUE;
}

void COutlineDlg::DoDataExchange(CDataExchange* pDX) {
    CDlgSunSetup3::DoDataExchange(pDX);
    if (pDX->Failed()) return;
    OutlineOptions& options = OutlineRemembered();
    DDX_Control(pDX, kMoment, m_momentEdit);
    DDX_Check(pDX, kSeveral, options.severalMoments);
    DDX_Text(pDX, kHeight, m_dHeight);
    if (pDX->Failed()) return;
    if (pDX->m_bSaveAndValidate) {
        options.momentHour = m_momentEdit.GetHour();
        options.momentMinute = m_momentEdit.GetMinute();
    } else {
        m_momentEdit.SetHour(options.momentHour);
        m_momentEdit.SetMinute(options.momentMinute);
    }
}

void COutlineDlg::DeclareMessageMap(CMessageMap& map) {
    CDlgSunSetup3::DeclareMessageMap(map);
    map.OnCommand(BN_CLICKED, kSeveral, [this] { OnSeveralClicked(); });
}

void COutlineDlg::OnSeveralClicked() {
    UpdateData(TRUE);
    ApplyMode();
}

void COutlineDlg::ApplyMode() {
    const bool several = OutlineRemembered().severalMoments != 0;
    SetDlgItemText(kStartLabel, VxUtLangText(several ? L"开始:" : L"时刻:"));
    for (int id : {kStep, kStepSpin, kEnd})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(several);
    if (CWnd* start = GetDlgItem(kStart)) start->ShowWindow(several ? SW_SHOW : SW_HIDE);
    if (CWnd* moment = GetDlgItem(kMoment)) moment->ShowWindow(several ? SW_HIDE : SW_SHOW);
}

void COutlineDlg::GetMoments(int& startMinute, int& endMinute, int& stepMinutes) const {
    double longitude = 0, latitude = 0, declination = 0, correction = 0;
    int noAngleLimit = 0;
    GetSunSetting(longitude, latitude, declination, correction, startMinute, endMinute, stepMinutes,
                  noAngleLimit);
    const OutlineOptions& options = OutlineRemembered();
    if (!options.severalMoments)
        startMinute = endMinute = options.momentHour * 60 + options.momentMinute;
}
