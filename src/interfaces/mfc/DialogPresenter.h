#pragma once
// Presenters run modal dialogs: the script presenter applies dialog actions from a source (a
// script front end, or a test); a desktop presenter shows the dialog on screen. Dialog code does
// not know which one runs it.

#include <optional>
#include <string>

#include "acad/AcEdHostText.h"
#include "mfc/WinTypes.h"

class CDialog;
class CWnd;

namespace solx::ui {

class DialogPresenter {
public:
    virtual ~DialogPresenter() = default;
    // Runs the dialog until EndDialog; answers its modal result.
    virtual int RunModal(CDialog& dialog) = 0;
    // A modeless window opened (AddModelessWindow) or is going (RemoveModelessWindow). A
    // desktop presenter shows it and takes it down; the script presenter has nothing to show.
    virtual void ModelessOpened(CDialog&) {}
    virtual void ModelessClosed(CWnd&) {}
};

// The presenter DoModal uses. Null restores the default: the script presenter over the editor's
// front end (the dialog actions of the running script, "acad/AcEdFrontEnd.h").
void SetDialogPresenter(DialogPresenter* presenter);
DialogPresenter* GetDialogPresenter();

// One line of a script aimed at the open dialog:
//   @set ID VALUE   @click ID   @select ID ITEM   @ok   @cancel
struct DialogAction {
    enum class Kind { Set, Click, Select, Ok, Cancel, Show };
    Kind kind = Kind::Ok;
    int id = 0;
    std::wstring value;
    std::wstring where;  // e.g. "script.txt:12", used in messages
};

// Parses one action line ("@set 2018 30"); false with a message for anything else.
bool ParseDialogAction(const std::wstring& line, DialogAction& action, std::wstring& error);

class DialogActionSource {
public:
    virtual ~DialogActionSource() = default;
    // The next action for the open dialog (its caption, for prompts and messages); nullopt when
    // the input has none.
    virtual std::optional<DialogAction> NextDialogAction(const std::wstring& caption) = 0;
    // An action that could not be applied; reason says why. True when the dialog stays open for
    // the next action (a person at the terminal); false when the run stops, which cancels the
    // dialog (a script).
    virtual bool Refuse(const DialogAction& action, const editor::HostMessage& reason) = 0;
    // True when a person answers: the dialog is shown as text when it opens.
    virtual bool Interactive() const { return false; }
    // True once the input has stopped (an earlier line did not fit): the dialog closes quietly.
    virtual bool Stopped() const { return false; }
    virtual void Print(const std::wstring& text) = 0;
};

// The editor's front end as a source of dialog actions (what the default presenter reads): the
// lines of the running script, or those typed at the terminal.
DialogActionSource& FrontEndActionSource();

// How an action reaches a control. The script presenter calls the runtime's user-input
// functions ("mfc/UserInput.h") itself; a desktop presenter works the toolkit's widgets, whose
// events call the same functions. Each answers false with the reason when it is refused.
class ControlHand {
public:
    virtual ~ControlHand() = default;
    // Types `text` into an edit (or an editable combo box) and leaves the field.
    virtual bool Type(HWND window, const std::wstring& text, editor::HostMessage& error) = 0;
    virtual bool Click(HWND window, editor::HostMessage& error) = 0;
    virtual bool Pick(HWND window, int index, editor::HostMessage& error) = 0;
    virtual bool PickDate(HWND window, const SYSTEMTIME& date, editor::HostMessage& error) = 0;
    virtual bool Move(HWND window, int pos, editor::HostMessage& error) = 0;
    // Presses OK or Cancel (IDOK, IDCANCEL).
    virtual bool Press(CDialog& dialog, int id, editor::HostMessage& error) = 0;
};

// The dialog as text: caption and template, then for every control its id, label, kind, value,
// what it takes, its state (read-only, disabled, hidden) and the items of lists.
std::wstring DescribeDialog(const CDialog& dialog);

// Applies the actions of a source to the open dialog as a user would: @set on an edit types the
// text and leaves the field; on a combo box selects the item; on a date picker (YYYY-MM-DD)
// changes the date; on a check box or radio sets the check by clicking; on a spin or slider moves
// it. An action that cannot be applied goes back to the source (Refuse): a terminal keeps the
// dialog open, a script stops and the dialog is cancelled. A dialog left open when the source
// runs dry is cancelled with a message. Show prints DescribeDialog.
class ScriptDialogPresenter : public DialogPresenter {
public:
    explicit ScriptDialogPresenter(DialogActionSource& source) : m_source(source) {}
    int RunModal(CDialog& dialog) override;
    // Applies one action; false (with a message) when it cannot be applied.
    static bool Apply(CDialog& dialog, const DialogAction& action, editor::HostMessage& error);
    // The same through `hand`: what each line means and what is refused stays here, the hand
    // only does it.
    static bool Apply(CDialog& dialog, const DialogAction& action, ControlHand& hand,
                      editor::HostMessage& error);
    // Takes one action from `source` and applies it through `hand`; a refused action, or a
    // source that ran dry, ends the dialog as RunModal does. RunModal repeats it until the
    // dialog ended; a desktop presenter runs it from its modal loop.
    static void Step(CDialog& dialog, DialogActionSource& source, ControlHand& hand);

private:
    DialogActionSource& m_source;
};

}  // namespace solx::ui
