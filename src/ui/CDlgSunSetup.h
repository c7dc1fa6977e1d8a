#pragma once
// CDlgSunSetup: the common setup dialog of every analysis command. It edits the shared settings
// g_SunDataSet (standard, place, date and solar term, start and end time, step) and saves them
// into the drawing when it closes with OK. Edits made before Cancel stay in the session only.
// Derived dialogs add their own fields and call DoDataExchange of this class first.

#include "SolxTimeEdit.h"
#include "brel/VxUiDialog.h"
#include "solx/SolxDataSetDlgBase.h"

class CDlgSunSetup : public VxUiDialog, public SolxDataSetDlgBase {
public:
    CDlgSunSetup(UINT templateId, CWnd* parent = nullptr);

    // The eight common analysis parameters, read from g_SunDataSet only: place longitude and
    // latitude (degrees), the analysis day's declination (degrees) and time correction
    // (hours), start and end (minutes after midnight), the step (minutes), and 1 when the
    // current standard's window-angle limit is off.
    static void GetSunSetting(double& longitude, double& latitude, double& declination,
                              double& timeCorrection, int& startMinute, int& endMinute,
                              int& stepMinutes, int& noAngleLimit);

    // Window text to use instead of the template's caption (null: keep the template's).
    const wchar_t* m_pCaption = nullptr;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    void OnDestroy() override;
    // True in the families that put a step of their own in the settings while they exist: the
    // drawing then takes the shared step as it was when the dialog was made.
    virtual bool HasOwnStep() const { return false; }

    // A new choice in the standard combo; the last item opens the standards manager.
    virtual void OnStdChanged();
    void OnPlaceChanged();
    void OnChoosePlace();
    void OnTermChanged();
    void OnDateChanged(NMHDR* header, LRESULT* result);
    void OnStdTime();

    // Stores the controls, takes the standard's day and times (and its step when takeStep),
    // and loads the controls again.
    void TakeStandardDay(bool takeStep);
    void ChangeStandard(bool takeStep);
    // The standard combo's last item, appended after every refill.
    static const wchar_t* ManagerItemText();

    SolxTimeEdit m_startEdit;  // 2048
    SolxTimeEdit m_endEdit;    // 2049

private:
    bool ValidateTimes(CDataExchange* pDX);
    void StoreSettings(CDataExchange* pDX);
    void LoadSettings(CDataExchange* pDX);
    void ExchangePlace(CDataExchange* pDX);
    void ShowPosition();

    // The shared step (both forms) before any family swapped its own in.
    int m_sharedStep = 0;
    double m_sharedStepValue = 0.0;
};
