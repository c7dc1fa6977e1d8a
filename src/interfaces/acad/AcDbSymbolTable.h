// Symbol tables (LAYER, STYLE, LTYPE, APPID, BLOCK_RECORD and the ones kept untyped) and their
// records. Names compare case-insensitively, as the host does.
#pragma once

#include <unordered_map>

#include "acad/AcDbObject.h"

class AcDbSymbolTableRecord : public AcDbObject {
public:
    std::wstring getName() const { return name_; }
    Acad::ErrorStatus getName(std::wstring& name) const {
        name = name_;
        return Acad::eOk;
    }
    Acad::ErrorStatus setName(const wchar_t* name);
    int flags() const { return flags_; }
    void setFlags(int f) { flags_ = f; }
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

protected:
    // Writes "100 AcDbSymbolTableRecord", the class marker, 2 name and 70 flags.
    void writeHead(AcDbDxfFiler& filer, const char* subclass) const;
    std::wstring name_;
    int flags_ = 0;
};

// A record of a table we do not model (VPORT, VIEW, UCS, DIMSTYLE): kept whole.
class AcDbUnknownTableRecord : public AcDbSymbolTableRecord {
public:
    explicit AcDbUnknownTableRecord(std::string type = "") : type_(std::move(type)) {}
    AcDbObject* clone() const override { return new AcDbUnknownTableRecord(*this); }
    std::wstring dxfName() const override { return acdbWide(type_); }
    std::string dxfRecordType() const override { return type_; }
    bool keepsSubclassMarkers() const override { return true; }
    int handleCode() const override { return type_ == "DIMSTYLE" ? 105 : 5; }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler&) const override {}

private:
    std::string type_;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbObject* clone() const override { return new AcDbLayerTableRecord(*this); }
    std::wstring dxfName() const override { return L"LAYER"; }
    int colorIndex() const { return color_ < 0 ? -color_ : color_; }
    void setColorIndex(int c) { color_ = isOff() ? -std::abs(c) : std::abs(c); }
    bool isOff() const { return color_ < 0; }
    void setIsOff(bool off) { color_ = off ? -std::abs(color_) : std::abs(color_); }
    bool isFrozen() const { return flags_ & 1; }
    void setIsFrozen(bool f) { flags_ = f ? (flags_ | 1) : (flags_ & ~1); }
    bool isLocked() const { return flags_ & 4; }
    void setIsLocked(bool l) { flags_ = l ? (flags_ | 4) : (flags_ & ~4); }
    std::wstring linetypeName() const { return linetype_; }
    void setLinetypeName(const wchar_t* name) { linetype_ = name; }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    int color_ = 7;  // negative when the layer is off
    std::wstring linetype_ = L"Continuous";
};

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbObject* clone() const override { return new AcDbTextStyleTableRecord(*this); }
    std::wstring dxfName() const override { return L"STYLE"; }
    double textSize() const { return size_; }
    void setTextSize(double s) { size_ = s; }
    double xScale() const { return xScale_; }
    void setXScale(double s) { xScale_ = s; }
    std::wstring fileName() const { return font_; }
    void setFileName(const wchar_t* f) { font_ = f; }
    std::wstring bigFontFileName() const { return bigFont_; }
    void setBigFontFileName(const wchar_t* f) { bigFont_ = f; }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    double size_ = 0, xScale_ = 1, oblique_ = 0, lastHeight_ = 2.5;
    int generation_ = 0;
    std::wstring font_ = L"txt", bigFont_;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbObject* clone() const override { return new AcDbLinetypeTableRecord(*this); }
    std::wstring dxfName() const override { return L"LTYPE"; }
    std::wstring comments() const { return description_; }
    void setComments(const wchar_t* d) { description_ = d; }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    std::wstring description_;
    bool seenPattern_ = false;  // the pattern (72 onwards) is kept as read
};

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbObject* clone() const override { return new AcDbRegAppTableRecord(*this); }
    std::wstring dxfName() const override { return L"APPID"; }
    void dxfOutFields(AcDbDxfFiler& filer) const override;
};

// A table: its records in order. The table object owns nothing; records are database objects.
class AcDbSymbolTable : public AcDbObject {
public:
    explicit AcDbSymbolTable(std::wstring tableName = L"") : tableName_(std::move(tableName)) {}
    AcDbObject* clone() const override { return new AcDbSymbolTable(*this); }
    std::wstring dxfName() const override { return L"TABLE"; }
    std::wstring tableName() const { return tableName_; }
    bool has(const wchar_t* name) const;
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus getAt(const wchar_t* name, AcDbObjectId& id, bool getErased = false) const;
    // Adds a record to the database and this table (eDuplicateKey when the name exists).
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    const AcDbObjectIdArray& recordIds() const { return records_; }
    AcDbObjectIdArray& recordIds() { return records_; }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;
    // A record of this table was renamed: the index by name is rebuilt on the next lookup.
    void nameChanged() const {
        byName_.clear();
        indexed_ = 0;
    }

private:
    void indexNewRecords() const;

    std::wstring tableName_;
    AcDbObjectIdArray records_;
    // Records by upper-case name, so that lookups in tables of many thousand blocks stay
    // quick: filled as records are appended (records_[indexed_..] are not in it yet).
    mutable std::unordered_map<std::wstring, AcDbObjectId> byName_;
    mutable size_t indexed_ = 0;
};
using AcDbLayerTable = AcDbSymbolTable;
using AcDbTextStyleTable = AcDbSymbolTable;
using AcDbLinetypeTable = AcDbSymbolTable;
using AcDbRegAppTable = AcDbSymbolTable;
using AcDbBlockTable = AcDbSymbolTable;
