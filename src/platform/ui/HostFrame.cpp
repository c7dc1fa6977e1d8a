// The host's main frame and drawing view: two windows as large as the view model.
#include "WindowRegistry.h"
#include "acad/AcEdFrame.h"
#include "acad/aced.h"
#include "mfc/CWnd.h"

namespace {

struct HostWindows {
    CWnd frame;
    CWnd view;
};

HostWindows& Windows() {
    static HostWindows* windows = [] {
        auto* w = new HostWindows();  // lives as long as the process, like the host's frame
        RECT none;
        w->frame.CreateEx(0, nullptr, L"solx", 0, none, nullptr, 0);
        w->view.CreateEx(0, nullptr, L"", WS_CHILD, none, &w->frame, 0);
        return w;
    }();
    return *windows;
}

// Both follow the view model, which the host sets when it opens a drawing.
void FollowView(HostWindows& w) {
    const solx::editor::ViewModel& model = solx::editor::CurrentView();
    const RECT size{0, 0, model.widthPixels, model.heightPixels};
    if (w.frame.m_hWnd) w.frame.m_hWnd->pixels = size;
    if (w.view.m_hWnd) w.view.m_hWnd->pixels = size;
}

}  // namespace

CWnd* acedGetAcadFrame() {
    HostWindows& w = Windows();
    FollowView(w);
    return &w.frame;
}

CWnd* acedGetAcadDwgView() {
    HostWindows& w = Windows();
    FollowView(w);
    return &w.view;
}
