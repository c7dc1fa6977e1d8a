// Tag value conversions and the filer that writes typed objects with their kept tags.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "acad/AcDbDxfFiler.h"

double acdbDxfReal(const AcDbDxfTag& tag) {
    return std::strtod(tag.value.c_str(), nullptr);
}

int acdbDxfInt(const AcDbDxfTag& tag) {
    // Some writers put reals where integers belong ("1.0"); take the integer part.
    return static_cast<int>(std::strtol(tag.value.c_str(), nullptr, 10));
}

std::wstring acdbWide(const std::string& s) {
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= s.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(0xFFFD);  // invalid byte: replacement character
            ++i;
            continue;
        }
        uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
        out.push_back(static_cast<wchar_t>(cp));
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::string acdbUtf8(const std::wstring& w) {
    std::string out;
    out.reserve(w.size());
    for (wchar_t wc : w) {
        auto cp = static_cast<uint32_t>(wc);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::wstring acdbDxfText(const AcDbDxfTag& tag) {
    return acdbWide(tag.value);
}

std::string acdbDxfNumber(double v) {
    if (v == 0) return "0.0";  // also turns -0 into 0
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, res.ptr);
    // Readers of integers-only fields are not involved here; mark reals as reals.
    if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
    return s;
}

void AcDbDxfFiler::flushKept(const std::string& subclass) {
    if (!kept_) return;
    for (const AcDbKeptTag& k : *kept_)
        if (k.subclass == subclass) tags_.push_back(k.tag);
}

void AcDbDxfFiler::writeSubclass(const char* name) {
    flushKept(current_);
    written_.push_back(current_);
    current_ = name;
    tags_.push_back({100, name});
}

void AcDbDxfFiler::writeString(int code, const std::wstring& text) {
    tags_.push_back({code, acdbUtf8(text)});
}
void AcDbDxfFiler::writeUtf8(int code, std::string text) {
    tags_.push_back({code, std::move(text)});
}
void AcDbDxfFiler::writeInt(int code, long value) {
    tags_.push_back({code, std::to_string(value)});
}
void AcDbDxfFiler::writeDouble(int code, double value) {
    tags_.push_back({code, acdbDxfNumber(value)});
}

void AcDbDxfFiler::writePoint2d(int code, const AcGePoint2d& p) {
    writeDouble(code, p.x);
    writeDouble(code + 10, p.y);
}

void AcDbDxfFiler::writePoint3d(int code, const AcGePoint3d& p) {
    writeDouble(code, p.x);
    writeDouble(code + 10, p.y);
    writeDouble(code + 20, p.z);
}

void AcDbDxfFiler::writeHandle(int code, AcDbHandle handle) {
    writeUtf8(code, acdbUtf8(handle.toString()));
}

AcDbDxfTags AcDbDxfFiler::finish() {
    flushKept(current_);
    written_.push_back(current_);
    if (kept_) {
        // Subclasses the typed class did not write (and tags of files without markers).
        std::vector<std::string> pending;
        for (const AcDbKeptTag& k : *kept_) {
            bool done = false;
            for (const auto& w : written_) done = done || w == k.subclass;
            for (const auto& p : pending) done = done || p == k.subclass;
            if (!done) pending.push_back(k.subclass);
        }
        for (const auto& sub : pending) {
            if (sub != "*" && !sub.empty()) tags_.push_back({100, sub});
            flushKept(sub);
        }
    }
    return std::move(tags_);
}

void AcDbDxfFiler::writeHead(int handleCode, AcDbHandle handle, AcDbHandle owner) {
    writeHandle(handleCode, handle);
    flushKept("");
    if (!owner.isNull()) writeHandle(330, owner);
    written_.push_back("");
    current_ = "\x01";  // no kept tag belongs to this name
}
