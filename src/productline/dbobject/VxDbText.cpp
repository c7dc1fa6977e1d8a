// The product line's text: alignment codes over the text modes.
#include "brel/VxDbText.h"

namespace {
// Alignment code -> horizontal and vertical mode, row by row: base, middle, top.
constexpr AcDb::TextHorzMode kHorz[] = {AcDb::kTextLeft, AcDb::kTextCenter, AcDb::kTextRight};
constexpr AcDb::TextVertMode kVert[] = {AcDb::kTextBase, AcDb::kTextVertMid, AcDb::kTextTop};
}  // namespace

void VxDbText::SetPosition(const AcGePoint3d& p) {
    setPosition(p);
    setAlignmentPoint(p);
}

void VxDbText::SetTextHeight(double height, int) {
    setHeight(height);
}

void VxDbText::SetTextStyle(const wchar_t* styleName) {
    setTextStyleName(styleName);
}

void VxDbText::SetContent(const wchar_t* text) {
    setTextString(text);
}

void VxDbText::SetAlignment(int alignment) {
    if (alignment < 0 || alignment > 8) return;
    alignment_ = alignment;
    setHorizontalMode(kHorz[alignment % 3]);
    setVerticalMode(kVert[alignment / 3]);
    setAlignmentPoint(position());
}

void VxDbText::dxfInEnd() {
    AcDbText::dxfInEnd();
    int h = horizontalMode() <= AcDb::kTextRight ? horizontalMode() : 0;
    int v = verticalMode() == AcDb::kTextVertMid ? 1 : verticalMode() == AcDb::kTextTop ? 2 : 0;
    alignment_ = v * 3 + h;
}
