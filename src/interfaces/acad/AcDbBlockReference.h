#pragma once

#include "acad/AcDbEntity.h"

class AcDbAttribute;

// INSERT: a placed block definition with its attributes. The block is drawn transformed by
// blockTransform(): scale, then rotation about the normal, then move to position.
class AcDbBlockReference : public AcDbEntity {
public:
    AcDbBlockReference() = default;
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);
    ~AcDbBlockReference() override;
    AcDbBlockReference(const AcDbBlockReference& other);
    AcDbBlockReference& operator=(const AcDbBlockReference&) = delete;
    AcDbObject* clone() const override { return new AcDbBlockReference(*this); }
    std::wstring dxfName() const override { return L"INSERT"; }

    AcDbObjectId blockTableRecord() const;
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId block);
    std::wstring blockName() const { return blockName_; }
    AcGePoint3d position() const;  // world point
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    double rotation() const { return rotation_; }
    Acad::ErrorStatus setRotation(double r);
    AcGeScale3d scaleFactors() const { return scale_; }
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& s);
    AcGeVector3d normal() const { return normal_; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    AcGeMatrix3d blockTransform() const;
    // An insert that leads back to the block holding it (a block that inserts itself, directly
    // or through others), found when the drawing is loaded: it is measured, drawn and exploded
    // as if its block were empty; its own attributes stay.
    bool closesCycle() const { return closesCycle_; }
    void setClosesCycle(bool closes) { closesCycle_ = closes; }

    // Attributes: the reference owns them; appended ones get ids when the reference is in a
    // database (or when it is added).
    Acad::ErrorStatus appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute);
    Acad::ErrorStatus appendAttribute(AcDbAttribute* attribute);
    const std::vector<AcDbAttribute*>& attributes() const { return attributes_; }
    AcDbObjectIdArray attributeIds() const;
    // Attributes that came from DXF, attached by the reader.
    void adoptAttribute(AcDbAttribute* attribute) { attributes_.push_back(attribute); }
    // Database bookkeeping (undo): the attribute objects the reference points at now.
    void setAttributePointers(std::vector<AcDbAttribute*> attributes) {
        attributes_ = std::move(attributes);
    }
    AcDbHandle seqendHandle;
    std::vector<AcDbKeptTag> seqendKept;
    void readSeqend(const AcDbDxfTags& tags);
    AcDbDxfTags writeSeqend() const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    // The block's entities transformed into place, plus copies of visible attributes as texts.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    // An extrusion direction of length zero (no plane at all) is read as +Z.
    void dxfInEnd() override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;
    Acad::ErrorStatus erase(bool erasing = true) override;
    void prepareForSave() override;

private:
    AcDbSharedName blockName_;
    AcDbObjectId blockId_;
    AcGePoint3d position_;
    double rotation_ = 0;
    AcGeScale3d scale_;
    AcGeVector3d normal_ = AcGeVector3d::kZAxis;
    std::vector<AcDbAttribute*> attributes_;  // owned while not in a database
    bool closesCycle_ = false;
};
