#include "mfc/DialogTemplate.h"

#include <cwchar>
#include <cwctype>
#include <map>
#include <optional>

#include "mfc/Utf8.h"

namespace solx::ui {
namespace {

struct Token {
    std::wstring text;
    bool quoted = false;
};

// Splits a line into words and double-quoted strings (\" and \\ escape inside quotes).
bool Tokenize(const std::wstring& line, std::vector<Token>& tokens, std::wstring& error) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (std::iswspace(static_cast<wint_t>(line[i]))) {
            ++i;
        } else if (line[i] == L'"') {
            Token token{L"", true};
            for (++i; i < line.size() && line[i] != L'"'; ++i) {
                if (line[i] == L'\\' && i + 1 < line.size()) ++i;
                token.text += line[i];
            }
            if (i >= line.size()) {
                error = L"unterminated string";
                return false;
            }
            ++i;
            tokens.push_back(token);
        } else {
            Token token;
            while (i < line.size() && !std::iswspace(static_cast<wint_t>(line[i])))
                token.text += line[i++];
            tokens.push_back(token);
        }
    }
    return true;
}

std::optional<ControlKind> KindFromName(const std::wstring& name) {
    static const std::map<std::wstring, ControlKind> kinds = {
        {L"static", ControlKind::Static}, {L"groupbox", ControlKind::GroupBox},
        {L"edit", ControlKind::Edit},     {L"maskedit", ControlKind::MaskedEdit},
        {L"button", ControlKind::Button}, {L"check", ControlKind::CheckBox},
        {L"radio", ControlKind::Radio},   {L"combo", ControlKind::ComboBox},
        {L"date", ControlKind::DateTime}, {L"spin", ControlKind::Spin},
        {L"slider", ControlKind::Slider}, {L"list", ControlKind::ListBox},
    };
    const auto it = kinds.find(name);
    if (it == kinds.end()) return std::nullopt;
    return it->second;
}

bool ToInt(const Token& token, int& value) {
    if (token.quoted || token.text.empty()) return false;
    wchar_t* end = nullptr;
    const long parsed = std::wcstol(token.text.c_str(), &end, 10);
    value = static_cast<int>(parsed);
    return *end == 0;
}

// Reads "ID X Y W H" from tokens[1..5].
bool ReadPlacement(const std::vector<Token>& tokens, int& id, DialogRect& rect) {
    return tokens.size() >= 6 && ToInt(tokens[1], id) && ToInt(tokens[2], rect.x) &&
           ToInt(tokens[3], rect.y) && ToInt(tokens[4], rect.width) &&
           ToInt(tokens[5], rect.height);
}

bool ReadOption(const std::vector<Token>& tokens, std::size_t& i, ControlTemplate& control,
                std::wstring& error) {
    const std::wstring& word = tokens[i].text;
    auto argument = [&](int& out) { return ++i < tokens.size() && ToInt(tokens[i], out); };
    if (word == L"readonly")
        control.readOnly = true;
    else if (word == L"hidden")
        control.hidden = true;
    else if (word == L"disabled")
        control.disabled = true;
    else if (word == L"group")
        control.groupStart = true;
    else if (word == L"editable")
        control.editable = true;
    else if (word == L"buddy") {
        if (!argument(control.buddyId)) error = L"buddy needs a control id";
    } else if (word == L"range") {
        if (!argument(control.rangeMin) || !argument(control.rangeMax))
            error = L"range needs two numbers";
    } else if (word == L"item") {
        if (++i < tokens.size() && tokens[i].quoted)
            control.items.push_back(tokens[i].text);
        else
            error = L"item needs a quoted text";
    } else {
        error = L"unknown option '" + word + L"'";
    }
    return error.empty();
}

bool ReadControl(const std::vector<Token>& tokens, ControlKind kind, ControlTemplate& control,
                 std::wstring& error) {
    control.kind = kind;
    if (!ReadPlacement(tokens, control.id, control.rect)) {
        error = L"expected: " + tokens[0].text + L" ID X Y WIDTH HEIGHT [\"text\"] [options]";
        return false;
    }
    std::size_t i = 6;
    if (i < tokens.size() && tokens[i].quoted) control.text = tokens[i++].text;
    for (; i < tokens.size(); ++i) {
        if (!ReadOption(tokens, i, control, error)) return false;
    }
    return true;
}

bool ReadLine(const std::vector<Token>& tokens, std::vector<DialogTemplate>& out,
              std::wstring& error) {
    if (tokens[0].text == L"dialog") {
        DialogTemplate dialog;
        if (!ReadPlacement(tokens, dialog.id, dialog.rect) || tokens.size() != 7 ||
            !tokens[6].quoted) {
            error = L"expected: dialog ID X Y WIDTH HEIGHT \"caption\"";
            return false;
        }
        dialog.caption = tokens[6].text;
        out.push_back(dialog);
        return true;
    }
    const std::optional<ControlKind> kind = KindFromName(tokens[0].text);
    if (!kind)
        error = L"unknown control kind '" + tokens[0].text + L"'";
    else if (out.empty())
        error = L"control before the first dialog line";
    if (!error.empty()) return false;
    ControlTemplate control;
    if (!ReadControl(tokens, *kind, control, error)) return false;
    out.back().controls.push_back(control);
    return true;
}

}  // namespace

std::vector<DialogTemplate> ParseDialogTemplates(const std::string& text, const std::string& file,
                                                 std::wstring& error) {
    std::vector<DialogTemplate> templates;
    const std::wstring wide = solx::win::Utf8ToWide(text);
    std::size_t start = 0;
    for (int lineNo = 1; start <= wide.size(); ++lineNo) {
        std::size_t end = wide.find(L'\n', start);
        if (end == std::wstring::npos) end = wide.size();
        std::wstring line = wide.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        std::vector<Token> tokens;
        std::wstring message;
        if (Tokenize(line, tokens, message) && (tokens.empty() || tokens[0].text.starts_with(L"#")))
            continue;
        if (message.empty() && ReadLine(tokens, templates, message)) continue;
        error = solx::win::Utf8ToWide(file) + L":" + std::to_wstring(lineNo) + L": " + message;
        return {};
    }
    for (auto& dialog : templates) dialog.source = file;
    return templates;
}

}  // namespace solx::ui
