#include <cwchar>
#include <cwctype>

#include "mfc/DialogPresenter.h"

namespace solx::ui {
namespace {

std::wstring Trim(const std::wstring& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && std::iswspace(static_cast<wint_t>(text[first]))) ++first;
    while (last > first && std::iswspace(static_cast<wint_t>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

// Splits off the first word of `rest`.
std::wstring NextWord(std::wstring& rest) {
    rest = Trim(rest);
    std::size_t end = 0;
    while (end < rest.size() && !std::iswspace(static_cast<wint_t>(rest[end]))) ++end;
    std::wstring word = rest.substr(0, end);
    rest = Trim(rest.substr(end));
    return word;
}

bool ReadId(std::wstring& rest, int& id) {
    const std::wstring word = NextWord(rest);
    wchar_t* end = nullptr;
    id = static_cast<int>(std::wcstol(word.c_str(), &end, 10));
    return !word.empty() && *end == 0;
}

}  // namespace

bool ParseDialogAction(const std::wstring& line, DialogAction& action, std::wstring& error) {
    using Kind = DialogAction::Kind;
    std::wstring rest = line;
    const std::wstring verb = NextWord(rest);
    if (verb == L"@ok" || verb == L"@cancel") {
        action.kind = verb == L"@ok" ? Kind::Ok : Kind::Cancel;
        if (rest.empty()) return true;
        error = verb + L" takes nothing after it";
        return false;
    }
    if (verb == L"@set")
        action.kind = Kind::Set;
    else if (verb == L"@click")
        action.kind = Kind::Click;
    else if (verb == L"@select")
        action.kind = Kind::Select;
    else {
        error = L"unknown dialog action '" + verb + L"'";
        return false;
    }
    if (!ReadId(rest, action.id)) {
        error = verb + L" needs a control id";
        return false;
    }
    const bool quoted = rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"';
    action.value = quoted ? rest.substr(1, rest.size() - 2) : rest;
    if (action.kind == Kind::Click && !rest.empty()) error = L"@click takes only a control id";
    if (action.kind != Kind::Click && rest.empty())
        error = verb + L" needs a value (\"\" for none)";
    return error.empty();
}

}  // namespace solx::ui
