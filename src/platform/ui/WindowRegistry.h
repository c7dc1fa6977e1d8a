#pragma once
// Ownership of window states inside the runtime: top-level windows are owned here, controls by
// their dialog's state; wrapper objects for windows without an attached object live until their
// window is released.

#include "mfc/WindowState.h"

class CWnd;

namespace solx::ui {

WindowState* NewTopLevelWindow();
// A child window state owned by parent (CWnd::CreateEx); DropChildWindow frees it.
WindowState* NewChildWindow(WindowState* parent);
void DropChildWindow(WindowState* child);
// Detaches every object of the tree, drops its wrappers and frees the states.
void ReleaseWindowTree(WindowState* window);
WindowState* FocusedWindow();
void SetFocusedWindow(WindowState* window);
// The permanent wrapper of a window that has no attached object.
CWnd* WrapperFor(WindowState* window);

}  // namespace solx::ui
