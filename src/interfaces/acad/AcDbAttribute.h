#pragma once

#include "acad/AcDbAttributeDefinition.h"

// ATTRIB: the value of one attribute of a block reference; owned by the reference.
class AcDbAttribute : public AcDbText {
public:
    AcDbAttribute() = default;
    AcDbAttribute(const AcGePoint3d& position, const wchar_t* text, const wchar_t* tag,
                  AcDbObjectId style = {});
    AcDbObject* clone() const override { return new AcDbAttribute(*this); }
    std::wstring dxfName() const override { return L"ATTRIB"; }
    std::wstring tag() const { return tag_; }
    Acad::ErrorStatus setTag(const wchar_t* t);
    bool isInvisible() const { return flags_ & kAttInvisible; }
    Acad::ErrorStatus setInvisible(bool on);
    bool isConstant() const { return flags_ & kAttConstant; }
    // Takes text, tag, flags and placement from a definition, moved by the block transform.
    Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* def,
                                            const AcGeMatrix3d& blockTransform);
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    AcDbSharedName tag_;
    int flags_ = 0, fieldLength_ = 0;
    signed char version_ = -1;  // group 280 as the file gave it; -1 when absent
};
