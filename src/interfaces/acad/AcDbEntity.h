// The base of drawing entities: layer, colour, linetype, visibility, highlight, extents,
// transformation and explosion into simpler entities.
#pragma once

#include "acad/AcDbObject.h"

class AcDbEntity;
using AcDbVoidPtrArray = AcArray<AcDbEntity*>;

class AcDbEntity : public AcDbObject {
public:
    std::wstring layer() const { return layer_; }
    Acad::ErrorStatus setLayer(const wchar_t* name);
    AcDbObjectId layerId() const;  // the layer table record, null when the layer is missing
    Acad::ErrorStatus setLayer(AcDbObjectId layerId);
    int colorIndex() const { return color_; }  // 256 by layer, 0 by block
    Acad::ErrorStatus setColorIndex(int color);
    std::wstring linetype() const { return linetype_; }
    Acad::ErrorStatus setLinetype(const wchar_t* name);
    AcDb::Visibility visibility() const { return visible_ ? AcDb::kVisible : AcDb::kInvisible; }
    Acad::ErrorStatus setVisibility(AcDb::Visibility v);
    // Visible: not switched off itself and its layer is neither off nor frozen.
    bool isVisible() const;
    // Highlighted: shown marked on screen until unhighlighted or the command ends; the
    // database keeps the set for the views.
    bool isHighlighted() const { return highlighted_; }
    Acad::ErrorStatus highlight();
    Acad::ErrorStatus unhighlight();
    // Sets layer, colour and linetype from the database's current values (CLAYER, CECOLOR,
    // CELTYPE).
    void setDatabaseDefaults(AcDbDatabase* db = nullptr);
    // Gives the database's current values to the properties the code never set (called when a
    // new entity is appended to a block, so new entities land on the current layer).
    void setUnsetDatabaseDefaults(AcDbDatabase* db);
    // Marks every property as set: an entity read from a file keeps what the file says, and
    // an absent colour or linetype there means "by layer", not "current".
    void keepOwnProperties() { set_ = kAllSet; }

    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const = 0;
    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) = 0;
    // Simpler entities that together draw this one (new objects the caller owns);
    // eNotApplicable for entities that are already primitive.
    virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const;

    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    enum : unsigned char { kLayerSet = 1, kColorSet = 2, kLinetypeSet = 4, kAllSet = 7 };
    AcDbSharedName layer_ = L"0";
    AcDbSharedName linetype_;
    int color_ = 256;
    bool visible_ = true;
    bool highlighted_ = false;
    unsigned char set_ = 0;  // which of layer, colour and linetype were given explicitly
};

// An entity of a type we do not model, with the records that follow it in the stream
// (vertices, attributes, SEQEND). Kept and written back unchanged.
class AcDbUnknownEntity : public AcDbEntity {
public:
    explicit AcDbUnknownEntity(std::string type = "UNKNOWN") : type_(std::move(type)) {}
    AcDbObject* clone() const override { return new AcDbUnknownEntity(*this); }
    std::wstring dxfName() const override { return acdbWide(type_); }
    std::string dxfRecordType() const override { return type_; }
    bool keepsSubclassMarkers() const override { return true; }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;
    // Extents from the first and second points (10, 11) where the record has them.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d&) override { return Acad::eNotApplicable; }
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    std::vector<AcDbDxfRecord>& children() { return children_; }
    const std::vector<AcDbDxfRecord>& children() const { return children_; }

private:
    std::string type_;
    std::vector<AcDbDxfRecord> children_;
};
