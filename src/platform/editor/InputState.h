#pragma once
// Helpers shared by the editor's input functions (the pending acedInitGet set-up and keyword
// matching are declared in "acad/aced.h").

#include <string>
#include <vector>

#include "acad/aced.h"

namespace solx::editor {

const std::wstring& LastKeyword();
std::wstring Trimmed(const std::wstring& text);
bool IsEscape(const std::wstring& text);  // "@esc": cancel at a prompt
// Copies text into a caller buffer of bufLen characters, truncating.
void CopyOut(const std::wstring& text, wchar_t* result, size_t bufLen);

}  // namespace solx::editor
