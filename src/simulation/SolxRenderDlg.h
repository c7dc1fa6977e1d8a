#pragma once
// The simulation window: the modeless window of "VxShadow" with the OpenGL view, the place,
// date and time of the sun, the animation over the day, the shadow mode and the analysis
// plane. Only one exists at a time (Instance()); it deletes itself when it is closed.

#include <memory>
#include <string>
#include <vector>

#include "SolxAVIFile.h"
#include "SolxSample.h"
#include "SolxViewWindow.h"
#include "mfc/CDialog.h"
#include "solx/SolxDataSetDlgBase.h"
#include "mfc/WindowState.h"
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

// The face relation analysis of the view under a progress bar: every receiver's casters are
// decided, one bar step a face. Esc (the user's break) ends it early with IDCANCEL; the
// relations not yet decided are then decided when a frame first needs them.
class CProgressDlg : public CDialog {
public:
    static constexpr UINT kTemplate = 2002;
    static constexpr int kBar = 2038;
    CProgressDlg(SolxSample& view, CWnd* parent) : CDialog(kTemplate, parent), m_view(view) {}
    // The receivers whose casters were decided.
    int Decided() const { return m_decided; }

protected:
    BOOL OnInitDialog() override;

private:
    SolxSample& m_view;
    int m_decided = 0;
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
    // The view's picture with the current time in red at the top left (RGB, rows from the
    // top), stretched to width x height when given and the view's size differs.
    std::vector<std::uint8_t> GrabFrame(int width = 0, int height = 0);
    // The client size in pixels the window had when it was made.
    int InitialClientWidth() const { return m_clientWidth; }
    int InitialClientHeight() const { return m_clientHeight; }

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
    void OnPlaceChanged();
    void OnSize(int width, int height);
    void RememberLayout();
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
    SolxDataSetDlgBase m_places;  // the place chooser and the place database

    // Layout: the client size in pixels at creation, the pixels of a dialog unit (taken from
    // the view, whose context's pixel size is known), and the template rectangles of the
    // controls that follow a resize.
    int m_clientWidth = 0, m_clientHeight = 0;
    int m_viewWidth = kViewWidth, m_viewHeight = kViewHeight;  // the context's at creation
    double m_unitX = 1.0, m_unitY = 1.0;
    struct Placed {
        int id;
        solx::ui::DialogRect rect;
    };
    std::vector<Placed> m_layout;

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
    int m_frameWidth = 0, m_frameHeight = 0;  // the film's frame size, taken at its start
    int m_colourCount = 32;
    int m_recordRate = 25;
};
