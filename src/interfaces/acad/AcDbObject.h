// The base of every database object: id, handle, owner, open state, erase, extended data,
// filter queries and DXF input/output.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acad/AcDbCore.h"
#include "acad/AcDbDxfFiler.h"
#include "acad/adsdef.h"

// Extended data of one registered application: the tags after its 1001 name tag.
struct AcDbXDataApp {
    std::wstring app;
    AcDbDxfTags tags;
};

class AcDbObject {
public:
    AcDbObject() = default;
    virtual ~AcDbObject() = default;
    // A copy has the data (extended data, kept tags) but not the identity: no id, handle or
    // owner, not open, not erased. clone() relies on this.
    AcDbObject(const AcDbObject& o) : xdata_(o.xdata_), kept_(o.kept_) {}
    AcDbObject& operator=(const AcDbObject& o) {
        xdata_ = o.xdata_;
        kept_ = o.kept_;
        return *this;
    }

    // A new object with the same data (not in any database, no id).
    virtual AcDbObject* clone() const = 0;
    // The type name filter lists and queries use ("LINE", "BREL_SLAB", ...).
    virtual std::wstring dxfName() const = 0;
    // The record type written to DXF; differs from dxfName for tagged product-line objects.
    virtual std::string dxfRecordType() const { return acdbUtf8(dxfName()); }
    // Stable class name for the SOLX_TYPE tag; empty for classes written as themselves.
    virtual std::wstring solxTypeTag() const { return {}; }
    // Values a tagged class keeps in its tag's extended data, after the class name. Data that
    // cannot be taken (sizes it does not hold) throws std::runtime_error with the reason; the
    // reader refuses the file, naming the record's line and handle.
    virtual void dxfInSolxData(const AcDbDxfTags&) {}
    virtual void dxfOutSolxData(AcDbDxfTags&) const {}

    AcDbObjectId objectId() const { return id_; }
    AcDbObjectId id() const { return id_; }
    AcDbObjectId ownerId() const;
    Acad::ErrorStatus setOwnerId(AcDbObjectId owner);
    AcDbHandle handle() const { return handle_; }
    void getAcDbHandle(AcDbHandle& h) const { h = handle_; }
    AcDbDatabase* database() const;

    // Open state. Objects of a database are opened with acdbOpenObject and closed with close();
    // an object not in a database may simply be deleted.
    Acad::ErrorStatus close();
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    bool isReadEnabled() const { return openMode_ != AcDb::kNotOpen || !id_.isValid(); }
    bool isWriteEnabled() const { return openMode_ == AcDb::kForWrite || !id_.isValid(); }
    AcDb::OpenMode openMode() const { return openMode_; }
    bool isNewObject() const { return newObject_; }

    // Erasing keeps the object (and its id) until the database goes, but skips it on save.
    virtual Acad::ErrorStatus erase(bool erasing = true);
    bool isErased() const { return erased_; }

    // Extended data as a list (1001 app name, then its items); null when there is none.
    // With an application name only that application's data.
    resbuf* xData(const wchar_t* regappName = nullptr) const;
    // Replaces the data of every application named in the list; an application with no items
    // after its name loses its data. The applications must be registered (eRegappIdNotFound).
    Acad::ErrorStatus setXData(const resbuf* xdata);
    const std::vector<AcDbXDataApp>& xDataApps() const { return xdata_; }
    std::vector<AcDbXDataApp>& xDataApps() { return xdata_; }

    // What the object writes for one DXF group code; nothing when it writes no such code.
    virtual std::optional<AcDbFilterValue> groupValue(short code) const;

    // The extension dictionary (group 360 in the {ACAD_XDICTIONARY group), null when none.
    AcDbObjectId extensionDictionary() const;

    // DXF: a typed class takes the tags it models (returns true) and writes them back.
    virtual bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass);
    virtual void dxfOutFields(AcDbDxfFiler& filer) const;
    // Called once all tags of the record were read.
    virtual void dxfInEnd() {}
    // Called once the whole drawing was loaded (all handles resolvable).
    virtual void dxfLoaded() {}
    // Called before a save, while the object is in a database: objects drawn through a block
    // of their own (regions, product-line markers and tables) rebuild that block here.
    virtual void prepareForSave() {}
    // Whether group 100 markers are kept as data (objects we do not model).
    virtual bool keepsSubclassMarkers() const { return false; }
    std::vector<AcDbKeptTag>& keptTags() { return kept_; }
    const std::vector<AcDbKeptTag>& keptTags() const { return kept_; }
    // The handle-carrying group code (105 for dimension styles, else 5).
    virtual int handleCode() const { return 5; }

    // Database bookkeeping; used by the database only.
    void setDatabaseStub(AcDbObjectId id, AcDbHandle handle);
    void setOpenMode(AcDb::OpenMode mode) { openMode_ = mode; }
    void setOwnerHandle(AcDbHandle h) { ownerHandle_ = h; }
    AcDbHandle ownerHandle() const { return ownerHandle_; }
    void setErasedFlag(bool e) { erased_ = e; }
    void setNewObject(bool n) { newObject_ = n; }

protected:
    // For subclasses: the object's extents of database-level lookups.
    AcDbObjectId lookupHandle(AcDbHandle h) const;

private:
    AcDbObjectId id_;
    AcDbHandle handle_;
    AcDbHandle ownerHandle_;
    AcDb::OpenMode openMode_ = AcDb::kNotOpen;
    bool erased_ = false;
    bool newObject_ = true;
    std::vector<AcDbXDataApp> xdata_;
    std::vector<AcDbKeptTag> kept_;
};

// An object of a type we do not model: all its tags are kept and written back unchanged.
class AcDbUnknownObject : public AcDbObject {
public:
    explicit AcDbUnknownObject(std::string type = "UNKNOWN") : type_(std::move(type)) {}
    AcDbObject* clone() const override { return new AcDbUnknownObject(*this); }
    std::wstring dxfName() const override { return acdbWide(type_); }
    std::string dxfRecordType() const override { return type_; }
    bool keepsSubclassMarkers() const override { return true; }
    int handleCode() const override { return type_ == "DIMSTYLE" ? 105 : 5; }
    std::optional<AcDbFilterValue> groupValue(short code) const override;

private:
    std::string type_;
};
