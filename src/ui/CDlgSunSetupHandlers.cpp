// Handlers of the common setup dialog: standard, place, solar term, date and "standard time".

#include "host/VxUtPushResource.h"
#include "CDlgSunSetup.h"
#include "solx/SolxDataSet.h"

void CDlgSunSetup::OnStdChanged() {
    ChangeStandard(true);
}

// The last item of the standards combo opens the standards manager; any other item selects
// that standard and takes its day and times (and its step, when takeStep).
void CDlgSunSetup::ChangeStandard(bool takeStep) {
    const int sel = m_comboStd.GetCurSel();
    if (sel < 0) return;
    if (sel + 1 < m_comboStd.GetCount()) {
        g_SunDataSet.m_nCurStd = sel;
        TakeStandardDay(takeStep);
        return;
    }
    if (SunStdDlgDoModal(this) != IDOK) {
        m_comboStd.SetCurSel(g_SunDataSet.m_nCurStd);
        return;
    }
    RefreshStdCombo();
    m_comboStd.AddString(ManagerItemText());
    TakeStandardDay(takeStep);
}

void CDlgSunSetup::OnStdTime() {
    TakeStandardDay(true);
}

void CDlgSunSetup::TakeStandardDay(bool takeStep) {
    if (!UpdateData(TRUE)) return;
    SolxDataSet& s = g_SunDataSet;
    s.m_date = s.CurDate();
    s.m_date.LoadTermData();
    double second = 0.0;
    s.CurStd().m_startTime.getDegree(s.m_nStartHour, s.m_nStartMinute, second);
    s.CurStd().m_endTime.getDegree(s.m_nEndHour, s.m_nEndMinute, second);
    s.m_startTime.setDegree(s.m_nStartHour, s.m_nStartMinute, 0);
    s.m_endTime.setDegree(s.m_nEndHour, s.m_nEndMinute, 0);
    if (takeStep) s.m_nStep = static_cast<int>(s.CurStd().m_dStep);
    UpdateData(FALSE);
}

void CDlgSunSetup::OnPlaceChanged() {
    const int sel = m_comboPlace.GetCurSel();
    if (sel < 0) return;
    SolxDataSet& s = g_SunDataSet;
    if (sel + 1 == m_comboPlace.GetCount()) {
        OnChoosePlace();
        m_comboPlace.SetCurSel(m_comboPlace.FindStringExact(-1, s.m_strPlace.c_str()));
        return;
    }
    s.m_strPlace = m_comboPlace.GetLBTextString(sel);
    if (FindPlaceDlgZone(s.m_strPlace, s.m_zone)) {
        if (UpdateData(TRUE)) UpdateData(FALSE);
        return;
    }
    CString message;
    message.Format(VxUtLangText(L"请在地区数据库中建立 %s 的位置数据"), s.m_strPlace.c_str());
    AfxMessageBox(message);
    s.m_strPlace = s.m_zone.m_strName;
    m_comboPlace.SetCurSel(m_comboPlace.FindStringExact(-1, s.m_strPlace.c_str()));
}

void CDlgSunSetup::OnChoosePlace() {
    if (PlaceDlgDoModal() != IDOK) return;
    if (!UpdateData(TRUE)) return;
    SolxDataSet& s = g_SunDataSet;
    const std::wstring& name = s.m_zone.m_strName;
    int at = m_comboPlace.FindStringExact(-1, name.c_str());
    if (at == CB_ERR) {
        at = m_comboPlace.InsertString(m_comboPlace.GetCount() - 1, name.c_str());
        s.m_cities.emplace_back(name);
    }
    m_comboPlace.SetCurSel(at);
    s.m_strPlace = name;
    UpdateData(FALSE);
}

void CDlgSunSetup::OnTermChanged() {
    const int sel = m_comboTerm.GetCurSel();
    if (sel < 0 || !UpdateData(TRUE)) return;
    SolxDate& date = g_SunDataSet.m_date;
    const int year = date.GetYear();
    date.SetDate(date.GetTerm(sel));  // a month-and-day text keeps the year
    if (date.GetYear() != year) date.SetDate(year, date.GetMonth(), date.GetDay());
    UpdateData(FALSE);
}

void CDlgSunSetup::OnDateChanged(NMHDR* header, LRESULT* result) {
    if (!UpdateData(TRUE)) return;
    const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(header);
    g_SunDataSet.m_date.SetDate(change->st.wYear, change->st.wMonth, change->st.wDay);
    UpdateData(FALSE);
    *result = 0;
}
