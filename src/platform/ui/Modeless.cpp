// The open modeless windows, the window clock that moves their timers, and the script lines
// that reach them from the command prompt.
#include "mfc/Modeless.h"

#include <algorithm>
#include <memory>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "acad/AcEdFrontEnd.h"
#include "mfc/CDialog.h"
#include "mfc/DialogPresenter.h"
#include "mfc/WindowState.h"
#include "mfc/afxwin.h"

namespace solx::ui {
namespace {

std::vector<CWnd*>& OpenWindows() {
    static std::vector<CWnd*> windows;
    return windows;
}

std::vector<std::unique_ptr<CWnd>>& Closed() {
    static std::vector<std::unique_ptr<CWnd>> closed;
    return closed;
}

void DeleteClosed() {
    std::vector<std::unique_ptr<CWnd>> closed;
    closed.swap(Closed());
}

unsigned long long& Clock() {
    static unsigned long long now = 0;
    return now;
}

std::wstring Trim(const std::wstring& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && std::iswspace(static_cast<wint_t>(text[first]))) ++first;
    while (last > first && std::iswspace(static_cast<wint_t>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

std::wstring Lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

bool IsOpen(CWnd* window) {
    const auto& windows = OpenWindows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// The earliest timer of the open windows due at or before `limit`.
bool NextDue(unsigned long long limit, CWnd*& window, UINT_PTR& id, unsigned long long& due) {
    bool found = false;
    for (CWnd* w : OpenWindows()) {
        if (!w->m_hWnd) continue;
        for (const auto& [timer, when] : w->m_hWnd->timerDue) {
            if (when > limit || (found && when >= due)) continue;
            found = true, window = w, id = timer, due = when;
        }
    }
    return found;
}

}  // namespace

void AddModelessWindow(CWnd* window) {
    if (!window || IsOpen(window)) return;
    OpenWindows().push_back(window);
    if (auto* dialog = dynamic_cast<CDialog*>(window))
        GetDialogPresenter()->ModelessOpened(*dialog);
}

void RemoveModelessWindow(CWnd* window) {
    auto& windows = OpenWindows();
    if (window && IsOpen(window)) GetDialogPresenter()->ModelessClosed(*window);
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

void DeleteModelessLater(CWnd* window) {
    RemoveModelessWindow(window);
    for (const auto& closed : Closed())
        if (closed.get() == window) return;
    Closed().emplace_back(window);
}

void CloseModelessWindows() {
    while (CWnd* window = ActiveModelessWindow()) {
        window->SendMessage(WM_CLOSE);
        RemoveModelessWindow(window);  // a window that would not close is left alone
    }
    DeleteClosed();
}

CWnd* ActiveModelessWindow() {
    return OpenWindows().empty() ? nullptr : OpenWindows().back();
}

unsigned long long WindowTime() {
    return Clock();
}

void AdvanceWindowTime(unsigned long long ms) {
    const unsigned long long end = Clock() + ms;
    CWnd* window = nullptr;
    UINT_PTR id = 0;
    unsigned long long due = 0;
    while (NextDue(end, window, id, due)) {
        Clock() = std::max(Clock(), due);
        // The next tick counts from now: ticks missed while a handler ran are not queued.
        const UINT period = window->m_hWnd->timers[id];
        window->m_hWnd->timerDue[id] = Clock() + std::max<UINT>(period, 1);
        window->SendMessage(WM_TIMER, id);
        DeleteClosed();
    }
    Clock() = end;
}

namespace {
ModelessLine RunLine(const std::wstring& line, editor::HostMessage& error);
}

ModelessLine RunModelessLine(const std::wstring& line, editor::HostMessage& error) {
    const ModelessLine result = RunLine(line, error);
    DeleteClosed();
    return result;
}

namespace {
ModelessLine RunLine(const std::wstring& line, editor::HostMessage& error) {
    const std::wstring text = Trim(line);
    if (text.empty() || text[0] != L'@') return ModelessLine::NotMine;
    const std::size_t space = text.find_first_of(L" \t");
    const std::wstring verb = Lower(text.substr(0, space));
    const std::wstring rest = space == std::wstring::npos ? L"" : Trim(text.substr(space));
    const bool known = verb == L"@window" || verb == L"@snapshot" || verb == L"@wait" ||
                       verb == L"@close" || verb == L"@set" || verb == L"@click" ||
                       verb == L"@select";
    if (!known) return ModelessLine::NotMine;
    if (verb == L"@wait") {
        wchar_t* end = nullptr;
        const long long ms = std::wcstoll(rest.c_str(), &end, 10);
        if (rest.empty() || *end != 0 || ms < 0) {
            error = editor::HostMessage(L"@wait takes a number of milliseconds");
            return ModelessLine::Failed;
        }
        AdvanceWindowTime(static_cast<unsigned long long>(ms));
        return ModelessLine::Done;
    }
    CWnd* window = ActiveModelessWindow();
    if (!window) {
        error = editor::HostMessage(L"no window is open");
        return ModelessLine::Failed;
    }
    auto* dialog = dynamic_cast<CDialog*>(window);
    if (verb == L"@window") {
        if (dialog) editor::CurrentFrontEnd().Print(L"\n" + DescribeDialog(*dialog));
        return ModelessLine::Done;
    }
    if (verb == L"@close") {
        window->SendMessage(WM_CLOSE);
        return ModelessLine::Done;
    }
    if (verb == L"@snapshot") {
        if (rest.empty()) {
            error = editor::HostMessage(L"@snapshot takes a file name");
            return ModelessLine::Failed;
        }
        SolxSnapshotRequest request;
        request.path = rest;
        window->SendMessage(WM_SOLX_SNAPSHOT, 0, reinterpret_cast<LPARAM>(&request));
        if (!request.handled)
            error = editor::HostMessage(L"the window has no picture to save");
        else if (!request.error.empty())
            error =
                editor::HostMessagef(L"cannot save %s: %s", rest.c_str(), request.error.c_str());
        return error.English().empty() ? ModelessLine::Done : ModelessLine::Failed;
    }
    DialogAction action;
    std::wstring parseError;
    if (!dialog || !ParseDialogAction(text, action, parseError)) {
        error = editor::HostMessage(parseError.empty() ? L"not a window line" : parseError.c_str());
        return ModelessLine::Failed;
    }
    return ScriptDialogPresenter::Apply(*dialog, action, error) ? ModelessLine::Done
                                                                : ModelessLine::Failed;
}
}  // namespace

}  // namespace solx::ui
