// A table's values in its tag's extended data: sizes, styles (a palette), rows, cells, merges.
#include <stdexcept>
#include <string>

#include "acad/AcDbDxfFiler.h"
#include "brel/VxDbSheet.h"

namespace {

// Reads values of a tag list in order; missing values read as zero or empty.
class Cursor {
public:
    explicit Cursor(const AcDbDxfTags& tags) : tags_(tags) {}
    int integer() { return next() ? acdbDxfInt(tags_[i_++]) : 0; }
    size_t left() const { return tags_.size() - i_; }
    double real() { return next() ? acdbDxfReal(tags_[i_++]) : 0; }
    std::wstring text() { return next() ? acdbDxfText(tags_[i_++]) : L""; }

private:
    bool next() const { return i_ < tags_.size(); }
    const AcDbDxfTags& tags_;
    size_t i_ = 0;
};

class Writer {
public:
    explicit Writer(AcDbDxfTags& tags) : tags_(tags) {}
    void integer(long v) { tags_.push_back({1071, std::to_string(v)}); }
    void real(double v) { tags_.push_back({1040, acdbDxfNumber(v)}); }
    void text(const std::wstring& s) { tags_.push_back({1000, acdbUtf8(s)}); }

private:
    AcDbDxfTags& tags_;
};

void writeStyle(Writer& w, const VxGridStyle& s) {
    w.text(s.GetTextStyle());
    w.real(s.GetTextHeight());
    w.integer(s.GetHorzMode());
    w.integer(s.GetVertMode());
    w.integer(s.GetTextColor());
    w.integer(s.GetFlag());
    w.integer((s.GetWrap() ? 1 : 0) | (s.GetOverride() ? 2 : 0));
}

VxGridStyle readStyle(Cursor& c) {
    VxGridStyle s;
    s.SetTextStyle(c.text().c_str());
    s.SetTextHeight(c.real());
    int h = c.integer();
    s.SetAlignment(h, c.integer());
    s.SetTextColor(c.integer());
    s.SetFlag(c.integer());
    int bits = c.integer();
    s.SetWrap(bits & 1);
    s.SetOverride(bits & 2);
    return s;
}

int paletteIndex(std::vector<VxGridStyle>& palette, const VxGridStyle& s) {
    for (size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == s) return static_cast<int>(i);
    palette.push_back(s);
    return static_cast<int>(palette.size()) - 1;
}

}  // namespace

void VxDbSheet::dxfOutSolxData(AcDbDxfTags& tags) const {
    std::vector<VxGridStyle> palette{style_, title_.GetGridStyle()};
    AcDbDxfTags body;
    Writer b(body);
    for (const auto& row : rows_) {
        b.real(row.GetHeight());
        b.integer(row.GetRowHeightStyle());
        for (const auto& cell : row.cells()) {
            b.text(cell.GetText());
            b.integer(paletteIndex(palette, cell.GetGridStyle()));
        }
    }
    Writer w(tags);
    w.integer(GetRowNum());
    w.integer(GetColumnNum());
    w.real(rowHeight_);
    for (double x : widths_) w.real(x);
    w.integer(static_cast<long>(palette.size()));
    for (const auto& s : palette) writeStyle(w, s);
    w.text(title_.GetText());
    w.real(title_.GetHeight());
    tags.insert(tags.end(), body.begin(), body.end());
    w.integer(static_cast<long>(merges_.size()));
    for (const Merge& m : merges_) {
        w.integer(m.r0);
        w.integer(m.c0);
        w.integer(m.r1);
        w.integer(m.c1);
    }
}

void VxDbSheet::dxfInSolxData(const AcDbDxfTags& tags) {
    Cursor c(tags);
    int rows = c.integer(), cols = c.integer();
    if (rows < 1 || cols < 1 || rows > 100000 || cols > 10000) return;  // not a table's data
    // The sizes are claims: the cells are made only when the data holds a value for each (a
    // height and a style per row, a text and a style per cell), so a small file cannot make
    // the table take gigabytes.
    const double needed = static_cast<double>(rows) * (2.0 + 2.0 * cols) + cols;
    if (needed > static_cast<double>(c.left()))
        throw std::runtime_error("the table claims " + std::to_string(rows) + " rows of " +
                                 std::to_string(cols) + " cells, but its data holds only " +
                                 std::to_string(tags.size()) + " values");
    rowHeight_ = c.real();
    InitSheet(rows, cols, rowHeight_, 0);
    for (double& x : widths_) x = c.real();
    int n = c.integer();
    std::vector<VxGridStyle> palette;
    for (int i = 0; i < n && c.left() > 0; ++i) palette.push_back(readStyle(c));
    if (palette.size() >= 2) style_ = palette[0], title_.SetGridStyle(palette[1]);
    title_.SetText(c.text().c_str());
    title_.SetHeight(c.real());
    for (auto& row : rows_) {
        row.SetHeight(c.real());
        row.SetRowHeightStyle(c.integer());
        for (auto& cell : row.cells()) {
            cell.SetText(c.text().c_str());
            int s = c.integer();
            if (s >= 0 && s < static_cast<int>(palette.size()))
                cell.SetGridStyle(palette[static_cast<size_t>(s)]);
        }
    }
    int m = c.integer();
    for (int i = 0; i < m && c.left() > 0; ++i) {
        int r0 = c.integer(), c0 = c.integer(), r1 = c.integer(), c1 = c.integer();
        MergeCells(r0, c0, r1, c1);
    }
}
