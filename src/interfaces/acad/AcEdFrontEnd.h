#pragma once
// The editor's front ends: where answers to prompts come from and where output goes. A script
// front end (batch runs, tests), a terminal front end, later a desktop one. The editor functions
// of "acad/aced.h" do all parsing; a front end only supplies lines, shows text and says what
// happens with a line that does not fit its prompt.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acad/AcEdHostText.h"

namespace solx::editor {

// One answer line. line is the 1-based script line, 0 for typed input.
struct InputLine {
    std::wstring text;
    int line = 0;
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // The next answer to prompt (the prompt text as the command gave it). Comment lines are
    // skipped here. nullopt: no more input (end of script, end of terminal input).
    virtual std::optional<InputLine> ReadAnswer(const std::wstring& prompt) = 0;
    // A line that does not fit its prompt; expected says what would. Returns true when the
    // caller should ask again (terminal); false when the run stops (script), after which
    // Stopped() is true.
    virtual bool Reject(const InputLine& line, const std::wstring& prompt,
                        const HostMessage& expected) = 0;
    // A dialog line that was understood but cannot be done (no such control, a hidden one, a
    // value the control cannot hold); reason says why. Like Reject: true when the caller should
    // ask again (terminal, the dialog stays open), false when the run stops (script).
    virtual bool Refuse(const InputLine& line, const HostMessage& reason) {
        return Reject(line, L"", reason);
    }
    // True when a person answers (the terminal): dialogs then describe themselves on opening.
    virtual bool Interactive() const { return false; }
    // True once a user break is pending; the break is consumed by this call.
    virtual bool TakeBreak() = 0;
    // Text for the command line (already formatted, "\n" for line breaks).
    virtual void Print(const std::wstring& text) = 0;
    // Status-bar progress: label and position in [0, 100]; an empty label clears the meter.
    virtual void ShowProgress(const std::wstring& label, int percent) = 0;

    // After a rejected script line every prompt answers cancel and the run ends with failure.
    bool Stopped() const { return !m_stopMessage.empty(); }
    const std::wstring& StopMessage() const { return m_stopMessage; }

protected:
    void Stop(std::wstring message) { m_stopMessage = std::move(message); }
    // Output after an answer line starts on a fresh line already: the line break that host
    // messages begin with ("\n...") is dropped there, so the transcript has no blank lines.
    std::wstring AfterAnswer(const std::wstring& text) {
        const bool drop = m_atLineStart && !text.empty() && text[0] == L'\n';
        if (!text.empty()) m_atLineStart = text.back() == L'\n';
        return drop ? text.substr(1) : text;
    }
    void AnswerTaken() { m_atLineStart = true; }

private:
    std::wstring m_stopMessage;
    bool m_atLineStart = false;
};

// The front end the editor functions use; null restores the built-in one (reads nothing,
// prints to standard output).
void SetFrontEnd(FrontEnd* frontEnd);
FrontEnd& CurrentFrontEnd();

// A script (UTF-8 text, see docs/script.md) read line by line; name is used in messages.
// Answers are echoed to out after their prompts, so the transcript reads like a session.
std::unique_ptr<FrontEnd> MakeScriptFrontEnd(std::wstring name, const std::string& utf8Text,
                                             std::ostream& out);
// Lines typed at a terminal; a line that does not fit is asked again.
std::unique_ptr<FrontEnd> MakeTerminalFrontEnd(std::istream& in, std::ostream& out);
// Asks the terminal front end for a user break (safe to call from a signal handler).
void RequestBreak();

// Dialog actions a script gives while a modal dialog is open. Show asks for the dialog's
// description again.
enum class DialogVerb { Set, Click, Select, Ok, Cancel, Show };
struct DialogAction {
    DialogVerb verb = DialogVerb::Cancel;
    int id = 0;          // control id (Set, Click, Select)
    std::wstring value;  // Set: the text; Select: the item (text or 0-based index)
    InputLine input;     // the line it came from (for messages)
};

// Pulls the next dialog action for the open dialog named caption. "@esc" is Cancel. A line that
// is not a dialog action is rejected as for any prompt; nullopt then (and at the end of input)
// means the dialog is cancelled.
std::optional<DialogAction> NextDialogAction(const std::wstring& caption);
// Parses "@set ID VALUE", "@click ID", "@select ID ITEM", "@ok", "@cancel", and the short forms
// "ID=VALUE" (set), "ID" (click), "ok", "cancel" and "?" (show the dialog again).
std::optional<DialogAction> ParseDialogAction(const std::wstring& text);

}  // namespace solx::editor
