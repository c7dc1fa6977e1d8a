// Hand-written UTF-8 codec: std::codecvt is deprecated and the C library's depends on the
// process locale, which a host program should not have to set.
#include "mfc/Utf8.h"

namespace solx::win {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Length of the sequence introduced by lead byte c, 0 when c cannot start one.
int SequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 0;
}

void AppendUtf8(std::string& out, char32_t cp) {
    auto put = [&](unsigned v) { out += static_cast<char>(v); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6)), put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12)), put(0x80 | ((cp >> 6) & 0x3F)), put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18)), put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F)), put(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int len = SequenceLength(lead);
        if (len == 0 || i + static_cast<size_t>(len) > text.size()) {
            out += kReplacement, ++i;
            continue;
        }
        char32_t cp = len == 1 ? lead : (lead & (0x7F >> len));
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            ok = ok && (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        out += ok ? static_cast<wchar_t>(cp) : kReplacement;
        i += ok ? static_cast<size_t>(len) : 1;
    }
    return out;
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t ch : text) AppendUtf8(out, static_cast<char32_t>(ch));
    return out;
}

}  // namespace solx::win
