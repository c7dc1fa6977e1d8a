// A marker: a cross of xSize by ySize at a location with an optional text beside it. Saved as
// an insert of an anonymous block holding the lines and the text, tagged (with its values in
// the tag's extended data) so that it loads back as a marker.
#pragma once

#include <string>

#include "acad/AcDbBlockReference.h"
#include "acad/AcDbText.h"

class VxDbPromptSymbol : public AcDbBlockReference {
public:
    VxDbPromptSymbol() = default;
    AcDbObject* clone() const override { return new VxDbPromptSymbol(*this); }
    std::wstring dxfName() const override { return L"BREL_PROMPTSYMBOL"; }
    std::string dxfRecordType() const override { return "INSERT"; }
    std::wstring solxTypeTag() const override { return dxfName(); }

    void SetLocation(const AcGePoint3d& p) { setPosition(p); }
    AcGePoint3d GetLocation() const { return position(); }
    void SetXSize(double s) { xSize_ = s; }
    void SetYSize(double s) { ySize_ = s; }
    double GetXSize() const { return xSize_; }
    double GetYSize() const { return ySize_; }
    // Appearance: 4 draws a cross in a square; other values a plain cross.
    void SetType(int t) { type_ = t; }
    int GetType() const { return type_; }
    void SetText(const wchar_t* text) { text_ = text ? text : L""; }
    std::wstring GetText() const { return text_; }
    void SetTextHeight(double h) { textHeight_ = h; }  // 0: half the Y size
    double GetTextHeight() const { return textHeight_; }
    void SetTextStyle(const wchar_t* style) { style_ = style ? style : L""; }
    std::wstring GetTextStyle() const { return style_; }
    void SetTextDraw(bool draw) { textDraw_ = draw; }
    bool GetTextDraw() const { return textDraw_; }

    // The entities drawn, in block coordinates (new objects the caller owns).
    AcDbVoidPtrArray BuildGraphics() const;
    void prepareForSave() override;
    void dxfInSolxData(const AcDbDxfTags& tags) override;
    void dxfOutSolxData(AcDbDxfTags& tags) const override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;

private:
    double xSize_ = 7, ySize_ = 7, textHeight_ = 0;
    int type_ = 0;
    bool textDraw_ = true;
    std::wstring text_, style_ = L"Standard";
};
