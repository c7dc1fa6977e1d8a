// Wildcard patterns of filter lists and acutWcMatch. A pattern is compiled to tokens and matched
// by dynamic programming over (token, character), so "*" runs never backtrack exponentially.
#include <cwctype>
#include <vector>

#include "acad/acedFilter.h"

namespace {

enum class Kind { Any, One, Digit, Alpha, Other, Set, Literal };

struct Token {
    Kind kind = Kind::Literal;
    wchar_t ch = 0;
    bool negate = false;
    std::vector<std::pair<wchar_t, wchar_t>> ranges;  // Set: inclusive ranges
};

wchar_t Up(wchar_t c) {
    return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

// Parses "[...]" starting after '['; returns the index after ']' (or the end).
size_t ParseSet(const std::wstring& p, size_t i, Token& t) {
    t.kind = Kind::Set;
    if (i < p.size() && p[i] == L'~') t.negate = true, ++i;
    for (bool first = true; i < p.size() && (first || p[i] != L']'); first = false) {
        const wchar_t lo = Up(p[i++]);
        if (i + 1 < p.size() && p[i] == L'-' && p[i + 1] != L']') {
            t.ranges.emplace_back(lo, Up(p[i + 1]));
            i += 2;
        } else {
            t.ranges.emplace_back(lo, lo);
        }
    }
    return i < p.size() ? i + 1 : i;
}

std::vector<Token> Compile(const std::wstring& p) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < p.size();) {
        Token t;
        const wchar_t c = p[i++];
        switch (c) {
            case L'*':
                t.kind = Kind::Any;
                break;
            case L'?':
                t.kind = Kind::One;
                break;
            case L'#':
                t.kind = Kind::Digit;
                break;
            case L'@':
                t.kind = Kind::Alpha;
                break;
            case L'.':
                t.kind = Kind::Other;
                break;
            case L'[':
                i = ParseSet(p, i, t);
                break;
            case L'`':
                t.ch = i < p.size() ? Up(p[i++]) : L'`';
                break;
            default:
                t.ch = Up(c);
                break;
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

bool MatchesOne(const Token& t, wchar_t raw) {
    const wchar_t c = Up(raw);
    const auto wc = static_cast<wint_t>(raw);
    switch (t.kind) {
        case Kind::One:
            return true;
        case Kind::Digit:
            return std::iswdigit(wc) != 0;
        case Kind::Alpha:
            return std::iswalpha(wc) != 0;
        case Kind::Other:
            return std::iswalnum(wc) == 0;
        case Kind::Literal:
            return c == t.ch;
        case Kind::Set: {
            bool in = false;
            for (const auto& [lo, hi] : t.ranges) in = in || (c >= lo && c <= hi);
            return in != t.negate;
        }
        case Kind::Any:
            return true;
    }
    return false;
}

bool MatchTokens(const std::vector<Token>& tokens, const std::wstring& text) {
    // row[j]: tokens[0..i) match text[0..j).
    std::vector<char> row(text.size() + 1, 0), next(text.size() + 1, 0);
    row[0] = 1;
    for (const Token& t : tokens) {
        std::fill(next.begin(), next.end(), 0);
        for (size_t j = 0; j <= text.size(); ++j) {
            if (t.kind == Kind::Any)
                next[j] = row[j] || (j > 0 && next[j - 1]);
            else if (j > 0)
                next[j] = row[j - 1] && MatchesOne(t, text[j - 1]);
        }
        row.swap(next);
    }
    return row[text.size()] != 0;
}

// Splits at commas that are neither quoted by "`" nor inside "[...]".
std::vector<std::wstring> Alternatives(const std::wstring& pattern) {
    std::vector<std::wstring> out(1);
    bool inSet = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'`' && i + 1 < pattern.size()) {
            out.back() += c, out.back() += pattern[++i];
            continue;
        }
        if (c == L'[') inSet = true;
        if (c == L']') inSet = false;
        if (c == L',' && !inSet)
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

}  // namespace

int acutWcMatch(const wchar_t* text, const wchar_t* pattern) {
    if (!text || !pattern) return RTERROR;
    for (const std::wstring& alt : Alternatives(pattern)) {
        const bool negate = !alt.empty() && alt[0] == L'~';
        const bool hit = MatchTokens(Compile(negate ? alt.substr(1) : alt), text);
        if (hit != negate) return RTNORM;
    }
    return RTERROR;
}
