#pragma once
// The simulation window: the modeless window of "VxShadow" with the OpenGL view, the place,
// date and time of the sun, the animation over the day, the shadow mode and the analysis
// plane. Only one exists at a time (Instance()); it deletes itself when it is closed.

#include <memory>
#include <string>

#include "SolxAVIFile.h"
#include "SolxSample.h"
#include "SolxViewWindow.h"
#include "mfc/CDialog.h"
#include "mfc/afxcmn.h"
#include "ui/CUncheckButton.h"
#include "ui/SolxTimeEdit.h"

// The view inside the window: asks for the model while the window is hidden.
class SolxRenderView : public SolxSample {
protected:
    void HideWindow(bool hide) override { m_hidden = hide; }

private:
    bool m_hidden = false;
};

// The recording options: where the film is written.
class CRenderOptDlg : public CDialog {
public:
    static constexpr UINT kTemplate = 2001;
    explicit CRenderOptDlg(CWnd* parent) : CDialog(kTemplate, parent) {}
    std::wstring m_path;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

class SolxRenderDlg : public CDialog {
public:
    static constexpr UINT kTemplate = 2000;
    static constexpr UINT_PTR kAnimationTimer = 1;
    static constexpr UINT_PTR kPollTimer = 2;
    // The view's size in pixels (even, so that video encoders take it).
    static constexpr int kViewWidth = 640;
    static constexpr int kViewHeight = 480;

    SolxRenderDlg();
    ~SolxRenderDlg() override;

    // The open window, null when there is none.
    static SolxRenderDlg* Instance();
    // Closes the open window, if any (the module is being unloaded).
    static void CloseInstance();

    // Makes the windows, the view's context and (when loadModel) asks for the model. False
    // when the view has no OpenGL context (`error` says why).
    bool Open(bool loadModel, std::string& error);

    // Validates the edits (save) and takes their values, or only shows the members (!save).
    virtual bool CheckEdits(bool save);
    // The sun of the current time into the view.
    void ApplySun();

    SolxRenderView& View() { return m_view; }
    int CurrentMinute() const { return m_minute; }
    int StartMinute() const { return m_startMinute; }
    int EndMinute() const { return m_endMinute; }
    bool Playing() const { return m_playing; }
    bool RelationsAnalysed() const { return m_relationsAnalysed; }
    int RelationAnalyses() const { return m_relationAnalyses; }
    double PlaneHeight() const { return m_view.m_planeHeight; }
    bool Recording() const { return m_recorder != nullptr; }
    const std::wstring& RecordPath() const { return m_recordPath; }
    // The view's picture with the current time in red at the top left (RGB, rows from the top).
    std::vector<std::uint8_t> GrabFrame();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar) override;
    void OnDestroy() override;
    void OnOK() override {}  // Enter goes to the focused control
    void OnCancel() override;

private:
    void OnEditKillFocus();
    void OnPlaneChange();
    void OnPlaneShadows();
    void OnFaceShadows();
    void OnShowRoofs();
    void OnShowBalconies();
    void OnReloadModel();
    void OnDefaultView();
    void OnPlay();
    void OnDateChanged();
    void OnTermChanged();
    void StopAnimation();
    void OnRecordOptions();
    void StartRecording();
    void AnalyseRelations();
    void SetPlaneRange(int low, int high);
    void ShowTime(SolxTimeEdit& edit, int minute);
    void ShowPlaceTexts();
    bool AnyEditModified() const;
    void Warn(const wchar_t* text, CWnd& focus);

    SolxRenderView m_view;
    SolxViewWindow m_viewControl{m_view};
    SolxTimeEdit m_timeEdit;   // 2015
    SolxTimeEdit m_startEdit;  // 2016
    SolxTimeEdit m_endEdit;    // 2017
    CEdit m_stepEdit;          // 2018
    CSpinButtonCtrl m_spinStep;
    CEdit m_planeEdit;  // 2027
    CSliderCtrl m_planeSlider;
    CSliderCtrl m_timeSlider;
    CUncheckButton m_playButton;
    CComboBox m_comboPlace;
    CComboBox m_comboTerm;
    CDateTimeCtrl m_dateCtrl;

    int m_minute = 11 * 60;
    int m_startMinute = 9 * 60;
    int m_endMinute = 15 * 60;
    int m_step = 3;
    int m_autoRecord = 0;
    double m_planeHeight = 0.0;  // typed, taken by the view once checked
    bool m_playing = false;
    bool m_relationsAnalysed = false;
    int m_relationAnalyses = 0;
    bool m_silentCheck = false;
    double m_modelBottom = 0.0, m_modelTop = 0.0;  // rounded half away from zero
    std::wstring m_recordPath;
    std::unique_ptr<SolxAVIFile> m_recorder;
    int m_colourCount = 32;
    int m_recordRate = 25;
};
