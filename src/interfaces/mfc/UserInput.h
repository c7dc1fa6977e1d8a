#pragma once
// What a user can do to a control, with the notifications the real control would send in the
// same order. Presenters use these; dialog code does not. Each answers false with a message when
// the user could not do it (hidden or disabled control, no such item).

#include <string>

#include "acad/AcEdHostText.h"
#include "mfc/WinTypes.h"

namespace solx::ui {

using editor::HostMessage;

// Moves the focus to `window` (kill focus on the previous owner first).
void FocusControl(HWND window);
// Types `text` into an edit: a plain edit takes it as its new text (EN_CHANGE); a masked edit
// gets it pasted over its whole text (WM_PASTE) and refuses, unchanged, what it cannot hold.
// The focus stays in the edit.
bool TypeText(HWND window, const std::wstring& text, HostMessage& error);
// Clicks a button, check box or radio (BN_CLICKED after the check changed).
bool ClickControl(HWND window, HostMessage& error);
// Picks item `index` of a combo box (CBN_SELCHANGE).
bool PickItem(HWND window, int index, HostMessage& error);
// Sets a date picker's date (DTN_DATETIMECHANGE).
bool PickDate(HWND window, const SYSTEMTIME& date, HostMessage& error);
// Moves a spin (its buddy shows the number; WM_VSCROLL) or a slider (WM_HSCROLL); a position
// outside its range is refused.
bool MoveTo(HWND window, int pos, HostMessage& error);
// Whether a user could do the above now, without doing it: the same refusals (no such control,
// another kind, hidden, disabled, read-only, no such item, out of range). A presenter that acts
// through real widgets asks first, since a widget that cannot take the action says nothing.
// What only the control's own handler decides (a masked edit's text) is not known before.
bool CanTypeText(HWND window, HostMessage& error);
bool CanClickControl(HWND window, HostMessage& error);
bool CanPickItem(HWND window, int index, HostMessage& error);
bool CanPickDate(HWND window, HostMessage& error);
bool CanMoveTo(HWND window, int pos, HostMessage& error);
// Delivers WM_TIMER for timer `id` of `window`.
void FireTimer(HWND window, UINT_PTR id);

}  // namespace solx::ui
