#pragma once

#include "acad/AcDbEntity.h"

// TEXT: one line of text. position() is the first alignment point (group 10); for every mode
// but left/base the text hangs on alignmentPoint() (group 11). Angles in radians.
class AcDbText : public AcDbEntity {
public:
    AcDbText() = default;
    AcDbText(const AcGePoint3d& position, const wchar_t* text, AcDbObjectId style = {},
             double height = 0, double rotation = 0);
    AcDbObject* clone() const override { return new AcDbText(*this); }
    std::wstring dxfName() const override { return L"TEXT"; }

    AcGePoint3d position() const { return position_; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    AcGePoint3d alignmentPoint() const { return alignment_; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p);
    bool isDefaultAlignment() const { return horz_ == AcDb::kTextLeft && vert_ == AcDb::kTextBase; }
    AcDb::TextHorzMode horizontalMode() const { return horz_; }
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode m);
    AcDb::TextVertMode verticalMode() const { return vert_; }
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode m);
    double height() const { return height_; }
    Acad::ErrorStatus setHeight(double h);
    double widthFactor() const { return widthFactor_; }
    Acad::ErrorStatus setWidthFactor(double w);
    double rotation() const { return rotation_; }
    Acad::ErrorStatus setRotation(double r);
    double oblique() const { return oblique_; }
    Acad::ErrorStatus setOblique(double a);
    double thickness() const { return thickness_; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return normal_; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    std::wstring textString() const { return text_; }
    Acad::ErrorStatus setTextString(const wchar_t* text);
    // The text style record; the name is kept as written when the style is missing.
    AcDbObjectId textStyle() const;
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    std::wstring textStyleName() const { return style_; }
    Acad::ErrorStatus setTextStyleName(const wchar_t* name);
    // Width and height of the text box: glyphs estimated at 0.7 of the height each (full
    // width for wide characters), times the width factor.
    void getTextSize(double& width, double& textHeight) const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

protected:
    // Copies the text's placement, modes, sizes, content and style (not identity or layer).
    void copyTextFrom(const AcDbText& o);
    bool readTextField(const AcDbDxfTag& tag);
    void writeTextFields(AcDbDxfFiler& filer) const;  // the AcDbText subclass
    AcGePoint3d anchor() const { return isDefaultAlignment() ? position_ : alignment_; }
    AcGePoint3d position_, alignment_;
    bool hasAlignment_ = false;
    AcDb::TextHorzMode horz_ = AcDb::kTextLeft;
    AcDb::TextVertMode vert_ = AcDb::kTextBase;
    double height_ = 0, widthFactor_ = 1, rotation_ = 0, oblique_ = 0, thickness_ = 0;
    int generation_ = 0;
    AcGeVector3d normal_ = AcGeVector3d::kZAxis;
    std::wstring text_;
    AcDbSharedName style_ = L"Standard";
};
