#pragma once

#include "acad/AcDbObject.h"

// GROUP: a named or anonymous ("*A...") collection of entities, kept in the group dictionary
// ACAD_GROUP of the named-objects dictionary.
class AcDbGroup : public AcDbObject {
public:
    AcDbGroup() = default;
    explicit AcDbGroup(const wchar_t* description, bool selectable = true)
        : description_(description ? description : L""), selectable_(selectable) {}
    AcDbObject* clone() const override { return new AcDbGroup(*this); }
    std::wstring dxfName() const override { return L"GROUP"; }

    Acad::ErrorStatus append(AcDbObjectId id);
    Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
    Acad::ErrorStatus remove(AcDbObjectId id);
    bool has(AcDbObjectId id) const;
    int numEntities() const;
    AcDbObjectIdArray allEntityIds() const;  // skips members that are gone
    Acad::ErrorStatus clear();
    std::wstring description() const { return description_; }
    void setDescription(const wchar_t* d) { description_ = d; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool s) { selectable_ = s; }
    bool isAnonymous() const { return anonymous_; }
    void setAnonymous() { anonymous_ = true; }
    // The group's key in ACAD_GROUP; empty when not in a dictionary.
    std::wstring name() const;

    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    std::wstring description_;
    bool selectable_ = true, anonymous_ = false;
    std::vector<AcDbHandle> members_;
};
