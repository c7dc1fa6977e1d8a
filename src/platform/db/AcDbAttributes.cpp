// ATTDEF and ATTRIB: texts with a tag.
#include "acad/AcDbAttribute.h"

namespace {

// The fields ATTDEF and ATTRIB share after their text fields.
bool readAttributeField(const AcDbDxfTag& t, AcDbSharedName& tag, int& flags, int& fieldLength,
                        AcDb::TextVertMode& vert) {
    switch (t.code) {
        case 2:
            tag = AcDbSharedName::fromUtf8(t.value);
            return true;
        case 70:
            flags = acdbDxfInt(t);
            return true;
        case 73:
            fieldLength = acdbDxfInt(t);
            return true;
        case 74:
            vert = static_cast<AcDb::TextVertMode>(std::clamp(acdbDxfInt(t), 0, 3));
            return true;
        default:
            return false;
    }
}

}  // namespace

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const wchar_t* text,
                                                 const wchar_t* tag, const wchar_t* prompt,
                                                 AcDbObjectId style)
    : AcDbText(position, text, style), tag_(tag ? tag : L""), prompt_(prompt ? prompt : L"") {}

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const wchar_t* t) {
    if (!t || !*t) return Acad::eInvalidInput;
    tag_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const wchar_t* p) {
    prompt_ = p ? p : L"";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool on) {
    flags_ = on ? flags_ | kAttInvisible : flags_ & ~kAttInvisible;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool on) {
    flags_ = on ? flags_ | kAttConstant : flags_ & ~kAttConstant;
    return Acad::eOk;
}

bool AcDbAttributeDefinition::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub) || readTextField(t)) return true;
    if (t.code == 3) {
        prompt_ = acdbDxfText(t);
        return true;
    }
    return readAttributeField(t, tag_, flags_, fieldLength_, vert_);
}

void AcDbAttributeDefinition::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    writeTextFields(f);
    f.writeSubclass("AcDbAttributeDefinition");
    f.writeString(3, prompt_);
    f.writeString(2, tag_);
    f.writeInt(70, flags_);
    if (fieldLength_) f.writeInt(73, fieldLength_);
    if (vert_) f.writeInt(74, vert_);
}

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const wchar_t* text, const wchar_t* tag,
                             AcDbObjectId style)
    : AcDbText(position, text, style), tag_(tag ? tag : L"") {}

Acad::ErrorStatus AcDbAttribute::setTag(const wchar_t* t) {
    if (!t || !*t) return Acad::eInvalidInput;
    tag_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setInvisible(bool on) {
    flags_ = on ? flags_ | kAttInvisible : flags_ & ~kAttInvisible;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* def,
                                                       const AcGeMatrix3d& m) {
    if (!def) return Acad::eNullObjectPointer;
    copyTextFrom(*def);
    setLayer(def->layer().c_str());
    setColorIndex(def->colorIndex());
    transformBy(m);
    tag_ = def->tag();
    flags_ = (def->isInvisible() ? kAttInvisible : 0) | (def->isConstant() ? kAttConstant : 0);
    fieldLength_ = def->fieldLength();
    return Acad::eOk;
}

bool AcDbAttribute::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub) || readTextField(t)) return true;
    // The version (280) every ATTRIB of a newer file carries: a byte here instead of a kept tag
    // of its own, which cost more than the rest of the attribute's data.
    if (t.code == 280 && sub == "AcDbAttribute" && version_ < 0) {
        int v = acdbDxfInt(t);
        if (v >= 0 && v <= 127 && t.value == std::to_string(v)) {
            version_ = static_cast<signed char>(v);
            return true;
        }
    }
    return readAttributeField(t, tag_, flags_, fieldLength_, vert_);
}

void AcDbAttribute::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    writeTextFields(f);
    f.writeSubclass("AcDbAttribute");
    if (version_ >= 0) f.writeInt(280, version_);
    f.writeString(2, tag_);
    f.writeInt(70, flags_);
    if (fieldLength_) f.writeInt(73, fieldLength_);
    if (vert_) f.writeInt(74, vert_);
}
