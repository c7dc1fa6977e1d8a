#pragma once
// SolxDataSetDlgBase: the settings module's part of every setup dialog. It owns the controls
// that show the shared settings g_SunDataSet (standard, place, solar term, date, step spin),
// fills them, and runs the place chooser. The dialog binds the controls in its data exchange
// (BindBaseControls) before it calls InitDlgBaseData. The start and end time edits belong to
// the dialog itself, so that this library does not depend on the module's time edit class.

#include <memory>
#include <string>

#include "mfc/afxcmn.h"
#include "solx/SolxZoneRecord.h"

class CDataExchange;
class SolxPlaceDlg;

class SolxDataSetDlgBase {
public:
    SolxDataSetDlgBase();
    virtual ~SolxDataSetDlgBase();
    SolxDataSetDlgBase(const SolxDataSetDlgBase&) = delete;
    SolxDataSetDlgBase& operator=(const SolxDataSetDlgBase&) = delete;

    CComboBox m_comboStd;        // 2039: the standards by name
    CComboBox m_comboPlace;      // 2004: the settings' cities, last the item opening the chooser
    CComboBox m_comboTerm;       // 2014: the 24 solar terms
    CDateTimeCtrl m_dateCtrl;    // 2046
    CSpinButtonCtrl m_spinStep;  // 2019
    int m_nBaseFlag = 0;

    // Attaches the controls above to their ids (call from DoDataExchange, before anything else).
    void BindBaseControls(CDataExchange* pDX);
    // Fills the standard, place and term combos from g_SunDataSet. With reload, the settings
    // are first read again from the drawing's settings dictionary.
    void InitDlgBaseData(bool reload);
    // Refills the standard combo and selects the current standard.
    void RefreshStdCombo();
    // Creates the place chooser owned by this base, with `parent` as its parent window.
    void CreatPlaceDlg(CWnd* parent);
    // Runs the place chooser; on IDOK the chosen place is g_SunDataSet.m_zone. The dialog result.
    int PlaceDlgDoModal();
    // Looks `name` up in the place database; false (zone unchanged) when unknown.
    bool FindPlaceDlgZone(const std::wstring& name, SolxZoneRecord& zone) const;
    // Text of the place combo's last item.
    static const wchar_t* MorePlacesText();

private:
    std::unique_ptr<SolxPlaceDlg> m_placeDlg;
};

// Runs the standards manager over g_SunDataSet's standards. On IDOK the edited standards replace
// the settings' ones, the standard chosen in the manager becomes current, and the standards are
// written to the user's standards file. Cancel changes nothing.
int SunStdDlgDoModal(CWnd* parent);
