#include "SolxPlaceDlg.h"

#include <algorithm>

#include "brel/BrelLanguageSwitch.h"
#include "mfc/afxwin.h"
#include "solx/SolxDataSet.h"

namespace {
constexpr int kProvince = 3101;
constexpr int kPlace = 3102;
constexpr int kLatitude = 3103;
constexpr int kLongitude = 3104;

std::vector<SolxZoneRecord> AllPlaces() {
    std::vector<SolxZoneRecord> all = g_SunDataSet.m_places.Shipped();
    const auto& user = g_SunDataSet.m_places.UserPlaces();
    all.insert(all.end(), user.begin(), user.end());
    return all;
}
}  // namespace

SolxPlaceDlg::SolxPlaceDlg(CWnd* parent)
    : CDialog(g_strCurLanguage == L"Chs" ? 3001 : 3002, parent) {}

BOOL SolxPlaceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_comboProvince.SubclassDlgItem(kProvince, this);
    m_comboPlace.SubclassDlgItem(kPlace, this);
    FillProvinces();
    if (m_comboProvince.SelectString(-1, m_zone.m_strProvince.c_str()) == CB_ERR)
        m_comboProvince.SetCurSel(0);
    FillPlaces(m_comboProvince.GetLBTextString(m_comboProvince.GetCurSel()));
    const int at = m_comboPlace.FindStringExact(-1, m_zone.m_strName.c_str());
    m_comboPlace.SetCurSel(at == CB_ERR ? 0 : at);
    ShowPosition();
    return TRUE;
}

void SolxPlaceDlg::DeclareMessageMap(CMessageMap& map) {
    CDialog::DeclareMessageMap(map);
    map.OnCommand(CBN_SELCHANGE, kProvince, [this] { OnProvinceChanged(); });
    map.OnCommand(CBN_SELCHANGE, kPlace, [this] { ShowPosition(); });
}

void SolxPlaceDlg::FillProvinces() {
    m_comboProvince.ResetContent();
    for (const SolxZoneRecord& place : AllPlaces()) {
        if (m_comboProvince.FindStringExact(-1, place.m_strProvince.c_str()) == CB_ERR)
            m_comboProvince.AddString(place.m_strProvince.c_str());
    }
}

void SolxPlaceDlg::FillPlaces(const std::wstring& province) {
    m_comboPlace.ResetContent();
    m_shown.clear();
    for (const SolxZoneRecord& place : AllPlaces()) {
        if (place.m_strProvince != province) continue;
        m_shown.push_back(place);
        m_comboPlace.AddString(place.m_strName.c_str());
    }
}

void SolxPlaceDlg::OnProvinceChanged() {
    FillPlaces(m_comboProvince.GetLBTextString(m_comboProvince.GetCurSel()));
    m_comboPlace.SetCurSel(0);
    ShowPosition();
}

void SolxPlaceDlg::ShowPosition() {
    const int sel = m_comboPlace.GetCurSel();
    const bool known = sel >= 0 && sel < static_cast<int>(m_shown.size());
    SetDlgItemText(kLatitude, known ? m_shown[sel].FormatLatitude().c_str() : L"");
    SetDlgItemText(kLongitude, known ? m_shown[sel].FormatLongitude().c_str() : L"");
}

void SolxPlaceDlg::OnOK() {
    const int sel = m_comboPlace.GetCurSel();
    if (sel < 0 || sel >= static_cast<int>(m_shown.size())) return;  // nothing chosen yet
    m_zone = m_shown[sel];
    CDialog::OnOK();
}
