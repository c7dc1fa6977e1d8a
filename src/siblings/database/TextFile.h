#pragma once
// UTF-8 text files as wide lines, and the small parsing helpers the data files share.

#include <string>
#include <vector>

namespace solx::data {

std::wstring FromUtf8(const std::string& text);
std::string ToUtf8(const std::wstring& text);
std::string PathOf(const std::wstring& file);

// The file's lines without line ends (a UTF-8 byte-order mark is dropped); false when the
// file cannot be opened.
bool ReadLines(const std::wstring& file, std::vector<std::wstring>& lines);
// Writes the lines with "\n" ends, creating the folder; false on failure.
bool WriteLines(const std::wstring& file, const std::vector<std::wstring>& lines);

std::wstring Trim(const std::wstring& text);
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator);
// A whole-text decimal number.
bool ToNumber(const std::wstring& text, double& value);
// "file:line: message".
std::wstring Where(const std::wstring& file, size_t line, const std::wstring& message);

}  // namespace solx::data
