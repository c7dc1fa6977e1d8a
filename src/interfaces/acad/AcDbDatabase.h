// The drawing database: every object by id and handle, the symbol tables, block definitions,
// the named-objects dictionary, header and system variables, DXF load and save.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "acad/AcDbBlockTableRecord.h"
#include "acad/AcDbDictionary.h"
#include "acad/AcDbGroup.h"
#include "acad/AcDbSymbolTable.h"

namespace solx::db {
class UndoLog;
}

// The database's record of one object; AcDbObjectId points at it.
struct AcDbStub {
    AcDbDatabase* database = nullptr;
    AcDbObject* object = nullptr;  // owned by the database
    AcDbHandle handle;
};

class AcDbDatabase {
public:
    // With buildDefaultDrawing the tables, model and paper space, layer "0", style "Standard",
    // the named-objects dictionary and the layouts are made; without, the database is empty
    // (used before a load).
    explicit AcDbDatabase(bool buildDefaultDrawing = true);
    ~AcDbDatabase();
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // Load and save. On failure the message (file, line, reason) is in lastError(); a failed
    // load leaves the database as it was. Saving writes a temporary file, keeps the previous
    // file as NAME.bak and renames the new one into place.
    Acad::ErrorStatus readDxfFile(const wchar_t* path);
    Acad::ErrorStatus dxfOut(const wchar_t* path);
    const std::wstring& lastError() const { return lastError_; }
    // What the last load found wrong and worked around (blocks that insert themselves, ...),
    // each naming the file and the handle or line; the caller shows them.
    const std::vector<std::wstring>& loadWarnings() const { return loadWarnings_; }
    void addLoadWarning(std::wstring warning) { loadWarnings_.push_back(std::move(warning)); }
    void setLastError(std::wstring message) { lastError_ = std::move(message); }
    std::wstring fileName() const { return fileName_; }
    void setFileName(std::wstring f) { fileName_ = std::move(f); }

    // Adds an object: gives it an id and a fresh handle. The database owns it from now on.
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);
    // Adds with a given handle (the reader); eDuplicateKey when the handle is taken.
    Acad::ErrorStatus addAcDbObjectWithHandle(AcDbObjectId& id, AcDbObject* object,
                                              AcDbHandle handle);
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                      const AcDbHandle& handle) const;
    AcDbObjectId idOf(AcDbHandle handle) const;
    AcDbHandle handseed() const { return handseed_; }
    // A fresh handle for records that are not objects of their own (BLOCK, ENDBLK, VERTEX,
    // SEQEND); noteHandle keeps handles read from a file from being handed out again.
    AcDbHandle allocateHandle() {
        AcDbHandle h = handseed_;
        ++handseed_;
        return h;
    }
    void noteHandle(AcDbHandle h);
    // Makes room for `count` more objects in the handle index (a loader that knows how many
    // records follow saves the index's repeated growth).
    void reserveObjects(size_t count) { byHandle_.reserve(byHandle_.size() + count); }
    // Moves an object's id, handle and owner to another object (convertTo); the old object
    // leaves the database.
    Acad::ErrorStatus swapIdWith(AcDbObject* inDatabase, AcDbObject* replacement);

    AcDbObjectId blockTableId() const { return tableId(L"BLOCK_RECORD"); }
    AcDbObjectId layerTableId() const { return tableId(L"LAYER"); }
    AcDbObjectId textStyleTableId() const { return tableId(L"STYLE"); }
    AcDbObjectId linetypeTableId() const { return tableId(L"LTYPE"); }
    AcDbObjectId regAppTableId() const { return tableId(L"APPID"); }
    AcDbObjectId tableId(const std::wstring& name) const;  // "LAYER", "STYLE", ...
    const AcDbObjectIdArray& tableIds() const { return tables_; }
    AcDbObjectIdArray& tableIds() { return tables_; }
    AcDbObjectId modelSpaceId() const;
    AcDbObjectId paperSpaceId() const;
    AcDbObjectId currentSpaceId() const { return modelSpaceId(); }
    AcDbObjectId namedObjectsDictionaryId() const { return rootDictionary_; }
    void setNamedObjectsDictionaryId(AcDbObjectId id) { rootDictionary_ = id; }
    // The ACAD_GROUP dictionary, made when missing.
    AcDbObjectId groupDictionaryId();

    // Looks a record up by name in a table; null when missing.
    AcDbObjectId symbolId(const std::wstring& table, const std::wstring& name) const;
    // The record of `name` in a table, made with the factory when missing.
    AcDbObjectId ensureSymbol(const std::wstring& table, const std::wstring& name);
    // Registers an application name (APPID) when missing; returns its record.
    AcDbObjectId registerApp(const std::wstring& name);
    // A new block definition; anonymous when name is "*U" (numbered on add).
    AcDbObjectId addBlock(const std::wstring& name, AcDbBlockTableRecord** block = nullptr);

    // Current values (header variables).
    AcDbObjectId clayer() const;
    Acad::ErrorStatus setClayer(AcDbObjectId layer);
    AcDbObjectId textstyle() const;
    Acad::ErrorStatus setTextstyle(AcDbObjectId style);
    int insunits() const;
    void setInsunits(int units);
    double thickness() const;
    void setThickness(double t);

    // System variables by name without '$' ("CLAYER", "INSUNITS", "PICKBOX", ...): header
    // variables read from and written to the header; others held for the session.
    // RTNORM on success, RTERROR for an unknown name or a value of the wrong type.
    int getSysVar(const wchar_t* name, resbuf* value) const;
    int setSysVar(const wchar_t* name, const resbuf* value);

    // The HEADER section as read ("$NAME" then its tags), kept in order for the writer.
    struct HeaderVar {
        std::string name;
        AcDbDxfTags tags;
    };
    std::vector<HeaderVar>& header() { return header_; }
    const std::vector<HeaderVar>& header() const { return header_; }
    const HeaderVar* headerVar(const std::string& name) const;
    void setHeaderVar(const std::string& name, AcDbDxfTags tags);
    // Sections kept whole (CLASSES, THUMBNAILIMAGE, ...) and the section order.
    struct RawSection {
        AcDbDxfTags head;  // tags before the first record
        std::vector<AcDbDxfRecord> records;
    };
    RawSection& rawSection(const std::string& name) { return raw_[name]; }
    std::map<std::string, RawSection>& rawSections() { return raw_; }
    std::vector<std::string>& sectionOrder() { return sectionOrder_; }

    // Undo. The changes made between startUndoGroup and endUndoGroup (one command) form a
    // group; undoGroup puts back every object the last group changed, takes out the objects it
    // added and restores the header and the handle seed: all of the group's changes or none.
    // Changes are recorded where an object is opened or upgraded for write, erased or added,
    // and where a block, symbol table, dictionary or block reference receives a new member.
    void startUndoGroup();
    // Ends the open group; true when it changed something (it is kept), false when it is empty.
    bool endUndoGroup();
    bool undoGroup();  // false when there is nothing to undo
    size_t undoGroups() const;
    // Records the object's state before its first change in the open group (no-op without one).
    // Code that changes an object without opening it for write calls this first.
    void noteWrite(AcDbObject* object);
    // Whether the drawing differs from its file: set by a group that changed something, back
    // to what it was by undoing that group, cleared by setModified(false) once saved.
    bool isModified() const { return modified_; }
    void setModified(bool modified);

    // A count of the changes to the drawing, so that a view can tell cheaply whether to draw it
    // again: raised where an object is opened or upgraded for write, closed after a write,
    // erased, added, swapped, undone, and when a file is loaded. Code that changes an object
    // without opening it calls noteWrite (which raises it too).
    unsigned long long changeCount() const { return changes_; }
    void noteChange() { ++changes_; }
    // The entities shown highlighted (AcDbEntity::highlight), and a count of the changes to
    // that set. The host clears them when a command ends.
    const std::set<AcDbStub*>& highlighted() const { return highlighted_; }
    unsigned long long highlightCount() const { return highlightChanges_; }
    void noteHighlight(AcDbStub* stub, bool on);
    void unhighlightAll();

    // Every object by insertion order (erased ones too).
    template <typename F>
    void forEachObject(F&& f) const {
        for (const auto& s : stubs_)
            if (s.object) f(s.object);
    }
    size_t numObjects() const { return stubs_.size(); }

private:
    void takeContentsOf(AcDbDatabase& other);  // other gets this one's contents
    std::deque<AcDbStub> stubs_;
    std::unordered_map<uint64_t, AcDbStub*> byHandle_;
    AcDbHandle handseed_{1};
    AcDbObjectIdArray tables_;
    AcDbObjectId rootDictionary_;
    std::vector<HeaderVar> header_;
    std::map<std::string, RawSection> raw_;
    std::vector<std::string> sectionOrder_;
    std::map<std::wstring, resbuf*> sessionVars_;
    std::wstring lastError_, fileName_;
    std::unique_ptr<solx::db::UndoLog> undo_;
    bool modified_ = false;
    unsigned long long changes_ = 0, highlightChanges_ = 0;
    std::set<AcDbStub*> highlighted_;
    friend class solx::db::UndoLog;
    std::vector<std::wstring> loadWarnings_;
};

// Opens an object of a database: kForRead or kForWrite; eWasErased unless openErased.
Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false);
template <typename T>
Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false) {
    AcDbObject* o = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(o, id, mode, openErased);
    obj = nullptr;
    if (es != Acad::eOk) return es;
    obj = dynamic_cast<T*>(o);
    if (!obj) {
        o->close();
        return Acad::eNotThatKindOfClass;
    }
    return Acad::eOk;
}
inline Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                            bool openErased = false) {
    return acdbOpenObject(obj, id, mode, openErased);
}
inline Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode,
                                            bool openErased = false) {
    return acdbOpenObject(ent, id, mode, openErased);
}
// Entity names (ads_name) and object ids are the same stub; these convert.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);

// The host application's services: the working database that commands act on.
class AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const { return working_; }
    void setWorkingDatabase(AcDbDatabase* db) { working_ = db; }

private:
    AcDbDatabase* working_ = nullptr;
};
AcDbHostApplicationServices* acdbHostApplicationServices();

// Typed classes by tag, so that a library can register its own classes (product-line
// entities) without the database knowing them. The reader asks the registry for:
//  - a record type ("LINE", "LWPOLYLINE", ...);
//  - a SOLX_TYPE tag (the first 1000 string of the "SOLX_TYPE" extended data).
using AcDbObjectFactory = std::function<AcDbObject*()>;
void acdbRegisterRecordType(const std::string& recordType, AcDbObjectFactory factory);
void acdbRegisterSolxType(const std::wstring& tag, AcDbObjectFactory factory);
// The registered application name of the type tag.
inline constexpr const wchar_t* kSolxTypeApp = L"SOLX_TYPE";
