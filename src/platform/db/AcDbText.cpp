// TEXT: placement, modes and the estimated text box.
#include <cmath>

#include "acad/AcDbDatabase.h"
#include "acad/AcDbText.h"

namespace {
double toDegrees(double r) {
    return std::round(r * 180 / M_PI * 1e10) / 1e10;
}
}  // namespace

AcDbText::AcDbText(const AcGePoint3d& position, const wchar_t* text, AcDbObjectId style,
                   double height, double rotation)
    : position_(position),
      alignment_(position),
      height_(height),
      rotation_(rotation),
      text_(text ? text : L"") {
    if (auto* rec = dynamic_cast<AcDbSymbolTableRecord*>(style.object())) style_ = rec->getName();
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p) {
    position_ = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& p) {
    alignment_ = p;
    hasAlignment_ = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode m) {
    horz_ = m;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode m) {
    vert_ = m;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHeight(double h) {
    if (h < 0) return Acad::eInvalidInput;
    height_ = h;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double w) {
    if (!(w > 0)) return Acad::eInvalidInput;
    widthFactor_ = w;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double r) {
    rotation_ = r;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setOblique(double a) {
    oblique_ = a;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setThickness(double t) {
    thickness_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n) {
    if (n.isZeroLength()) return Acad::eInvalidInput;
    normal_ = n.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setTextString(const wchar_t* text) {
    text_ = text ? text : L"";
    return Acad::eOk;
}

AcDbObjectId AcDbText::textStyle() const {
    AcDbDatabase* db = database();
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    return db ? db->symbolId(L"STYLE", style_) : AcDbObjectId();
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
    auto* rec = dynamic_cast<AcDbTextStyleTableRecord*>(style.object());
    if (!rec) return Acad::eInvalidInput;
    style_ = rec->getName();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setTextStyleName(const wchar_t* name) {
    if (!name || !*name) return Acad::eInvalidInput;
    style_ = name;
    return Acad::eOk;
}

void AcDbText::getTextSize(double& width, double& textHeight) const {
    double units = 0;
    for (wchar_t c : text_) units += c >= 0x2E80 ? 1.0 : 0.7;  // CJK glyphs are square
    width = units * height_ * widthFactor_;
    textHeight = height_;
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& ext) const {
    double w = 0, h = 0;
    getTextSize(w, h);
    static const double kHorz[] = {0, 0.5, 1, 0, 0.5, 0};
    static const double kVert[] = {0, 0, 0.5, 1};
    bool fits = horz_ == AcDb::kTextAlign || horz_ == AcDb::kTextFit;
    double dx = -w * kHorz[horz_], dy = horz_ == AcDb::kTextMid ? -h / 2 : -h * kVert[vert_];
    AcGePoint3d origin = fits ? position_ : anchor();
    AcGeMatrix3d rot = AcGeMatrix3d::rotation(rotation_, normal_, origin);
    ext = AcDbExtents();
    for (double x : {dx, dx + w})
        for (double y : {dy, dy + h}) ext.addPoint(rot * (origin + AcGeVector3d(x, y, 0)));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& m) {
    AcGeVector3d dir = m * AcGeVector3d(std::cos(rotation_), std::sin(rotation_), 0);
    AcGeVector3d up = m * normal_;
    position_.transformBy(m);
    alignment_.transformBy(m);
    rotation_ = std::atan2(dir.y, dir.x);
    height_ *= up.length() > 0 ? m.scale() : 1;
    normal_ = up.normal();
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbText::groupValue(short code) const {
    switch (code) {
        case 1:
            return AcDbFilterValue::ofText(text_);
        case 7:
            return AcDbFilterValue::ofText(style_);
        case 10:
            return AcDbFilterValue::ofPoint(position_);
        case 11:
            return AcDbFilterValue::ofPoint(alignment_);
        case 39:
            return AcDbFilterValue::ofNumber(thickness_);
        case 40:
            return AcDbFilterValue::ofNumber(height_);
        case 50:
            return AcDbFilterValue::ofNumber(toDegrees(rotation_));
        case 72:
            return AcDbFilterValue::ofNumber(horz_);
        case 73:
            return AcDbFilterValue::ofNumber(vert_);
        default:
            return AcDbEntity::groupValue(code);
    }
}

void AcDbText::copyTextFrom(const AcDbText& o) {
    position_ = o.position_, alignment_ = o.alignment_, hasAlignment_ = o.hasAlignment_;
    horz_ = o.horz_, vert_ = o.vert_;
    height_ = o.height_, widthFactor_ = o.widthFactor_, rotation_ = o.rotation_;
    oblique_ = o.oblique_, thickness_ = o.thickness_, generation_ = o.generation_;
    normal_ = o.normal_, text_ = o.text_, style_ = o.style_;
}

bool AcDbText::readTextField(const AcDbDxfTag& t) {
    int c = t.code;
    if (c == 10 || c == 20 || c == 30)
        position_[c / 10 - 1] = acdbDxfReal(t);
    else if (c == 11 || c == 21 || c == 31)
        alignment_[c / 10 - 1] = acdbDxfReal(t), hasAlignment_ = true;
    else if (c == 210 || c == 220 || c == 230)
        normal_[(c - 210) / 10] = acdbDxfReal(t);
    else if (c == 40)
        height_ = acdbDxfReal(t);
    else if (c == 1)
        text_ = acdbDxfText(t);
    else if (c == 50)
        rotation_ = acdbDxfAngle(t);
    else if (c == 41)
        widthFactor_ = acdbDxfReal(t);
    else if (c == 51)
        oblique_ = acdbDxfAngle(t);
    else if (c == 7)
        style_ = AcDbSharedName::fromUtf8(t.value);
    else if (c == 71)
        generation_ = acdbDxfInt(t);
    else if (c == 72)
        horz_ = static_cast<AcDb::TextHorzMode>(std::clamp(acdbDxfInt(t), 0, 5));
    else if (c == 39)
        thickness_ = acdbDxfReal(t);
    else
        return false;
    return true;
}

void AcDbText::writeTextFields(AcDbDxfFiler& f) const {
    f.writeSubclass("AcDbText");
    if (thickness_ != 0) f.writeDouble(39, thickness_);
    f.writePoint3d(10, position_);
    f.writeDouble(40, height_);
    f.writeString(1, text_);
    if (rotation_ != 0) f.writeDouble(50, toDegrees(rotation_));
    if (widthFactor_ != 1) f.writeDouble(41, widthFactor_);
    if (oblique_ != 0) f.writeDouble(51, toDegrees(oblique_));
    f.writeString(7, style_);
    if (generation_) f.writeInt(71, generation_);
    if (horz_) f.writeInt(72, horz_);
    if (hasAlignment_ || !isDefaultAlignment()) f.writePoint3d(11, alignment_);
    if (!normal_.isEqualTo(AcGeVector3d::kZAxis)) f.writeVector3d(210, normal_);
}

bool AcDbText::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    if (t.code == 73) {
        vert_ = static_cast<AcDb::TextVertMode>(std::clamp(acdbDxfInt(t), 0, 3));
        return true;
    }
    return readTextField(t);
}

void AcDbText::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    writeTextFields(f);
    f.writeSubclass("AcDbText");
    if (vert_) f.writeInt(73, vert_);
}
