// DXF input and output of typed objects. A typed class reads the group codes it models from
// dxfInField and writes them in dxfOutFields; every tag it does not take is kept with the
// subclass it stood in and written back there, so typed objects lose nothing.
#pragma once

#include <string>
#include <vector>

#include "acad/AcDbCore.h"

// One group code and its value as text (UTF-8, numbers as written in the file).
struct AcDbDxfTag {
    int code = 0;
    std::string value;
};
using AcDbDxfTags = std::vector<AcDbDxfTag>;

// A record of a DXF stream: "0 type" and the tags that follow it.
struct AcDbDxfRecord {
    std::string type;
    AcDbDxfTags tags;
};

// A tag that a typed object did not model, and the subclass marker (group 100) it followed;
// "" for the head of the record (before any marker), "*" for tags of files without markers.
struct AcDbKeptTag {
    std::string subclass;
    AcDbDxfTag tag;
};

// Value conversions of one tag's text.
double acdbDxfReal(const AcDbDxfTag& tag);
// An angle in degrees as radians, reduced to one turn either way (a file may say -1e17).
double acdbDxfAngle(const AcDbDxfTag& tag);
int acdbDxfInt(const AcDbDxfTag& tag);
std::wstring acdbDxfText(const AcDbDxfTag& tag);
std::string acdbUtf8(const std::wstring& text);
std::wstring acdbWide(const std::string& utf8);
// Numbers written the way the writer does: shortest text that reads back exactly.
std::string acdbDxfNumber(double value);

// Collects the tags an object writes and puts the kept tags back where they stood.
class AcDbDxfFiler {
public:
    explicit AcDbDxfFiler(const std::vector<AcDbKeptTag>* kept) : kept_(kept) {}
    // Writes the handle, the kept head tags (application groups such as reactors and the
    // extension dictionary) and the owner (when not null).
    void writeHead(int handleCode, AcDbHandle handle, AcDbHandle owner);
    // Starts a subclass: first writes the kept tags of the previous subclass.
    void writeSubclass(const char* name);
    void writeString(int code, const std::wstring& text);
    void writeUtf8(int code, std::string text);
    void writeInt(int code, long value);
    void writeDouble(int code, double value);
    void writePoint2d(int code, const AcGePoint2d& p);
    void writePoint3d(int code, const AcGePoint3d& p);  // codes c, c+10, c+20
    void writeVector3d(int code, const AcGeVector3d& v) { writePoint3d(code, {v.x, v.y, v.z}); }
    void writeHandle(int code, AcDbHandle handle);
    // Writes the kept tags of subclasses that were not written, then returns the tags.
    AcDbDxfTags finish();
    AcDbDxfTags& tags() { return tags_; }

private:
    void flushKept(const std::string& subclass);
    const std::vector<AcDbKeptTag>* kept_;
    AcDbDxfTags tags_;
    std::string current_;
    std::vector<std::string> written_;
};
