// The product line's table: rows of cells with texts and styles, merged ranges, column widths
// and row heights, an optional title row above. Saved as an insert of an anonymous block of
// lines and texts (what any viewer shows), tagged with the table's values so that it loads back
// as a table. Row 0 is the top row; the location is the top-left corner of the whole table,
// title included: the title takes the first title height below it, the rows follow. A cell's
// text may hold several lines separated by '\n'; each line is drawn as a text of its own.
#pragma once

#include <string>
#include <vector>

#include "acad/AcDbBlockReference.h"

// How a cell's text looks. Colour 0 means "by block".
class VxGridStyle {
public:
    void SetTextStyle(const wchar_t* style) { textStyle_ = style ? style : L"Standard"; }
    std::wstring GetTextStyle() const { return textStyle_; }
    void SetTextHeight(double h) { textHeight_ = h; }
    double GetTextHeight() const { return textHeight_; }
    // Host text modes (AcDb::TextHorzMode, AcDb::TextVertMode).
    void SetAlignment(int horzMode, int vertMode) { horz_ = horzMode, vert_ = vertMode; }
    int GetHorzMode() const { return horz_; }
    int GetVertMode() const { return vert_; }
    void SetTextColor(int c) { color_ = c; }
    int GetTextColor() const { return color_; }
    void SetWrap(bool w) { wrap_ = w; }
    bool GetWrap() const { return wrap_; }
    void SetOverride(bool o) { override_ = o; }
    bool GetOverride() const { return override_; }
    void SetFlag(int bits) { flags_ |= bits; }
    void ClearFlag(int bits) { flags_ &= ~bits; }
    int GetFlag() const { return flags_; }
    bool operator==(const VxGridStyle&) const = default;

private:
    std::wstring textStyle_ = L"Standard";
    double textHeight_ = 3.5;
    int horz_ = 4, vert_ = 2, color_ = 0, flags_ = 0;
    bool wrap_ = false, override_ = false;
};

class VxGridCell {
public:
    void SetText(const wchar_t* text) { text_ = text ? text : L""; }
    std::wstring GetText() const { return text_; }
    const VxGridStyle& GetGridStyle() const { return style_; }
    void SetGridStyle(const VxGridStyle& s) { style_ = s; }

private:
    std::wstring text_;
    VxGridStyle style_;
};

class VxSheetRow {
public:
    int GetCellNum() const { return static_cast<int>(cells_.size()); }
    VxGridCell* GetCell(int column) {
        return column >= 0 && column < GetCellNum() ? &cells_[static_cast<size_t>(column)]
                                                    : nullptr;
    }
    double GetHeight() const { return height_; }
    void SetHeight(double h) { height_ = h; }
    // Row-height styles: 0 keeps the height; 3 grows it to fit the tallest text.
    void SetRowHeightStyle(int s) { heightStyle_ = s; }
    int GetRowHeightStyle() const { return heightStyle_; }
    std::vector<VxGridCell>& cells() { return cells_; }
    const std::vector<VxGridCell>& cells() const { return cells_; }

private:
    std::vector<VxGridCell> cells_;
    double height_ = 7.0;
    int heightStyle_ = 0;
};

class VxSheetTitle {
public:
    void SetText(const wchar_t* text) { text_ = text ? text : L""; }
    std::wstring GetText() const { return text_; }
    void SetHeight(double h) { height_ = h; }
    double GetHeight() const { return height_; }
    const VxGridStyle& GetGridStyle() const { return style_; }
    void SetGridStyle(const VxGridStyle& s) { style_ = s; }

private:
    std::wstring text_;
    double height_ = 10.0;
    VxGridStyle style_;
};

class VxDbSheet : public AcDbBlockReference {
public:
    AcDbObject* clone() const override { return new VxDbSheet(*this); }
    std::wstring dxfName() const override { return L"BREL_SHEET"; }
    std::string dxfRecordType() const override { return "INSERT"; }
    std::wstring solxTypeTag() const override { return dxfName(); }

    void SetLocation(const AcGePoint3d& p) { setPosition(p); }
    AcGePoint3d GetLocation() const { return position(); }
    void SetTitleText(const wchar_t* text) { title_.SetText(text); }
    void GetTitle(VxSheetTitle& title) const { title = title_; }
    void SetTitle(const VxSheetTitle& title) { title_ = title; }
    // The style new cells get.
    void SetGridStyle(const VxGridStyle& style) { style_ = style; }
    void SetRowHeight(double h) { rowHeight_ = h; }
    // Makes rows x columns empty cells of the grid style; false for sizes below 1.
    bool InitSheet(int rows, int columns, double rowHeight, double columnWidth);
    int GetRowNum() const { return static_cast<int>(rows_.size()); }
    int GetColumnNum() const { return static_cast<int>(widths_.size()); }
    VxGridCell* GetCell(int row, int column);
    bool GetRow(int row, VxSheetRow& out) const;
    bool SetRowAt(int row, const VxSheetRow& in);
    bool SetColumnWidth(int column, double width, int redraw = 1);
    double GetColumnWidth(int column) const;
    // Merges the cells of the range into one showing the first cell's text; false when the
    // range is outside the table or overlaps another merge.
    bool MergeCells(int firstRow, int firstColumn, int lastRow, int lastColumn);
    // The merged range a cell belongs to (the cell alone when unmerged).
    void GetMergeRange(int row, int column, int& r0, int& c0, int& r1, int& c1) const;
    // Removes a row; merges shrink with it. `redraw` is kept for the call's shape.
    bool RemoveRow(int row, int redraw = 0);
    // Fits the table to the texts of the rows in the range. Column widths are minimums: a
    // column widens to its widest line of text plus margins (cells merged over several columns
    // do not count). Rows of height style 3 grow, never shrink, to fit their tallest cell
    // (lines x 1.5 text heights plus margins); a cell merged over several rows grows the last
    // of them when the rows together are too low.
    void CalculateRowHeight(int firstRow, int lastRow);
    double GetWidth() const;
    double GetHeight() const;  // rows only, the title not included

    // The lines and texts in block coordinates (new objects the caller owns).
    AcDbVoidPtrArray BuildGraphics() const;
    void prepareForSave() override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    void dxfInSolxData(const AcDbDxfTags& tags) override;
    void dxfOutSolxData(AcDbDxfTags& tags) const override;

private:
    struct Merge {
        int r0, c0, r1, c1;
    };
    const Merge* mergeAt(int row, int column) const;
    static double cellNeed(const VxGridCell& cell);  // the height a cell's lines take
    void widenColumns(int firstRow, int lastRow);
    void growMergedRows(int firstRow, int lastRow);
    double titleSpace() const;  // the title's height, 0 without a title
    double rowTop(int row) const;
    double columnLeft(int column) const;
    std::vector<VxSheetRow> rows_;
    std::vector<double> widths_;
    std::vector<Merge> merges_;
    VxSheetTitle title_;
    VxGridStyle style_;
    double rowHeight_ = 7.0;
};
