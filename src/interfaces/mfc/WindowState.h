#pragma once
// The toolkit-neutral state of one window: what a user sees of it and can change. Dialog code
// reaches it through CWnd and the control classes; presenters (script, desktop) read it to show
// the window and change it only through the user-input functions of "mfc/UserInput.h", so that
// every change raises the notifications a real user would cause.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mfc/WinTypes.h"

class CWnd;

namespace solx::ui {

enum class ControlKind {
    Dialog,
    Static,
    GroupBox,
    Edit,
    MaskedEdit,
    Button,
    CheckBox,
    Radio,
    ComboBox,
    DateTime,
    Spin,
    Slider,
    ListBox,
};

// Position and size in dialog units, as the template gives them.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct WindowState {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::wstring text;
    DialogRect rect;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    bool groupStart = false;  // first control of a radio group
    bool editable = false;    // combo box with an edit field
    bool modified = false;    // edit text changed since the flag was last cleared
    bool focusLook = false;   // the window shows the focus (cleared when it loses it)
    int check = 0;            // BST_UNCHECKED / BST_CHECKED
    std::vector<std::wstring> items;
    int curSel = -1;  // CB_ERR when nothing is selected
    SYSTEMTIME time;  // date picker value
    int pos = 0;      // spin and slider position
    int rangeMin = 0;
    int rangeMax = 100;
    int buddyId = 0;                  // spin: the edit whose number it moves
    int caret = 0;                    // edit: caret position in characters
    std::wstring cue;                 // edit: what it takes, e.g. "HH:MM, 08:00-16:00"
    std::map<UINT_PTR, UINT> timers;  // id -> period in milliseconds
    std::map<UINT_PTR, unsigned long long> timerDue;  // id -> next due window time (mfc/Modeless.h)
    // Windows made by CWnd::CreateEx and the host's frame and view: the rectangle in pixels, in
    // the parent's client coordinates (a top-level window: the screen's). Such a child's state
    // is dropped from its parent when the window is destroyed.
    RECT pixels;
    bool created = false;
    int paints = 0;  // how often the window painted itself

    WindowState* parent = nullptr;
    std::vector<std::unique_ptr<WindowState>> children;
    CWnd* object = nullptr;        // the object that receives this window's messages
    WindowState* focus = nullptr;  // dialog only: the child that has the focus

    WindowState* Child(int childId) const;
};

const wchar_t* KindName(ControlKind kind);

}  // namespace solx::ui
