#pragma once

#include "acad/AcDbText.h"

// Flags of attribute definitions and attributes (group 70).
enum AcDbAttributeFlags { kAttInvisible = 1, kAttConstant = 2, kAttVerify = 4, kAttPreset = 8 };

// ATTDEF: a text in a block definition that block references fill in (tag, prompt, default).
class AcDbAttributeDefinition : public AcDbText {
public:
    AcDbAttributeDefinition() = default;
    AcDbAttributeDefinition(const AcGePoint3d& position, const wchar_t* text, const wchar_t* tag,
                            const wchar_t* prompt, AcDbObjectId style = {});
    AcDbObject* clone() const override { return new AcDbAttributeDefinition(*this); }
    std::wstring dxfName() const override { return L"ATTDEF"; }
    std::wstring tag() const { return tag_; }
    Acad::ErrorStatus setTag(const wchar_t* t);
    std::wstring prompt() const { return prompt_; }
    Acad::ErrorStatus setPrompt(const wchar_t* p);
    bool isInvisible() const { return flags_ & kAttInvisible; }
    bool isConstant() const { return flags_ & kAttConstant; }
    bool isVerifiable() const { return flags_ & kAttVerify; }
    bool isPreset() const { return flags_ & kAttPreset; }
    Acad::ErrorStatus setInvisible(bool on);
    Acad::ErrorStatus setConstant(bool on);
    int fieldLength() const { return fieldLength_; }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    AcDbSharedName tag_;
    std::wstring prompt_;
    int flags_ = 0, fieldLength_ = 0;
};
