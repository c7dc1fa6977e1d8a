#include "CDlgSunSetup.h"

#include <ctime>
#include <cwchar>

#include "host/VxUtPushResource.h"
#include "mfc/CDataExchange.h"
#include "solx/SolxDataSet.h"

namespace {
constexpr int kStd = 2039;
constexpr int kPlace = 2004;
constexpr int kTerm = 2014;
constexpr int kDate = 2046;
constexpr int kStep = 2018;

SYSTEMTIME DateWithTimeOfDayNow(const SolxDate& date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    SYSTEMTIME time;
    time.wYear = static_cast<WORD>(date.GetYear());
    time.wMonth = static_cast<WORD>(date.GetMonth());
    time.wDay = static_cast<WORD>(date.GetDay());
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);
    return time;
}

void HourMinute(const SolxDegree& time, int& hour, int& minute) {
    double second = 0.0;
    time.getDegree(hour, minute, second);
}
}  // namespace

CDlgSunSetup::CDlgSunSetup(UINT templateId, CWnd* parent)
    : VxUiDialog(templateId, parent),
      m_sharedStep(g_SunDataSet.m_nStep),
      m_sharedStepValue(g_SunDataSet.m_dStep) {
    CreatPlaceDlg(this);
    FindPlaceDlgZone(g_SunDataSet.m_strPlace, g_SunDataSet.m_zone);
}

void CDlgSunSetup::GetSunSetting(double& longitude, double& latitude, double& declination,
                                 double& timeCorrection, int& startMinute, int& endMinute,
                                 int& stepMinutes, int& noAngleLimit) {
    g_SunDataSet.GetSunSetting(longitude, latitude, declination, timeCorrection, startMinute,
                               endMinute, stepMinutes, noAngleLimit);
}

const wchar_t* CDlgSunSetup::ManagerItemText() {
    return VxUtLangText(L"配置管理器...");
}

BOOL CDlgSunSetup::OnInitDialog() {
    VxUiDialog::OnInitDialog();  // binds the controls
    InitDlgBaseData(false);
    UpdateData(FALSE);
    m_comboStd.AddString(ManagerItemText());
    if (m_pCaption) SetWindowText(m_pCaption);
    return TRUE;
}

void CDlgSunSetup::DeclareMessageMap(CMessageMap& map) {
    VxUiDialog::DeclareMessageMap(map);
    map.OnCommand(CBN_SELCHANGE, kStd, [this] { OnStdChanged(); });
    map.OnCommand(CBN_SELCHANGE, kPlace, [this] { OnPlaceChanged(); });
    map.OnCommand(CBN_SELCHANGE, kTerm, [this] { OnTermChanged(); });
    map.OnCommand(BN_CLICKED, 2042, [this] { OnChoosePlace(); });
    map.OnCommand(BN_CLICKED, 2069, [this] { OnStdTime(); });
    map.OnNotify(DTN_DATETIMECHANGE, kDate, [this](NMHDR* h, LRESULT* r) { OnDateChanged(h, r); });
}

void CDlgSunSetup::DoDataExchange(CDataExchange* pDX) {
    VxUiDialog::DoDataExchange(pDX);
    BindBaseControls(pDX);
    DDX_Control(pDX, 2048, m_startEdit);
    DDX_Control(pDX, 2049, m_endEdit);
    DDX_CBIndex(pDX, kStd, g_SunDataSet.m_nCurStd);
    ExchangePlace(pDX);
    DDX_Text(pDX, kStep, g_SunDataSet.m_nStep);
    DDV_MinMaxInt(pDX, g_SunDataSet.m_nStep, kStepMinutesMin, kStepMinutesMax);
    if (pDX->Failed()) return;
    if (pDX->m_bSaveAndValidate && !ValidateTimes(pDX)) return;
    if (pDX->m_bSaveAndValidate)
        StoreSettings(pDX);
    else
        LoadSettings(pDX);
}

// The place combo shows the settings' place name (exact match; prefixes would pick the wrong
// town) and stores the chosen item's text.
void CDlgSunSetup::ExchangePlace(CDataExchange* pDX) {
    if (pDX->Failed() || !pDX->PrepareCtrl(kPlace)) return;
    if (!pDX->m_bSaveAndValidate) {
        m_comboPlace.SetCurSel(m_comboPlace.FindStringExact(-1, g_SunDataSet.m_strPlace.c_str()));
        return;
    }
    const int sel = m_comboPlace.GetCurSel();
    if (sel >= 0 && sel + 1 < m_comboPlace.GetCount())
        g_SunDataSet.m_strPlace = m_comboPlace.GetLBTextString(sel);
}

// Start and end must be times of day, the start not after the end; otherwise the message of
// the edit at fault, which gets the focus, and the dialog stays open.
bool CDlgSunSetup::ValidateTimes(CDataExchange* pDX) {
    const int start = m_startEdit.GetHour() * 60 + m_startEdit.GetMinute();
    const int end = m_endEdit.GetHour() * 60 + m_endEdit.GetMinute();
    const bool startBad = !m_startEdit.IsValid() || (m_endEdit.IsValid() && start > end);
    if (!startBad && m_endEdit.IsValid()) return true;
    pDX->PrepareCtrl(startBad ? 2048 : 2049);
    AfxMessageBox(VxUtLangText(startBad ? L"无效的开始时间" : L"无效的结束时间"), MB_ICONWARNING);
    pDX->Fail();
    return false;
}

void CDlgSunSetup::StoreSettings(CDataExchange*) {
    SolxDataSet& s = g_SunDataSet;
    SYSTEMTIME date;
    m_dateCtrl.GetTime(&date);
    s.m_date.SetDate(date.wYear, date.wMonth, date.wDay);
    s.m_nStartHour = m_startEdit.GetHour();
    s.m_nStartMinute = m_startEdit.GetMinute();
    s.m_startTime.setDegree(s.m_nStartHour, s.m_nStartMinute, 0);
    s.m_nEndHour = m_endEdit.GetHour();
    s.m_nEndMinute = m_endEdit.GetMinute();
    s.m_endTime.setDegree(s.m_nEndHour, s.m_nEndMinute, 0);
    s.m_dStep = s.m_nStep;
}

void CDlgSunSetup::LoadSettings(CDataExchange*) {
    SolxDataSet& s = g_SunDataSet;
    m_comboTerm.SetCurSel(s.m_date.GetSTermIndex());
    const SYSTEMTIME date = DateWithTimeOfDayNow(s.m_date);
    m_dateCtrl.SetTime(&date);
    HourMinute(s.m_startTime, s.m_nStartHour, s.m_nStartMinute);
    m_startEdit.SetHour(s.m_nStartHour);
    m_startEdit.SetMinute(s.m_nStartMinute);
    HourMinute(s.m_endTime, s.m_nEndHour, s.m_nEndMinute);
    m_endEdit.SetHour(s.m_nEndHour);
    m_endEdit.SetMinute(s.m_nEndMinute);
    ShowPosition();
}

void CDlgSunSetup::ShowPosition() {
    const SolxZoneRecord& zone = g_SunDataSet.m_zone;
    int degree = 0, minute = 0;
    CString text;
    zone.GetLatitude(degree, minute);
    text.Format(VxUtLangText(L"%d度%d分"), degree, minute);
    SetDlgItemText(2005, text);
    zone.GetLongitude(degree, minute);
    text.Format(VxUtLangText(L"%d度%d分"), degree, minute);
    SetDlgItemText(2006, text);
    const double longitude = std::wcstod(zone.m_strLongitude.c_str(), nullptr);
    const SolxDegree difference((120.0 - longitude) / 15.0 - g_SunDataSet.m_date.GetDgTime());
    SetDlgItemText(2045, difference.TimeFormat(false).c_str());
}

// The drawing takes the settings only from a confirmed dialog, and only when they differ from
// what it holds; a cancelled dialog's edits stay in the session's settings (docs/decisions.md).
// A family with its own step writes the shared step, never its own.
void CDlgSunSetup::OnDestroy() {
    if (IsModalEnded() && ModalResult() == IDOK) {
        SolxDataSet& s = g_SunDataSet;
        if (HasOwnStep()) {
            const int ownStep = s.m_nStep;
            const double ownStepValue = s.m_dStep;
            s.m_nStep = m_sharedStep;
            s.m_dStep = m_sharedStepValue;
            s.SaveSunDataSetDict(&g_dictSunSet);
            s.m_nStep = ownStep;
            s.m_dStep = ownStepValue;
        } else {
            s.SaveSunDataSetDict(&g_dictSunSet);
        }
    }
    VxUiDialog::OnDestroy();
}
