#include "dxf/DxfTextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace solx::dxf {
namespace {

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);  // iconv_open failure

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (a != prefix[i]) return false;
    }
    return true;
}

// Code pages with more than one byte per character.
bool isMultiByte(std::string_view charset) {
    return charset == "CP932" || charset == "CP936" || charset == "CP949" || charset == "CP950" ||
           charset == "UTF-8";
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The code point of "\U+XXXX" at TEXT[i], or -1 when no escape starts there.
long escapeAt(std::string_view text, size_t i) {
    if (i + 7 > text.size() || text[i] != '\\' || (text[i + 1] != 'U' && text[i + 1] != 'u') ||
        text[i + 2] != '+')
        return -1;
    long cp = 0;
    for (size_t k = i + 3; k < i + 7; ++k) {
        int h = hexValue(text[k]);
        if (h < 0) return -1;
        cp = cp * 16 + h;
    }
    return cp;
}

// Reads one UTF-8 sequence at TEXT[i]; returns its length, 0 when malformed.
size_t utf8Sequence(std::string_view text, size_t i, uint32_t& cp) {
    auto b = static_cast<unsigned char>(text[i]);
    size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > text.size()) return 0;
    cp = len == 1 ? b : b & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

void appendEscape(std::string& out, uint32_t unit) {
    static const char kHex[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

bool needsDecoding(std::string_view raw) {
    for (char c : raw) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\') return true;
    }
    return false;
}

// Length of the start of TEXT that goes to the file unchanged: no line break, no backslash
// (it might start an escape) and, with ASCII_ONLY, no byte above 0x7F.
size_t plainPrefix(std::string_view text, bool asciiOnly) {
    size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b == '\n' || b == '\r' || b == '\\' || (asciiOnly && b >= 0x80)) break;
        ++i;
    }
    return i;
}

}  // namespace

std::string charsetForCodePage(std::string_view codePage) {
    while (!codePage.empty() && codePage.front() == ' ') codePage.remove_prefix(1);
    while (!codePage.empty() && codePage.back() == ' ') codePage.remove_suffix(1);
    // Only code pages that keep ASCII as it is: the reader passes ASCII text through unconverted.
    static constexpr std::string_view kAnsi[] = {"874",  "932",  "936",  "949",  "950",
                                                 "1250", "1251", "1252", "1253", "1254",
                                                 "1255", "1256", "1257", "1258"};
    static constexpr std::string_view kDos[] = {"437", "850", "852", "855", "857", "860",
                                                "861", "863", "864", "865", "866", "869"};
    for (std::string_view n : kAnsi) {
        if (startsWithNoCase(codePage, "ANSI_") && codePage.substr(5) == n)
            return "CP" + std::string(n);
    }
    for (std::string_view n : kDos) {
        if (startsWithNoCase(codePage, "DOS") && codePage.substr(3) == n)
            return "CP" + std::string(n);
    }
    if (startsWithNoCase(codePage, "UTF8") || startsWithNoCase(codePage, "UTF-8")) return "UTF-8";
    if (startsWithNoCase(codePage, "MAC-ROMAN")) return "MACINTOSH";
    return {};
}

bool isUtf8Version(std::string_view acadVersion) {
    while (!acadVersion.empty() && acadVersion.back() == ' ') acadVersion.remove_suffix(1);
    return acadVersion.size() == 6 && startsWithNoCase(acadVersion, "AC") &&
           acadVersion >= "AC1021";
}

TextDecoder::TextDecoder() = default;

TextDecoder::~TextDecoder() {
    if (iconv_) iconv_close(static_cast<iconv_t>(iconv_));
}

void TextDecoder::configure(std::string_view acadVersion, std::string_view codePage) {
    if (iconv_) iconv_close(static_cast<iconv_t>(iconv_));
    iconv_ = nullptr;
    charset_ = isUtf8Version(acadVersion) ? "UTF-8" : charsetForCodePage(codePage);
    if (charset_.empty()) charset_ = "CP1252";
    utf8_ = charset_ == "UTF-8";
    singleByte_ = !isMultiByte(charset_);
    if (utf8_) return;
    iconv_t cd = iconv_open("UTF-8", charset_.c_str());
    if (cd == kNoIconv) {
        charset_ = "CP1252";
        singleByte_ = true;
        cd = iconv_open("UTF-8", "CP1252");
    }
    iconv_ = cd == kNoIconv ? nullptr : cd;
}

bool TextDecoder::convert(std::string_view raw, std::string& out) {
    if (utf8_ || !iconv_) {
        if (!isValidUtf8(raw)) return false;
        out.assign(raw);
        return true;
    }
    auto cd = static_cast<iconv_t>(iconv_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(raw.size() * 4 + 8);
    char* in = const_cast<char*>(raw.data());
    size_t inLeft = raw.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1)) continue;
        // Bytes a single-byte code page leaves undefined (0x81 in CP1252) stand for the same
        // code point, as the system code page conversion of the drawing's origin treats them.
        if (errno != EILSEQ || !singleByte_ || outLeft < 2) return false;
        std::string one;
        appendUtf8(one, static_cast<unsigned char>(*in));
        std::memcpy(dst, one.data(), one.size());
        dst += one.size();
        outLeft -= one.size();
        ++in;
        --inLeft;
    }
    // Some converters (ANSI_1258) hold back the last character to combine it with a following
    // accent; flushing the state writes it out.
    if (iconv(cd, nullptr, nullptr, &dst, &outLeft) == static_cast<size_t>(-1)) return false;
    out.resize(static_cast<size_t>(dst - out.data()));
    return true;
}

bool TextDecoder::decode(std::string_view raw, std::string& out) {
    if (!needsDecoding(raw)) {
        out.assign(raw);
        return true;
    }
    if (!convert(raw, out)) return false;
    if (out.find("\\U+") != std::string::npos || out.find("\\u+") != std::string::npos)
        resolveUnicodeEscapes(out);
    return true;
}

void resolveUnicodeEscapes(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        long cp = escapeAt(text, i);
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            long low = escapeAt(text, i + 7);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                i += 14;
                continue;
            }
        }
        // NUL and lone surrogates stay as written: they are not characters a value can hold.
        if (cp > 0 && !(cp >= 0xD800 && cp <= 0xDFFF)) {
            appendUtf8(out, static_cast<uint32_t>(cp));
            i += 7;
        } else {
            out += text[i++];
        }
    }
    text.swap(out);
}

bool isValidUtf8(std::string_view text) {
    uint32_t cp = 0;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t len = utf8Sequence(text, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

TextEncoder::TextEncoder(std::string_view acadVersion, std::string_view codePage) {
    if (isUtf8Version(acadVersion)) return;
    std::string charset = charsetForCodePage(codePage);
    if (charset.empty()) charset = "CP1252";
    if (charset == "UTF-8") return;
    iconv_t cd = iconv_open(charset.c_str(), "UTF-8");
    if (cd == kNoIconv) cd = iconv_open("CP1252", "UTF-8");  // as the reader falls back
    iconv_ = cd == kNoIconv ? nullptr : cd;
}

TextEncoder::~TextEncoder() {
    if (iconv_) iconv_close(static_cast<iconv_t>(iconv_));
}

void TextEncoder::append(std::string& out, std::string_view text) {
    size_t plain = plainPrefix(text, iconv_ != nullptr);
    out.append(text.substr(0, plain));
    if (plain == text.size()) return;
    if (!iconv_) return appendFileText(out, text.substr(plain), false);
    uint32_t cp = 0;
    for (size_t i = plain; i < text.size();) {
        size_t len = static_cast<unsigned char>(text[i]) < 0x80 ? 1 : utf8Sequence(text, i, cp);
        if (len <= 1) {
            appendFileText(out, text.substr(i, 1), true);
            i += 1;
        } else {
            appendCharacter(out, text.substr(i, len));
            i += len;
        }
    }
}

void TextEncoder::appendCharacter(std::string& out, std::string_view utf8Char) {
    auto cd = static_cast<iconv_t>(iconv_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buf[16];
    char* in = const_cast<char*>(utf8Char.data());
    size_t inLeft = utf8Char.size();
    char* dst = buf;
    size_t outLeft = sizeof buf;
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1) ||
        iconv(cd, nullptr, nullptr, &dst, &outLeft) == static_cast<size_t>(-1)) {
        appendFileText(out, utf8Char, true);  // not in the code page: \U+XXXX
        return;
    }
    out.append(buf, static_cast<size_t>(dst - buf));
}

void appendFileText(std::string& out, std::string_view text, bool asciiOnly) {
    size_t plain = plainPrefix(text, asciiOnly);
    out.append(text.substr(0, plain));
    for (size_t i = plain; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        uint32_t cp = 0;
        if (b == '\n' || b == '\r' || (b == '\\' && escapeAt(text, i) >= 0)) {
            // A backslash that would start an escape is itself escaped, so reading gives back
            // the text as it was.
            appendEscape(out, b);
            ++i;
        } else if (!asciiOnly || b < 0x80) {
            out += text[i++];
        } else if (size_t len = utf8Sequence(text, i, cp); len == 0) {
            appendEscape(out, 0xFFFD);
            ++i;
        } else {
            if (cp >= 0x10000) {
                appendEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
                cp = 0xDC00 + ((cp - 0x10000) & 0x3FF);
            }
            appendEscape(out, cp);
            i += len;
        }
    }
}

}  // namespace solx::dxf
