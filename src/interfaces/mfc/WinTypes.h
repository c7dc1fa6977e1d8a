#pragma once
// Plain Windows value types, message numbers and notification codes that the dialog and window
// classes use. The numbers are the real ones, so code written against the host's headers keeps
// its meaning (and its switch statements) unchanged.

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

namespace solx::ui {
struct WindowState;
}
// A window handle is the toolkit-neutral state of one window (see "mfc/WindowState.h").
using HWND = solx::ui::WindowState*;

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

struct RECT {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

struct POINT {
    long x = 0;
    long y = 0;
};

struct SIZE {
    long cx = 0;
    long cy = 0;
};

// Header of every WM_NOTIFY message.
struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

// WM_NOTIFY payload of a date picker's DTN_DATETIMECHANGE.
struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = 0;
    SYSTEMTIME st;
};

constexpr WORD LOWORD(WPARAM v) {
    return static_cast<WORD>(v & 0xffff);
}
constexpr WORD HIWORD(WPARAM v) {
    return static_cast<WORD>((v >> 16) & 0xffff);
}
constexpr WPARAM MAKEWPARAM(unsigned lo, unsigned hi) {
    return static_cast<WPARAM>((lo & 0xffff) | ((hi & 0xffff) << 16));
}
constexpr LPARAM MAKELPARAM(unsigned lo, unsigned hi) {
    return static_cast<LPARAM>((lo & 0xffff) | ((hi & 0xffff) << 16));
}

// Window messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
// A window's client area got a new size: wParam SIZE_RESTORED, SIZE_MINIMIZED...; lParam the
// width (low word) and height (high word) in pixels.
constexpr UINT WM_SIZE = 0x0005;
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
// Replaces the whole text of an edit as pasting over a full selection would. This runtime has no
// clipboard: lParam is the text (const wchar_t*). A control answers 0 when it cannot hold it.
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_USER = 0x0400;

// Control notifications carried by WM_COMMAND (high word of wParam).
constexpr UINT BN_CLICKED = 0;
constexpr UINT BN_SETFOCUS = 6;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_EDITCHANGE = 5;
constexpr UINT EN_SETFOCUS = 0x0100;
constexpr UINT EN_KILLFOCUS = 0x0200;
constexpr UINT EN_CHANGE = 0x0300;

// WM_NOTIFY codes.
constexpr UINT DTN_DATETIMECHANGE = static_cast<UINT>(-759);
constexpr UINT UDN_DELTAPOS = static_cast<UINT>(-722);

// Scroll codes of WM_HSCROLL / WM_VSCROLL (sliders use the same numbers as TB_*).
constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_ENDSCROLL = 8;
constexpr UINT TB_THUMBPOSITION = 4;
constexpr UINT TB_ENDTRACK = 8;

// Window styles of CWnd::CreateEx.
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;

// DrawText alignment.
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_RIGHT = 0x2;

// ShowWindow commands, check states, combo box answers.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int CB_ERR = -1;
constexpr int GDT_VALID = 0;
