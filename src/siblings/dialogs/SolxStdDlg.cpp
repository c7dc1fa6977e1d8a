#include "SolxStdDlg.h"

#include <algorithm>

#include "brel/BrelLanguageSwitch.h"
#include "mfc/CDataExchange.h"
#include "mfc/afxwin.h"
#include "solx/SolxDataSet.h"

namespace {
constexpr int kStandards = 3201;
constexpr int kFixedDay = 24;  // the day combo's item after the 24 terms: a fixed month and day

// A time text "h:mm" read back; fails the exchange with a message when unreadable.
void DDX_Time(CDataExchange* pDX, int id, CString& text) {
    DDX_Text(pDX, id, text);
    if (!pDX->m_bSaveAndValidate || pDX->Failed()) return;
    const SolxDegree time(text, false);
    if (time.IsValid() && time.GetValue() >= 0.0 && time.GetValue() <= 24.0) return;
    AfxMessageBox(g_strCurLanguage == L"Chs" ? L"请输入 0:00～24:00 之间的时间。"
                                             : L"Please enter a time between 0:00 and 24:00.",
                  MB_ICONWARNING);
    pDX->Fail();
}
}  // namespace

SolxStdDlg::SolxStdDlg(CWnd* parent, std::vector<SolxStdSet> standards, int current)
    : CDialog(g_strCurLanguage == L"Chs" ? 3003 : 3004, parent),
      m_stds(std::move(standards)),
      m_nCur(std::clamp(current, 0, std::max(0, static_cast<int>(m_stds.size()) - 1))) {}

BOOL SolxStdDlg::OnInitDialog() {
    m_combo.SubclassDlgItem(kStandards, this);
    CComboBox* day = static_cast<CComboBox*>(GetDlgItem(3203));
    for (int i = 0; i < 24; ++i) day->AddString(SolxDate::GetTermName(i));
    day->AddString(g_strCurLanguage == L"Chs" ? L"指定日期" : L"Fixed date");
    FillCombo();
    if (!m_stds.empty()) LoadFields(m_stds[m_nCur]);
    UpdateData(FALSE);
    return TRUE;
}

void SolxStdDlg::DeclareMessageMap(CMessageMap& map) {
    CDialog::DeclareMessageMap(map);
    map.OnCommand(CBN_SELCHANGE, kStandards, [this] { OnStdChosen(); });
    map.OnCommand(BN_CLICKED, 3216, [this] { OnNew(); });
    map.OnCommand(BN_CLICKED, 3217, [this] { OnDelete(); });
}

void SolxStdDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, 3202, m_name);
    DDX_CBIndex(pDX, 3203, m_term);
    DDX_Text(pDX, 3204, m_month);
    DDV_MinMaxInt(pDX, m_month, 1, 12);
    DDX_Text(pDX, 3205, m_day);
    DDV_MinMaxInt(pDX, m_day, 1, 31);
    DDX_Time(pDX, 3206, m_start);
    DDX_Time(pDX, 3207, m_end);
    DDX_Text(pDX, 3208, m_step);
    DDV_MinMaxInt(pDX, m_step, kStepMinutesMin, kStepMinutesMax);
    DDX_Radio(pDX, 3209, m_eval);
    DDX_Check(pDX, 3211, m_twoPoint);
    DDX_Check(pDX, 3212, m_angleOn);
    DDX_Text(pDX, 3213, m_angle);
    DDV_MinMaxInt(pDX, m_angle, 0, 90);
    DDX_Text(pDX, 3214, m_minPeriod);
    DDV_MinMaxDouble(pDX, m_minPeriod, 0.0, 600.0);
    DDX_Text(pDX, 3215, m_required);
    DDV_MinMaxDouble(pDX, m_required, 0.0, 24.0);
}

void SolxStdDlg::FillCombo() {
    m_combo.ResetContent();
    for (const SolxStdSet& standard : m_stds) m_combo.AddString(standard.m_strName.c_str());
    m_combo.SetCurSel(m_nCur);
}

void SolxStdDlg::LoadFields(const SolxStdSet& s) {
    m_name = s.m_strName;
    m_term = s.m_nTerm < 0 ? kFixedDay : s.m_nTerm;
    m_month = s.m_nMonth;
    m_day = s.m_nDay;
    m_start = s.m_startTime.TimeFormat(false);
    m_end = s.m_endTime.TimeFormat(false);
    m_step = static_cast<int>(s.m_dStep);
    m_eval = s.m_nEvaluation ? 1 : 0;
    m_twoPoint = s.m_bTwoPoint;
    m_angleOn = s.m_bAngleLimit;
    m_angle = s.m_nAngleLimit;
    m_minPeriod = s.m_dMinPeriod;
    m_required = s.m_dRequired;
}

void SolxStdDlg::StoreFields(SolxStdSet& s) const {
    s.m_strName = m_name.str();
    s.m_nTerm = m_term == kFixedDay || m_term < 0 ? -1 : m_term;
    s.m_nMonth = m_month;
    s.m_nDay = m_day;
    s.m_startTime = SolxDegree(m_start, false);
    s.m_endTime = SolxDegree(m_end, false);
    s.m_dStep = m_step;
    s.m_nEvaluation = m_eval;
    s.m_bTwoPoint = m_twoPoint;
    s.m_bAngleLimit = m_angleOn;
    s.m_nAngleLimit = m_angle;
    s.m_dMinPeriod = m_minPeriod;
    s.m_dRequired = m_required;
}

// Stores the fields into the standard being edited; false when a field is invalid.
bool SolxStdDlg::StoreCurrent() {
    if (m_stds.empty()) return true;
    if (!UpdateData(TRUE)) return false;
    StoreFields(m_stds[m_nCur]);
    return true;
}

void SolxStdDlg::OnStdChosen() {
    const int sel = m_combo.GetCurSel();
    if (sel < 0 || !StoreCurrent()) {
        m_combo.SetCurSel(m_nCur);
        return;
    }
    m_nCur = sel;
    FillCombo();  // a renamed standard shows its new name
    LoadFields(m_stds[m_nCur]);
    UpdateData(FALSE);
}

void SolxStdDlg::OnNew() {
    if (!StoreCurrent()) return;
    SolxStdSet copy = m_stds.empty() ? SolxStdSet() : m_stds[m_nCur];
    copy.m_strName += g_strCurLanguage == L"Chs" ? L"(副本)" : L" (copy)";
    m_stds.push_back(copy);
    m_nCur = static_cast<int>(m_stds.size()) - 1;
    FillCombo();
    LoadFields(m_stds[m_nCur]);
    UpdateData(FALSE);
}

// The last standard stays: the settings always have one.
void SolxStdDlg::OnDelete() {
    if (m_stds.size() <= 1) return;
    m_stds.erase(m_stds.begin() + m_nCur);
    m_nCur = std::min(m_nCur, static_cast<int>(m_stds.size()) - 1);
    FillCombo();
    LoadFields(m_stds[m_nCur]);
    UpdateData(FALSE);
}

void SolxStdDlg::OnOK() {
    if (StoreCurrent()) EndDialog(IDOK);
}

int SunStdDlgDoModal(CWnd* parent) {
    SolxStdDlg dialog(parent, g_SunDataSet.m_stds, g_SunDataSet.m_nCurStd);
    const auto result = static_cast<int>(dialog.DoModal());
    if (result != IDOK) return result;
    g_SunDataSet.m_stds = dialog.m_stds;
    g_SunDataSet.m_nCurStd = dialog.m_nCur;
    g_SunDataSet.SaveUserStandards();
    return result;
}
