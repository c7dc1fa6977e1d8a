#include "WindowRegistry.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "mfc/CWnd.h"
#include "mfc/afxcmn.h"

namespace solx::ui {
namespace {

std::vector<std::unique_ptr<WindowState>>& TopLevel() {
    static std::vector<std::unique_ptr<WindowState>> windows;
    return windows;
}

std::map<WindowState*, std::unique_ptr<CWnd>>& Wrappers() {
    static std::map<WindowState*, std::unique_ptr<CWnd>> wrappers;
    return wrappers;
}

WindowState* g_focus = nullptr;

void DetachTree(WindowState* window) {
    for (auto& child : window->children) DetachTree(child.get());
    if (window->object) window->object->m_hWnd = nullptr;
    window->object = nullptr;
    Wrappers().erase(window);
    if (g_focus == window) g_focus = nullptr;
}

}  // namespace

WindowState* NewTopLevelWindow() {
    TopLevel().push_back(std::make_unique<WindowState>());
    return TopLevel().back().get();
}

WindowState* NewChildWindow(WindowState* parent) {
    parent->children.push_back(std::make_unique<WindowState>());
    parent->children.back()->parent = parent;
    return parent->children.back().get();
}

void DropChildWindow(WindowState* child) {
    WindowState* parent = child->parent;
    DetachTree(child);
    if (!parent) return;
    auto& siblings = parent->children;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                  [child](const auto& w) { return w.get() == child; }),
                   siblings.end());
}

void ReleaseWindowTree(WindowState* window) {
    DetachTree(window);
    auto& windows = TopLevel();
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [window](const auto& w) { return w.get() == window; }),
                  windows.end());
}

WindowState* FocusedWindow() {
    return g_focus;
}
void SetFocusedWindow(WindowState* window) {
    g_focus = window;
}

CWnd* WrapperFor(WindowState* window) {
    auto& slot = Wrappers()[window];
    if (!slot) {
        slot.reset(NewWrapperFor(window->kind));
        slot->m_hWnd = window;
    }
    return slot.get();
}

}  // namespace solx::ui
