#pragma once
// Modeless windows: a dialog made with CDialog::Create that stays open after the command that
// opened it, while the command prompt goes on. The window registers itself here; the command
// loop hands it the script lines that start with "@" and are not commands (see docs/script.md):
//   @window            describes the open window (its controls and values)
//   @set ID VALUE, @click ID, @select ID ITEM   act on its controls as a user would
//   @snapshot FILE     asks the window to save its picture (WM_SOLX_SNAPSHOT)
//   @wait MS           lets MS milliseconds of window time pass: the timers that fall due in
//                      that time fire in order, without sleeping
//   @close             closes it (WM_CLOSE)
// Time for timers is a clock of the runtime that only @wait (or AdvanceWindowTime) moves.

#include <string>

#include "acad/AcEdHostText.h"
#include "mfc/WinTypes.h"

class CWnd;

// Sent to a modeless window by @snapshot; lParam points at a SolxSnapshotRequest.
constexpr UINT WM_SOLX_SNAPSHOT = WM_USER + 0x51;
struct SolxSnapshotRequest {
    std::wstring path;
    std::wstring error;  // why it failed; empty on success
    bool handled = false;
};

namespace solx::ui {

void AddModelessWindow(CWnd* window);
void RemoveModelessWindow(CWnd* window);
// A window closed inside one of its own handlers: deleted once the message that closed it is
// done (by RunModelessLine, AdvanceWindowTime or CloseModelessWindows).
void DeleteModelessLater(CWnd* window);
// Closes every open modeless window (WM_CLOSE) and deletes the closed ones (end of session).
void CloseModelessWindows();
// The window the script lines address: the one opened last; null when none is open.
CWnd* ActiveModelessWindow();

// Milliseconds of window time since the start.
unsigned long long WindowTime();
// Lets `ms` of window time pass, firing the timers of the open modeless windows as they fall
// due (a timer fires at most once per due time; a slow handler does not make ticks pile up).
void AdvanceWindowTime(unsigned long long ms);

enum class ModelessLine { NotMine, Done, Failed };
// Runs one script line for the open modeless window. NotMine for lines that are not window
// lines; Failed with the reason in `error`.
ModelessLine RunModelessLine(const std::wstring& line, editor::HostMessage& error);

}  // namespace solx::ui
