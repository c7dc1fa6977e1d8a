// The current front end and the dialog-action pull the dialog runtime uses.
#include <cwctype>
#include <iostream>

#include "acad/aced.h"
#include "editor/InputState.h"
#include "mfc/Utf8.h"

namespace solx::editor {
namespace {

// Used when no front end is installed: no input at all, output to standard output.
class SilentFrontEnd : public FrontEnd {
public:
    std::optional<InputLine> ReadAnswer(const std::wstring&) override { return std::nullopt; }
    bool Reject(const InputLine&, const std::wstring&, const HostMessage&) override {
        return false;
    }
    bool TakeBreak() override { return false; }
    void Print(const std::wstring& text) override { std::cout << win::WideToUtf8(text); }
    void ShowProgress(const std::wstring&, int) override {}
};

FrontEnd* g_frontEnd = nullptr;

std::wstring Lower(std::wstring text) {
    for (auto& ch : text) ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return text;
}

// Splits "verb rest" at the first run of blanks.
std::pair<std::wstring, std::wstring> SplitWord(const std::wstring& text) {
    const auto space = text.find_first_of(L" \t");
    if (space == std::wstring::npos) return {text, L""};
    return {text.substr(0, space), Trimmed(text.substr(space))};
}

bool ParseId(const std::wstring& text, int& id) {
    double v = 0.0;
    if (!ParseNumber(text, v) || v != static_cast<int>(v)) return false;
    id = static_cast<int>(v);
    return true;
}

}  // namespace

void SetFrontEnd(FrontEnd* frontEnd) {
    g_frontEnd = frontEnd;
}

FrontEnd& CurrentFrontEnd() {
    static SilentFrontEnd silent;
    return g_frontEnd ? *g_frontEnd : silent;
}

std::optional<DialogAction> ParseDialogAction(const std::wstring& text) {
    const std::wstring line = Trimmed(text);
    auto [verb, rest] = SplitWord(line);
    verb = Lower(verb);
    DialogAction action;
    if (verb == L"@ok" || verb == L"@cancel" || verb == L"ok" || verb == L"cancel") {
        action.verb = verb.back() == L'k' ? DialogVerb::Ok : DialogVerb::Cancel;
        return rest.empty() ? std::optional(action) : std::nullopt;
    }
    if (line == L"?") return action.verb = DialogVerb::Show, action;
    if (!line.empty() && line[0] != L'@') {
        // Short forms: "2048=9:00" types into a control, "2042" clicks it.
        const auto equals = line.find(L'=');
        if (!ParseId(Trimmed(line.substr(0, equals)), action.id)) return std::nullopt;
        if (equals == std::wstring::npos) return action.verb = DialogVerb::Click, action;
        action.verb = DialogVerb::Set;
        action.value = Trimmed(line.substr(equals + 1));
        return action;
    }
    const auto [idText, value] = SplitWord(rest);
    if (!ParseId(idText, action.id)) return std::nullopt;
    action.value = value;
    if (verb == L"@click" && value.empty())
        action.verb = DialogVerb::Click;
    else if (verb == L"@set")
        action.verb = DialogVerb::Set;
    else if (verb == L"@select" && !value.empty())
        action.verb = DialogVerb::Select;
    else
        return std::nullopt;
    return action;
}

std::optional<DialogAction> NextDialogAction(const std::wstring& caption) {
    const std::wstring prompt = L"\n[" + caption + L"] ";
    for (;;) {
        InputLine line;
        if (ReadRaw(prompt.c_str(), line) != RTNORM) {
            if (!IsEscape(line.text)) return std::nullopt;
            DialogAction cancel;  // the user's Esc closes the dialog as Cancel does
            cancel.input = line;
            return cancel;
        }
        if (auto action = ParseDialogAction(line.text)) {
            action->input = line;
            return action;
        }
        const auto expected = HostMessage(
            L"a dialog action (@set ID VALUE, @click ID, @select ID ITEM, @ok, @cancel, or "
            L"ID=VALUE, ID, ok, cancel, ?)");
        if (!RejectLine(line, prompt.c_str(), expected)) return std::nullopt;
    }
}

}  // namespace solx::editor
