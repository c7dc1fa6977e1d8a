// printf formatting for wide strings with the Windows meaning of %s and %c. The C library's
// wide printf reads "%s" as a narrow string; the module's code is written for the other
// convention, so every conversion without a length modifier is rewritten to its "l" form and
// "h" forms are rewritten to the plain (narrow) form before the C library sees the format.
#include <cwchar>
#include <string>
#include <vector>

#include "mfc/CString.h"

namespace solx::win {
namespace {

bool IsFlagOrWidth(wchar_t ch) {
    return std::wcschr(L"-+ #0123456789.*'", ch) != nullptr;
}

// Copies one conversion starting after the '%' at format[i]; returns the index after it.
size_t RewriteConversion(const wchar_t* format, size_t i, std::wstring& out) {
    while (format[i] && IsFlagOrWidth(format[i])) out += format[i++];
    const bool narrow = format[i] == L'h' && (format[i + 1] == L's' || format[i + 1] == L'c');
    if (narrow) {
        out += format[i + 1];
        return i + 2;
    }
    if (format[i] == L's' || format[i] == L'c') out += L'l';
    if (format[i]) out += format[i++];
    return i;
}

std::wstring RewriteFormat(const wchar_t* format) {
    std::wstring out;
    for (size_t i = 0; format[i];) {
        out += format[i];
        if (format[i++] != L'%') continue;
        if (format[i] == L'%') {
            out += format[i++];
            continue;
        }
        i = RewriteConversion(format, i, out);
    }
    return out;
}

}  // namespace

std::wstring FormatWide(const wchar_t* format, va_list args) {
    if (!format) return {};
    const std::wstring rewritten = RewriteFormat(format);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vswprintf(buffer.data(), buffer.size(), rewritten.c_str(), copy);
        va_end(copy);
        if (n >= 0) return std::wstring(buffer.data(), static_cast<size_t>(n));
        // vswprintf reports truncation and encoding errors alike; give up at a sane size.
        if (buffer.size() >= (1u << 22)) return rewritten;
        buffer.resize(buffer.size() * 4);
    }
}

std::wstring FormatText(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWide(format, args);
    va_end(args);
    return text;
}

}  // namespace solx::win
