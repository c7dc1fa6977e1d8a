#include "solx/SolxDataSetDlgBase.h"
#include "solx/SolxText.h"

#include "SolxPlaceDlg.h"
#include "brel/BrelLanguageSwitch.h"
#include "mfc/CDataExchange.h"
#include "mfc/afxwin.h"
#include "solx/SolxDataSet.h"

SolxDataSetDlgBase::SolxDataSetDlgBase() = default;
SolxDataSetDlgBase::~SolxDataSetDlgBase() = default;

const wchar_t* SolxDataSetDlgBase::MorePlacesText() {
    return g_strCurLanguage == L"Chs" ? L"其他地点..." : L"More places...";
}

void SolxDataSetDlgBase::BindBaseControls(CDataExchange* pDX) {
    DDX_Control(pDX, 2039, m_comboStd);
    DDX_Control(pDX, 2004, m_comboPlace);
    DDX_Control(pDX, 2014, m_comboTerm);
    DDX_Control(pDX, 2046, m_dateCtrl);
    DDX_Control(pDX, 2019, m_spinStep);
}

void SolxDataSetDlgBase::InitDlgBaseData(bool reload) {
    if (reload) g_SunDataSet.LoadSunDataSetDict(&g_dictSunSet);
    RefreshStdCombo();
    m_comboPlace.ResetContent();
    for (const SolxCity& city : g_SunDataSet.m_cities)
        m_comboPlace.AddString(city.m_strName.c_str());
    const wchar_t* place = g_SunDataSet.m_strPlace.c_str();
    if (m_comboPlace.FindStringExact(-1, place) == CB_ERR) m_comboPlace.AddString(place);
    m_comboPlace.AddString(MorePlacesText());
    m_comboPlace.SetCurSel(m_comboPlace.FindStringExact(-1, place));
    m_comboTerm.ResetContent();
    for (int i = 0; i < 24; ++i) m_comboTerm.AddString(SolxText(SolxDate::GetTermName(i)));
}

void SolxDataSetDlgBase::RefreshStdCombo() {
    m_comboStd.ResetContent();
    for (const SolxStdSet& standard : g_SunDataSet.m_stds)
        m_comboStd.AddString(standard.m_strName.c_str());
    m_comboStd.SetCurSel(g_SunDataSet.m_nCurStd);
}

void SolxDataSetDlgBase::CreatPlaceDlg(CWnd* parent) {
    m_placeDlg = std::make_unique<SolxPlaceDlg>(parent);
}

int SolxDataSetDlgBase::PlaceDlgDoModal() {
    if (!m_placeDlg) CreatPlaceDlg(nullptr);
    m_placeDlg->m_zone = g_SunDataSet.m_zone;
    const auto result = static_cast<int>(m_placeDlg->DoModal());
    if (result == IDOK) g_SunDataSet.m_zone = m_placeDlg->m_zone;
    return result;
}

bool SolxDataSetDlgBase::FindPlaceDlgZone(const std::wstring& name, SolxZoneRecord& zone) const {
    return g_SunDataSet.FindZone(name, zone);
}
