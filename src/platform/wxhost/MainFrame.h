// The workbench window: the plan view, the command line docked below it (history, prompt,
// keywords to click, the entry), menus and a toolbar for the commands, the progress meter in
// the status bar, and the tip windows of the plan as borderless popups beside the cursor.
#pragma once

#include <wx/frame.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "mfc/TipView.h"
#include "wxhost/PlanPanel.h"

class wxGauge;
class wxTextCtrl;
class wxPanel;
class wxBoxSizer;
class wxPopupWindow;

namespace solx::wxhost {

class WxFrontEnd;

// What the menus ask of the session that runs in the window.
struct SessionActions {
    std::function<void(const std::wstring& language)> switchLanguage;
    std::function<void(const std::wstring& path)> openDrawing;
};

class MainFrame : public wxFrame {
public:
    MainFrame(const std::wstring& title, SessionActions actions);
    ~MainFrame() override;

    void SetFrontEnd(WxFrontEnd* frontEnd) { frontEnd_ = frontEnd; }
    PlanPanel& Plan() { return *plan_; }

    // The command line.
    void AppendHistory(const std::wstring& text);
    void ShowPrompt(const std::wstring& prompt);
    // The plan follows what the running command drew (see PlanPanel::Follow).
    void FollowDrawing(bool throttled);
    void EchoAnswer(const std::wstring& text);
    void ShowProgress(const std::wstring& label, int percent);
    void Status(const std::wstring& text);
    // Builds the menus and the toolbar in the current language.
    void BuildMenus();

    // A drawing point on the screen (for synthetic mouse moves).
    wxPoint PlanScreenPoint(double x, double y) const;
    // Saves a PNG of the workbench's windows as the screen shows them (this window, the open
    // dialogs and the simulation window: the rectangle around them all, popups included) and
    // prints where things are in it: "screenshot FILE: plan X,Y WxH cursor X,Y main X,Y WxH",
    // then ` window X,Y WxH "TITLE"` for each other window.
    bool Screenshot(const std::string& path, std::string& error);

private:
    void OnMenu(wxCommandEvent& event);
    void OnCommand(const std::wstring& line);
    void OnOpen();
    void OnSaveAs();
    void OnEntry();
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnPlanChar(wxKeyEvent& event);
    void ShowKeywords(const std::wstring& prompt);
    void ShowTip(HWND window, const ui::TipView* view);

    SessionActions actions_;
    WxFrontEnd* frontEnd_ = nullptr;
    PlanPanel* plan_ = nullptr;
    PlanInput planInput_;  // the plan's mouse actions, also taken over the tip windows
    wxTextCtrl* history_ = nullptr;
    wxTextCtrl* entry_ = nullptr;
    wxPanel* keywords_ = nullptr;
    wxBoxSizer* keywordSizer_ = nullptr;
    wxGauge* gauge_ = nullptr;
    std::map<HWND, wxPopupWindow*> tips_;
    std::vector<std::pair<std::wstring, std::wstring>> shownKeywords_;  // label, what it types
    std::vector<std::wstring> typed_;  // lines typed, for Up and Down
    size_t recall_ = 0;
};

}  // namespace solx::wxhost
