#pragma once

#include "acad/AcDbObject.h"

// DICTIONARY: named entries (case-insensitive keys) that own (hard, group 360) or point to
// (soft, group 350) other objects. Keys keep their insertion order on save.
class AcDbDictionary : public AcDbObject {
public:
    AcDbObject* clone() const override { return new AcDbDictionary(*this); }
    std::wstring dxfName() const override { return L"DICTIONARY"; }

    bool has(const wchar_t* key) const;
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus getAt(const wchar_t* key, AcDbObjectId& id) const;
    // Adds obj to the database when it is not in one, owned by this dictionary. The key "*"
    // makes a fresh anonymous key ("*A1", "*A2", ...). Replaces an entry of the same key.
    Acad::ErrorStatus setAt(const wchar_t* key, AcDbObject* obj, AcDbObjectId& id);
    Acad::ErrorStatus remove(const wchar_t* key);
    Acad::ErrorStatus remove(const wchar_t* key, AcDbObjectId& removed);
    Acad::ErrorStatus nameAt(AcDbObjectId id, std::wstring& key) const;
    int numEntries() const;
    struct Entry {
        std::wstring key;
        AcDbHandle handle;
        int code = 350;  // 350 soft owner, 360 hard owner
    };
    const std::vector<Entry>& entries() const { return entries_; }
    bool isHardOwner() const { return hardOwner_; }
    void setHardOwner(bool h) { hardOwner_ = h; }

    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    const Entry* find(const wchar_t* key) const;
    std::vector<Entry> entries_;
    bool hardOwner_ = false;
    int cloning_ = 1;
    int anonymousCount_ = 0;
};
