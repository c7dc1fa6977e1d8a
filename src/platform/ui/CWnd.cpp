#include "mfc/CWnd.h"
#include "mfc/Modeless.h"

#include <algorithm>

#include "WindowRegistry.h"
#include "mfc/TipView.h"
#include "mfc/UserInput.h"
#include "mfc/WindowState.h"

using solx::ui::ControlKind;

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd && m_hWnd->object == this) m_hWnd->object = nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    return hwnd->object ? hwnd->object : solx::ui::WrapperFor(hwnd);
}

int CWnd::GetDlgCtrlID() const {
    return m_hWnd ? m_hWnd->id : 0;
}

CWnd* CWnd::GetParent() const {
    return m_hWnd ? FromHandle(m_hWnd->parent) : nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const {
    return m_hWnd ? FromHandle(m_hWnd->Child(id)) : nullptr;
}

void CWnd::SetWindowText(const wchar_t* text) {
    if (m_hWnd) m_hWnd->text = text ? text : L"";
}

void CWnd::GetWindowText(CString& text) const {
    text = GetWindowTextString();
}

std::wstring CWnd::GetWindowTextString() const {
    return m_hWnd ? m_hWnd->text : std::wstring();
}

int CWnd::GetWindowTextLength() const {
    return static_cast<int>(GetWindowTextString().size());
}

void CWnd::SetDlgItemText(int id, const wchar_t* text) {
    if (CWnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

std::wstring CWnd::GetDlgItemTextString(int id) const {
    CWnd* item = GetDlgItem(id);
    return item ? item->GetWindowTextString() : std::wstring();
}

// Answers the previous state as the host does: non-zero when the window was disabled.
BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_hWnd) return FALSE;
    const BOOL wasDisabled = !m_hWnd->enabled;
    m_hWnd->enabled = enable != FALSE;
    if (!m_hWnd->enabled && solx::ui::FocusedWindow() == m_hWnd) solx::ui::FocusControl(nullptr);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_hWnd && m_hWnd->enabled;
}

BOOL CWnd::ShowWindow(int showCommand) {
    if (!m_hWnd) return FALSE;
    const BOOL wasVisible = m_hWnd->visible;
    m_hWnd->visible = showCommand != SW_HIDE;
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return m_hWnd && m_hWnd->visible;
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    solx::ui::FocusControl(m_hWnd);
    return previous;
}

CWnd* CWnd::GetFocus() {
    return FromHandle(solx::ui::FocusedWindow());
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*) {
    if (!m_hWnd) return 0;
    m_hWnd->timers[id] = elapseMs;
    m_hWnd->timerDue[id] = solx::ui::WindowTime() + (elapseMs ? elapseMs : 1);
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    if (m_hWnd) m_hWnd->timerDue.erase(id);
    return m_hWnd && m_hWnd->timers.erase(id) > 0;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* target = FromHandle(m_hWnd);
    return target ? target->WindowProc(message, wParam, lParam) : 0;
}

LRESULT CWnd::SendNotifyToParent(UINT code) {
    CWnd* parent = GetParent();
    if (!parent) return 0;
    return parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code),
                               reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent && Attach(parent->m_hWnd ? parent->m_hWnd->Child(static_cast<int>(id)) : nullptr);
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd) return FALSE;
    m_hWnd = hwnd;
    hwnd->object = this;
    PreSubclassWindow();
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd && hwnd->object == this) hwnd->object = nullptr;
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    SendMessage(WM_DESTROY);
    solx::ui::NotifyWindowDestroyed(m_hWnd);
    ReleaseWindow();
    return TRUE;
}

void CWnd::ReleaseWindow() {
    if (!m_hWnd) return;
    HWND window = m_hWnd;
    if (window->parent) {
        Detach();  // a control's state belongs to its dialog
        if (window->created) solx::ui::DropChildWindow(window);
        return;
    }
    solx::ui::ReleaseWindowTree(window);
}

const CMessageMap& CWnd::MessageMap() {
    if (!m_mapBuilt) {
        m_mapBuilt = true;
        DeclareMessageMap(m_map);
    }
    return m_map;
}

void CWnd::DeclareMessageMap(CMessageMap&) {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (OnCommand(wParam, lParam)) return 1;
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (OnNotify(wParam, lParam, &result)) return result;
            break;
        }
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            auto* bar = static_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam)));
            if (message == WM_HSCROLL)
                OnHScroll(LOWORD(wParam), HIWORD(wParam), bar);
            else
                OnVScroll(LOWORD(wParam), HIWORD(wParam), bar);
            return 0;
        }
        case WM_SETFOCUS:
            OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
            return 0;
        case WM_KILLFOCUS:
            OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
            return 0;
        case WM_CHAR:
            OnChar(static_cast<UINT>(wParam), 1, 0);
            return 0;
        default:
            break;
    }
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return MessageMap().DispatchCommand(HIWORD(wParam), LOWORD(wParam));
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    return header && MessageMap().DispatchNotify(header, result);
}

// The default behaviour of the window itself: focus look and typed characters of edits.
LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM) {
    if (!m_hWnd) return 0;
    if (message == WM_SETFOCUS) m_hWnd->focusLook = true;
    if (message == WM_KILLFOCUS) m_hWnd->focusLook = false;
    if (message == WM_CHAR && m_hWnd->kind == ControlKind::Edit && !m_hWnd->readOnly) {
        const auto at = static_cast<std::size_t>(m_hWnd->caret);
        m_hWnd->text.insert(std::min(at, m_hWnd->text.size()), 1, static_cast<wchar_t>(wParam));
        m_hWnd->caret += 1;
        m_hWnd->modified = true;
        SendNotifyToParent(EN_CHANGE);
    }
    return 0;
}

void CWnd::OnTimer(UINT_PTR) {}
void CWnd::OnPaint() {}
void CWnd::OnDestroy() {}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {}
void CWnd::OnSetFocus(CWnd*) {
    DefWindowProc(WM_SETFOCUS, 0, 0);
}
void CWnd::OnKillFocus(CWnd*) {
    DefWindowProc(WM_KILLFOCUS, 0, 0);
}
void CWnd::OnChar(UINT ch, UINT, UINT) {
    DefWindowProc(WM_CHAR, ch, 0);
}
void CWnd::PreSubclassWindow() {}

BOOL CWnd::CreateEx(DWORD, const wchar_t*, const wchar_t* title, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id) {
    if (m_hWnd) return FALSE;
    const bool child = (style & WS_CHILD) != 0;
    if (child && (!parent || !parent->m_hWnd)) return FALSE;
    HWND window = child ? solx::ui::NewChildWindow(parent->m_hWnd) : solx::ui::NewTopLevelWindow();
    window->id = static_cast<int>(id);
    window->text = title ? title : L"";
    window->pixels = rect;
    window->created = true;
    window->visible = (style & WS_VISIBLE) != 0;
    Attach(window);
    if (window->visible) SendMessage(WM_PAINT);
    return TRUE;
}

void CWnd::GetClientRect(RECT* rect) const {
    if (!rect) return;
    *rect = RECT{};
    if (!m_hWnd) return;
    rect->right = m_hWnd->pixels.right - m_hWnd->pixels.left;
    rect->bottom = m_hWnd->pixels.bottom - m_hWnd->pixels.top;
}

void CWnd::ClientToScreen(POINT* point) const {
    for (HWND w = m_hWnd; point && w; w = w->parent) {
        point->x += w->pixels.left;
        point->y += w->pixels.top;
    }
}

void CWnd::ScreenToClient(POINT* point) const {
    for (HWND w = m_hWnd; point && w; w = w->parent) {
        point->x -= w->pixels.left;
        point->y -= w->pixels.top;
    }
}

void CWnd::Invalidate(BOOL) {
    if (m_hWnd && m_hWnd->visible) SendMessage(WM_PAINT);
}
