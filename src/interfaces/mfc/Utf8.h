#pragma once
// Conversions between the program's wide strings and UTF-8 at file and terminal edges.
// Invalid UTF-8 bytes become U+FFFD; characters outside the BMP pass through unchanged
// (wchar_t is 32 bits here).

#include <string>
#include <string_view>

namespace solx::win {
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
}  // namespace solx::win
