// The product line's text entity: a TEXT with the setters the module calls. Saved as TEXT
// tagged so that it loads back as a VxDbText.
#pragma once

#include "acad/AcDbText.h"

class VxDbText : public AcDbText {
public:
    VxDbText() = default;
    AcDbObject* clone() const override { return new VxDbText(*this); }
    std::string dxfRecordType() const override { return "TEXT"; }
    std::wstring solxTypeTag() const override { return L"VXDB_TEXT"; }

    void SetPosition(const AcGePoint3d& p);
    // Height in drawing units; `scaled` non-zero means the height is already in drawing units
    // (kept for the call's shape, it changes nothing here).
    void SetTextHeight(double height, int scaled = 1);
    void SetTextStyle(const wchar_t* styleName);
    void SetContent(const wchar_t* text);
    const std::wstring GetContent() const { return textString(); }
    void SetRotation(double angle) { setRotation(angle); }
    // Alignment codes: 0 left-base, 1 centre-base, 2 right-base, 3 left-middle, 4 middle,
    // 5 right-middle, 6 left-top, 7 centre-top, 8 right-top.
    void SetAlignment(int alignment);
    int GetAlignment() const { return alignment_; }
    // Width and height of the text box in drawing units.
    void GetSize(double& width, double& height) const { getTextSize(width, height); }

    void dxfInEnd() override;  // the alignment code from the text modes

private:
    int alignment_ = 0;
};
