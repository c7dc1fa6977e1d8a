#pragma once

#include "acad/AcDbEntity.h"
#include "acad/AcDbSymbolTable.h"

// A block definition: the BLOCK_RECORD entry, its BLOCK and ENDBLK records and its entities.
// Model space is "*Model_Space"; anonymous blocks have names starting with '*' (flag 1).
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbObject* clone() const override { return new AcDbBlockTableRecord(*this); }
    std::wstring dxfName() const override { return L"BLOCK_RECORD"; }

    // Adds an entity to the database (if not yet in it) and to this block, at the end.
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus newIterator(class AcDbBlockTableRecordIterator*& it) const;
    const AcDbObjectIdArray& entityIds() const { return entities_; }
    AcDbObjectIdArray& entityIds() { return entities_; }
    AcGePoint3d origin() const { return origin_; }
    void setOrigin(const AcGePoint3d& o) { origin_ = o; }
    bool isAnonymous() const { return (blockFlags_ & 1) || (!name_.empty() && name_[0] == L'*'); }
    bool isLayout() const;  // model or paper space
    bool hasAttributeDefinitions() const;
    bool isFromExternalReference() const { return blockFlags_ & 4; }
    int blockFlags() const { return blockFlags_; }
    void setBlockFlags(int f) { blockFlags_ = f; }
    std::wstring description() const { return description_; }

    // The BLOCK and ENDBLK records of the BLOCKS section: handles and kept tags.
    AcDbHandle beginHandle, endHandle;
    std::vector<AcDbKeptTag> beginKept, endKept;
    std::wstring beginLayer = L"0";
    std::vector<AcDbXDataApp> beginXData;

    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;
    // The BLOCK and ENDBLK records (reader and writer).
    void readBlockBegin(const AcDbDxfTags& tags);
    void readBlockEnd(const AcDbDxfTags& tags);
    AcDbDxfTags writeBlockBegin() const;
    AcDbDxfTags writeBlockEnd() const;

private:
    AcDbObjectIdArray entities_;
    AcGePoint3d origin_;
    int blockFlags_ = 0;
    std::wstring description_;
};

// Walks the entities of a block (skipping erased ones), the host's way.
class AcDbBlockTableRecordIterator {
public:
    explicit AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* block) : block_(block) {
        skipErased();
    }
    void start() {
        index_ = 0;
        skipErased();
    }
    bool done() const { return index_ >= block_->entityIds().size(); }
    void step() {
        ++index_;
        skipErased();
    }
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode) const;

private:
    void skipErased();
    const AcDbBlockTableRecord* block_;
    size_t index_ = 0;
};

// The host's way to walk a block: the caller deletes the iterator.
inline Acad::ErrorStatus acdbNewIterator(const AcDbBlockTableRecord* block,
                                         AcDbBlockTableRecordIterator*& it) {
    it = new AcDbBlockTableRecordIterator(block);
    return Acad::eOk;
}
