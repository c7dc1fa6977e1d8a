// The default dialog presenter: the script presenter fed by the editor's front end, so that the
// dialog actions of a running script reach the open dialog.

#include "acad/AcEdFrontEnd.h"
#include "mfc/DialogPresenter.h"

namespace solx::ui {
namespace {

DialogAction::Kind KindOf(editor::DialogVerb verb) {
    switch (verb) {
        case editor::DialogVerb::Set:
            return DialogAction::Kind::Set;
        case editor::DialogVerb::Click:
            return DialogAction::Kind::Click;
        case editor::DialogVerb::Select:
            return DialogAction::Kind::Select;
        case editor::DialogVerb::Ok:
            return DialogAction::Kind::Ok;
        case editor::DialogVerb::Show:
            return DialogAction::Kind::Show;
        case editor::DialogVerb::Cancel:
            break;
    }
    return DialogAction::Kind::Cancel;
}

class EditorActionSource : public DialogActionSource {
public:
    std::optional<DialogAction> NextDialogAction(const std::wstring& caption) override {
        std::optional<editor::DialogAction> next = editor::NextDialogAction(caption);
        if (!next) return std::nullopt;
        DialogAction action;
        action.kind = KindOf(next->verb);
        action.id = next->id;
        action.value = next->value;
        // Typed actions have no line; a script's name the line they came from.
        action.where =
            next->input.line > 0 ? L"script line " + std::to_wstring(next->input.line) : L"";
        m_last = next->input;
        return action;
    }
    // The front end words the refusal with the line it came from (a script: file and line).
    bool Refuse(const DialogAction&, const editor::HostMessage& reason) override {
        return editor::CurrentFrontEnd().Refuse(m_last, reason);
    }
    bool Interactive() const override { return editor::CurrentFrontEnd().Interactive(); }
    bool Stopped() const override { return editor::CurrentFrontEnd().Stopped(); }
    void Print(const std::wstring& text) override { editor::CurrentFrontEnd().Print(text); }

private:
    editor::InputLine m_last;
};

DialogPresenter* g_presenter = nullptr;

DialogPresenter& DefaultPresenter() {
    static ScriptDialogPresenter presenter(FrontEndActionSource());
    return presenter;
}

}  // namespace

DialogActionSource& FrontEndActionSource() {
    static EditorActionSource source;
    return source;
}

void SetDialogPresenter(DialogPresenter* presenter) {
    g_presenter = presenter;
}

DialogPresenter* GetDialogPresenter() {
    return g_presenter ? g_presenter : &DefaultPresenter();
}

}  // namespace solx::ui
