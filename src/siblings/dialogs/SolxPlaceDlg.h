#pragma once
// The place chooser: a province combo and the places of the chosen province from the place
// database, with the chosen place's position. Template 3001 (Chinese) / 3002.

#include <vector>

#include "mfc/CDialog.h"
#include "mfc/afxcmn.h"
#include "solx/SolxZoneRecord.h"

class SolxPlaceDlg : public CDialog {
public:
    explicit SolxPlaceDlg(CWnd* parent);

    // The place to show first; after IDOK the chosen place.
    SolxZoneRecord m_zone;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DeclareMessageMap(CMessageMap& map) override;

private:
    void FillProvinces();
    void FillPlaces(const std::wstring& province);
    void ShowPosition();
    void OnProvinceChanged();

    CComboBox m_comboProvince;
    CComboBox m_comboPlace;
    std::vector<SolxZoneRecord> m_shown;  // the records behind m_comboPlace's items
};
