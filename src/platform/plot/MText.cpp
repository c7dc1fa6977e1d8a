// Multi-line texts (MTEXT) as they read: formatting codes resolved, paragraphs split, lines
// wrapped at the text's reference width, then placed as one plan label a line.
#include <cmath>
#include <cwctype>

#include "PlotScene.h"

namespace solx::plot {
namespace {

// Skips a "\X...;" code whose value runs to the next semicolon.
size_t SkipToSemicolon(const std::wstring& s, size_t i) {
    const size_t end = s.find(L';', i);
    return end == std::wstring::npos ? s.size() : end + 1;
}

double EstimatedWidth(const std::wstring& text) {
    double units = 0;
    for (wchar_t c : text) units += c >= 0x2E80 ? 1.0 : 0.62;
    return units;
}

// Breaks one paragraph into lines of at most `units` text heights: at the last blank that
// fits, else (ideographs, long words) at the last character that fits.
void Wrap(const std::wstring& paragraph, double units, std::vector<std::wstring>& out) {
    if (units <= 0 || EstimatedWidth(paragraph) <= units) {
        out.push_back(paragraph);
        return;
    }
    std::wstring rest = paragraph;
    while (EstimatedWidth(rest) > units) {
        size_t fit = 0;
        double width = 0;
        while (fit < rest.size() && width + EstimatedWidth(rest.substr(fit, 1)) <= units)
            width += EstimatedWidth(rest.substr(fit++, 1));
        if (fit == 0) fit = 1;
        size_t cut = fit;
        const size_t blank = rest.rfind(L' ', fit);
        if (blank != std::wstring::npos && blank > 0 && fit < rest.size()) cut = blank;
        out.push_back(rest.substr(0, cut));
        rest = rest.substr(cut);
        while (!rest.empty() && rest[0] == L' ') rest.erase(0, 1);
    }
    if (!rest.empty()) out.push_back(rest);
}

}  // namespace

std::vector<std::wstring> MTextLines(const std::wstring& raw, double wrapUnits) {
    std::vector<std::wstring> paragraphs{L""};
    for (size_t i = 0; i < raw.size(); ++i) {
        const wchar_t c = raw[i];
        if (c == L'{' || c == L'}') continue;  // groups only scope formatting
        if (c != L'\\' || i + 1 >= raw.size()) {
            paragraphs.back() += c;
            continue;
        }
        const wchar_t code = raw[++i];
        switch (code) {
            case L'P':  // paragraph break
                paragraphs.emplace_back();
                break;
            case L'~':  // non-breaking space
                paragraphs.back() += L' ';
                break;
            case L'\\':
            case L'{':
            case L'}':
                paragraphs.back() += code;
                break;
            case L'S': {  // stacked fraction "a^b;", "a/b;", "a#b;" reads as a/b
                const size_t end = raw.find(L';', i + 1);
                std::wstring stack =
                    raw.substr(i + 1, end == std::wstring::npos ? std::wstring::npos : end - i - 1);
                for (auto& ch : stack)
                    if (ch == L'^' || ch == L'#') ch = L'/';
                paragraphs.back() += stack;
                i = end == std::wstring::npos ? raw.size() : end;
                break;
            }
            case L'U':  // "\U+XXXX"
                if (i + 5 < raw.size() && raw[i + 1] == L'+') {
                    const std::wstring hex = raw.substr(i + 2, 4);
                    wchar_t* end = nullptr;
                    const long v = std::wcstol(hex.c_str(), &end, 16);
                    if (end == hex.c_str() + 4) {
                        paragraphs.back() += static_cast<wchar_t>(v);
                        i += 5;
                        break;
                    }
                }
                paragraphs.back() += L"\\U";
                break;
            case L'L':  // underline, overline, strike-through on and off: no text
            case L'l':
            case L'O':
            case L'o':
            case L'K':
            case L'k':
                break;
            case L'N':  // column break: a new line here
                paragraphs.emplace_back();
                break;
            default:
                // \f font, \H height, \W width, \Q slant, \T tracking, \A alignment, \C colour,
                // \c true colour, \p paragraph format: a value up to the semicolon.
                if (std::iswalpha(static_cast<wint_t>(code)))
                    i = SkipToSemicolon(raw, i + 1) - 1;
                else
                    paragraphs.back() += code;
                break;
        }
    }
    std::vector<std::wstring> lines;
    for (const auto& p : paragraphs) Wrap(DisplayText(p), wrapUnits, lines);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

}  // namespace solx::plot
