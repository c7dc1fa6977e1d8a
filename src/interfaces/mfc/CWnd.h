#pragma once
// CWnd: a window object bound to a toolkit-neutral window state (m_hWnd). Messages reach the
// object through WindowProc; control notifications (WM_COMMAND, WM_NOTIFY) are routed through a
// message map that each class fills in DeclareMessageMap, base class first, so that a derived
// class's entry for the same notification and control wins.

#include <functional>
#include <string>
#include <vector>

#include "mfc/CString.h"
#include "mfc/WinTypes.h"

class CWnd;
class CScrollBar;

// The handlers of one window class for control notifications.
class CMessageMap {
public:
    using CommandHandler = std::function<void()>;
    using RangeHandler = std::function<void(UINT id)>;
    using NotifyHandler = std::function<void(NMHDR*, LRESULT*)>;

    // WM_COMMAND notification `code` (BN_CLICKED, CBN_SELCHANGE, EN_CHANGE, EN_KILLFOCUS...) from
    // the control `id`.
    void OnCommand(UINT code, int id, CommandHandler handler);
    void OnCommandRange(UINT code, int firstId, int lastId, RangeHandler handler);
    // WM_NOTIFY notification `code` (DTN_DATETIMECHANGE...) from the control `id`.
    void OnNotify(UINT code, int id, NotifyHandler handler);

    // True when an entry handled the notification.
    bool DispatchCommand(UINT code, int id) const;
    bool DispatchNotify(NMHDR* header, LRESULT* result) const;
    bool Empty() const { return m_entries.empty(); }

private:
    struct Entry {
        UINT message;
        UINT code;
        int firstId;
        int lastId;
        RangeHandler command;
        NotifyHandler notify;
    };
    std::vector<Entry> m_entries;
};

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object bound to a window: the attached object, else a permanent wrapper.
    static CWnd* FromHandle(HWND hwnd);

    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;

    void SetWindowText(const wchar_t* text);
    void GetWindowText(CString& text) const;
    std::wstring GetWindowTextString() const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, const wchar_t* text);
    std::wstring GetDlgItemTextString(int id) const;

    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int showCommand);
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // Timers: stored on the window; a presenter delivers WM_TIMER when one is due.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendNotifyToParent(UINT code);

    // Binds this object to the control `id` of `parent`; the control's messages then reach it.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    BOOL Attach(HWND hwnd);
    // A window of its own: style WS_CHILD (a child of parent, rect in the parent's client
    // pixels) or a top-level window (rect in screen pixels), WS_VISIBLE to show it, which also
    // paints it once (WM_PAINT). The class name is not used. Non-zero on success.
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id);
    // Pixel geometry of windows made by CreateEx and of the host's frame and view.
    void GetClientRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ScreenToClient(POINT* point) const;
    // Repaints at once (there is no message queue to post WM_PAINT to).
    void Invalidate(BOOL erase = TRUE);
    HWND Detach();
    virtual BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void DeclareMessageMap(CMessageMap& map);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    virtual void OnTimer(UINT_PTR id);
    virtual void OnPaint();
    virtual void OnDestroy();
    virtual void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    virtual void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    // Called when an object is bound to an existing window (DDX_Control, SubclassDlgItem).
    virtual void PreSubclassWindow();

    // Releases the window states (called once WM_DESTROY has been handled).
    void ReleaseWindow();

private:
    const CMessageMap& MessageMap();
    CMessageMap m_map;
    bool m_mapBuilt = false;
    bool m_ownsState = false;
    friend class CDialog;
};

// Scroll bar stand-in: sliders report themselves through this type in OnHScroll/OnVScroll.
class CScrollBar : public CWnd {};
