#pragma once
// State shared by the editor's input functions: the pending acedInitGet set-up and the last
// keyword answer.

#include <string>
#include <vector>

namespace solx::editor {

struct InitGet {
    int flags = 0;
    std::vector<std::wstring> keywords;
};

// The set-up for the current input call; TakeInitGet clears it, so it applies to one call.
InitGet TakeInitGet();
void SetLastKeyword(std::wstring keyword);
const std::wstring& LastKeyword();

// The declared keyword that text answers, or empty.
std::wstring MatchKeyword(const std::wstring& text, const std::vector<std::wstring>& keywords);
std::wstring Trimmed(const std::wstring& text);
bool IsEscape(const std::wstring& text);  // "@esc": cancel at a prompt
// Copies text into a caller buffer of bufLen characters, truncating.
void CopyOut(const std::wstring& text, wchar_t* result, size_t bufLen);

}  // namespace solx::editor
