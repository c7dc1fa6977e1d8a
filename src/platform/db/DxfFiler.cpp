// Tag value conversions and the filer that writes typed objects with their kept tags.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "acad/AcDbDxfFiler.h"
#include "mfc/Utf8.h"

double acdbDxfReal(const AcDbDxfTag& tag) {
    return std::strtod(tag.value.c_str(), nullptr);
}

double acdbDxfAngle(const AcDbDxfTag& tag) {
    return std::fmod(acdbDxfReal(tag), 360.0) * (M_PI / 180);
}

int acdbDxfInt(const AcDbDxfTag& tag) {
    // Some writers put reals where integers belong ("1.0"); take the integer part.
    return static_cast<int>(std::strtol(tag.value.c_str(), nullptr, 10));
}

// UTF-8 is the text of the tag layer; the database holds wide strings.
std::wstring acdbWide(const std::string& s) {
    return solx::win::Utf8ToWide(s);
}

std::string acdbUtf8(const std::wstring& w) {
    return solx::win::WideToUtf8(w);
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
