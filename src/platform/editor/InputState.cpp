// The pending keyword set-up and keyword matching.
#include "editor/InputState.h"

#include <algorithm>
#include <cwctype>
#include <sstream>
#include <utility>

#include "acad/aced.h"

namespace solx::editor {
namespace {

InitGet g_initGet;
std::wstring g_lastKeyword;

std::wstring Upper(std::wstring text) {
    for (auto& ch : text) ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return text;
}

// "hEight" -> "E"; a keyword without capitals (or all capitals) has no separate short form.
std::wstring ShortForm(const std::wstring& keyword) {
    std::wstring caps;
    for (wchar_t ch : keyword)
        if (std::iswupper(static_cast<wint_t>(ch))) caps += ch;
    return caps;
}

}  // namespace

InitGet TakeInitGet() {
    return std::exchange(g_initGet, InitGet{});
}
void SetLastKeyword(std::wstring keyword) {
    g_lastKeyword = std::move(keyword);
}
const std::wstring& LastKeyword() {
    return g_lastKeyword;
}

std::wstring MatchKeyword(const std::wstring& text, const std::vector<std::wstring>& keywords) {
    if (text.empty()) return {};
    const std::wstring answer = Upper(text);
    for (const auto& keyword : keywords)
        if (answer == Upper(keyword)) return keyword;
    for (const auto& keyword : keywords) {
        const std::wstring caps = ShortForm(keyword);
        if (!caps.empty() && answer == caps) return keyword;
    }
    return {};
}

std::wstring Trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

bool IsEscape(const std::wstring& text) {
    return Upper(Trimmed(text)) == L"@ESC";
}

void CopyOut(const std::wstring& text, wchar_t* result, size_t bufLen) {
    if (!result || bufLen == 0) return;
    const size_t n = std::min(text.size(), bufLen - 1);
    std::copy_n(text.begin(), n, result);
    result[n] = L'\0';
}

}  // namespace solx::editor

int acedInitGet(int flags, const wchar_t* keywords) {
    solx::editor::InitGet next;
    next.flags = flags;
    std::wistringstream in(keywords ? keywords : L"");
    for (std::wstring word; in >> word;) next.keywords.push_back(word);
    solx::editor::g_initGet = std::move(next);  // TakeInitGet hands it to one input call
    return RTNORM;
}
