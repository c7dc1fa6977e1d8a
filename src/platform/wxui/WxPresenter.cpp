#include "WxPresenter.h"

#include <wx/app.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <memory>
#include <optional>
#include <vector>

#include "GlCanvasContext.h"
#include "ScriptedDialog.h"
#include "WxDialogView.h"
#include "mfc/CDialog.h"
#include "mfc/DialogPresenter.h"
#include "mfc/Modeless.h"
#include "mfc/afxwin.h"
#include "render/SolxRenderContext.h"

namespace solx::wxui {
namespace {

// Moves the window clock in real time while modeless windows are open, so that their timers
// (SetTimer) fire as wx timer ticks; @wait lines of a script still move it further at once.
class WindowClock : public wxTimer {
public:
    static constexpr int kTickMs = 15;
    void Run() {
        if (IsRunning()) return;
        m_watch.Start();
        m_last = 0;
        Start(kTickMs);
    }
    void Notify() override;

private:
    wxStopWatch m_watch;
    long m_last = 0;
};

class WxPresenter : public ui::DialogPresenter {
public:
    WxPresenter(wxWindow* parent, bool playScripts)
        : m_parent(parent), m_playScripts(playScripts) {}
    ~WxPresenter() override { CloseAll(); }

    int RunModal(CDialog& dialog) override;
    void ModelessOpened(CDialog& dialog) override;
    void ModelessClosed(CWnd& window) override;

    void ShowAll() {
        for (WxDialogView* view : m_views) view->ShowState();
    }
    void EndEndedModal() {
        for (WxDialogView* view : m_views)
            if (view->Modal() && !view->Detached() && view->Dialog().IsModalEnded() &&
                view->Frame()->IsModal())
                view->Frame()->EndModal(view->Dialog().ModalResult());
    }
    WxDialogView* ViewOf(const CWnd* window) const {
        for (WxDialogView* view : m_views)
            if (&view->Dialog() == window && !view->Detached()) return view;
        return nullptr;
    }
    WxDialogView* InnermostModal() const {
        for (auto it = m_views.rbegin(); it != m_views.rend(); ++it)
            if ((*it)->Modal() && !(*it)->Detached()) return *it;
        return nullptr;
    }
    void SetParent(wxWindow* parent, bool playScripts) {
        m_parent = parent;
        m_playScripts = playScripts;
    }
    wxWindow* Parent() const {
        if (WxDialogView* modal = InnermostModal()) return modal->Frame();
        return m_parent;
    }
    void CloseAll() {
        for (auto& view : m_modeless) {
            view->Detach();
            view->Frame()->Destroy();
        }
        m_modeless.clear();
        m_views.clear();
        m_clock.Stop();
    }
    WindowClock& Clock() { return m_clock; }

private:
    wxWindow* m_parent;
    bool m_playScripts;
    std::vector<WxDialogView*> m_views;  // every shown dialog, in the order they opened
    std::vector<std::unique_ptr<WxDialogView>> m_modeless;
    WindowClock m_clock;
};

WxPresenter* g_presenter = nullptr;
unsigned long g_userActions = 0;

int WxPresenter::RunModal(CDialog& dialog) {
    PendingCanvas canvas = TakePendingCanvas(static_cast<int>(dialog.TemplateId()));
    wxDialog* frame = canvas.frame
                          ? canvas.frame
                          : new wxDialog(Parent(), wxID_ANY, wxEmptyString, wxDefaultPosition,
                                         wxDefaultSize, wxDEFAULT_DIALOG_STYLE);
    {
        WxDialogView view(dialog, frame, true, canvas.canvas, canvas.controlId);
        m_views.push_back(&view);
        frame->CentreOnParent();
        // A script being played answers the dialog on screen, through its widgets.
        std::optional<ScriptedDialog> played;
        if (m_playScripts && !ui::FrontEndActionSource().Interactive()) played.emplace(view);
        frame->ShowModal();
        played.reset();
        view.Detach();
        std::erase(m_views, &view);
    }
    frame->Destroy();
    if (!dialog.IsModalEnded()) dialog.EndDialog(IDCANCEL);
    return dialog.ModalResult();
}

void WxPresenter::ModelessOpened(CDialog& dialog) {
    PendingCanvas canvas = TakePendingCanvas(static_cast<int>(dialog.TemplateId()));
    wxDialog* frame = canvas.frame
                          ? canvas.frame
                          : new wxDialog(m_parent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                         wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxMINIMIZE_BOX);
    m_modeless.push_back(
        std::make_unique<WxDialogView>(dialog, frame, false, canvas.canvas, canvas.controlId));
    m_views.push_back(m_modeless.back().get());
    frame->Show();
    frame->Refresh();
    m_clock.Run();
}

void WxPresenter::ModelessClosed(CWnd& window) {
    for (auto it = m_modeless.begin(); it != m_modeless.end(); ++it) {
        if (&(*it)->Dialog() != &window) continue;
        WxDialogView* view = it->get();
        view->Detach();
        view->Frame()->Destroy();  // deleted by wx once the running event is done
        std::erase(m_views, view);
        // The view may be running one of its own handlers: it goes after the event.
        std::shared_ptr<WxDialogView> doomed(std::move(*it));
        m_modeless.erase(it);
        if (wxTheApp) wxTheApp->CallAfter([doomed] {});
        break;
    }
    if (m_modeless.empty()) m_clock.Stop();
}

void WindowClock::Notify() {
    const long now = m_watch.Time();
    const long elapsed = now - m_last;
    m_last = now;
    if (elapsed > 0) ui::AdvanceWindowTime(static_cast<unsigned long long>(elapsed));
    if (g_presenter) {
        g_presenter->EndEndedModal();
        g_presenter->ShowAll();
    }
}

}  // namespace

unsigned long UserActionCount() {
    return g_userActions;
}

void AfterUserAction() {
    ++g_userActions;
    if (!g_presenter) return;
    // Windows closed by the action's handlers are deleted now that their messages are done.
    editor::HostMessage unused;
    ui::RunModelessLine(L"", unused);
    g_presenter->EndEndedModal();
    g_presenter->ShowAll();
}

void InstallWxPresenter(wxWindow* parent, bool playScripts) {
    if (g_presenter) {
        g_presenter->SetParent(parent, playScripts);
        return;
    }
    g_presenter = new WxPresenter(parent, playScripts);
    ui::SetDialogPresenter(g_presenter);
    SetCanvasParent(parent);
    SetViewContextMaker(&MakeCanvasContext);
}

void UninstallWxPresenter() {
    if (!g_presenter) return;
    SetViewContextMaker(nullptr);
    SetCanvasParent(nullptr);
    ui::SetDialogPresenter(nullptr);
    delete g_presenter;
    g_presenter = nullptr;
}

void RefreshWxDialogs() {
    if (!g_presenter) return;
    g_presenter->EndEndedModal();
    g_presenter->ShowAll();
}

wxDialog* WxDialogOf(const CWnd* window) {
    WxDialogView* view = g_presenter ? g_presenter->ViewOf(window) : nullptr;
    return view ? view->Frame() : nullptr;
}

wxWindow* WxWidgetOf(const CWnd* window, int controlId) {
    WxDialogView* view = g_presenter ? g_presenter->ViewOf(window) : nullptr;
    return view ? view->WidgetOf(controlId) : nullptr;
}

wxDialog* CurrentModalWxDialog() {
    WxDialogView* view = g_presenter ? g_presenter->InnermostModal() : nullptr;
    return view ? view->Frame() : nullptr;
}

}  // namespace solx::wxui
