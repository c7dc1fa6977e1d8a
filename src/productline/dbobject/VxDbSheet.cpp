// Tables: cells, merges, sizes and the lines and texts that draw them.
#include "brel/VxDbSheet.h"

#include <algorithm>

#include "acad/AcDbDatabase.h"
#include "dbobject/OwnBlock.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbText.h"
#include "brel/VxTextMetrics.h"

namespace {

constexpr double kPadding = 0.3;      // text heights between a cell's border and its text
constexpr double kLineSpacing = 1.5;  // text heights from one line of a cell to the next

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines(1);
    for (wchar_t c : text)
        if (c == L'\n')
            lines.emplace_back();
        else
            lines.back() += c;
    return lines;
}

// The width a cell's text needs: its widest line, as the font draws it, plus the side margins;
// 0 for an empty text.
double TextNeed(const std::wstring& text, double height) {
    double widest = 0;
    for (const std::wstring& line : SplitLines(text))
        widest = std::max(widest, VxTextLineWidth(line, height));
    return widest > 0 ? widest + 2 * kPadding * height : 0;
}

}  // namespace

bool VxDbSheet::InitSheet(int rows, int columns, double rowHeight, double columnWidth) {
    if (rows < 1 || columns < 1) return false;
    rowHeight_ = rowHeight;
    rows_.assign(static_cast<size_t>(rows), VxSheetRow());
    for (auto& r : rows_) {
        r.SetHeight(rowHeight);
        r.cells().resize(static_cast<size_t>(columns));
        for (auto& c : r.cells()) c.SetGridStyle(style_);
    }
    widths_.assign(static_cast<size_t>(columns), columnWidth);
    merges_.clear();
    return true;
}

VxGridCell* VxDbSheet::GetCell(int row, int column) {
    if (row < 0 || row >= GetRowNum()) return nullptr;
    return rows_[static_cast<size_t>(row)].GetCell(column);
}

bool VxDbSheet::GetRow(int row, VxSheetRow& out) const {
    if (row < 0 || row >= GetRowNum()) return false;
    out = rows_[static_cast<size_t>(row)];
    return true;
}

bool VxDbSheet::SetRowAt(int row, const VxSheetRow& in) {
    if (row < 0 || row >= GetRowNum()) return false;
    VxSheetRow copy = in;
    copy.cells().resize(widths_.size());  // a row always has one cell per column
    rows_[static_cast<size_t>(row)] = copy;
    return true;
}

bool VxDbSheet::SetColumnWidth(int column, double width, int) {
    if (column < 0 || column >= GetColumnNum() || !(width > 0)) return false;
    widths_[static_cast<size_t>(column)] = width;
    return true;
}

double VxDbSheet::GetColumnWidth(int column) const {
    return column >= 0 && column < GetColumnNum() ? widths_[static_cast<size_t>(column)] : 0;
}

const VxDbSheet::Merge* VxDbSheet::mergeAt(int row, int column) const {
    for (const Merge& m : merges_)
        if (row >= m.r0 && row <= m.r1 && column >= m.c0 && column <= m.c1) return &m;
    return nullptr;
}

bool VxDbSheet::MergeCells(int r0, int c0, int r1, int c1) {
    if (r0 > r1 || c0 > c1 || r0 < 0 || c0 < 0 || r1 >= GetRowNum() || c1 >= GetColumnNum())
        return false;
    for (const Merge& m : merges_)
        if (r0 <= m.r1 && m.r0 <= r1 && c0 <= m.c1 && m.c0 <= c1) return false;
    if (r0 != r1 || c0 != c1) merges_.push_back({r0, c0, r1, c1});
    return true;
}

void VxDbSheet::GetMergeRange(int row, int column, int& r0, int& c0, int& r1, int& c1) const {
    const Merge* m = mergeAt(row, column);
    r0 = m ? m->r0 : row, c0 = m ? m->c0 : column, r1 = m ? m->r1 : row, c1 = m ? m->c1 : column;
}

bool VxDbSheet::RemoveRow(int row, int) {
    if (row < 0 || row >= GetRowNum()) return false;
    rows_.erase(rows_.begin() + row);
    std::vector<Merge> kept;
    for (Merge m : merges_) {
        if (m.r0 > row) --m.r0;
        if (m.r1 >= row) --m.r1;
        // A range that lost its only row, or shrank to one cell, is no merge any more.
        if (m.r1 >= m.r0 && (m.r1 > m.r0 || m.c1 > m.c0)) kept.push_back(m);
    }
    merges_ = std::move(kept);
    return true;
}

void VxDbSheet::CalculateRowHeight(int firstRow, int lastRow) {
    firstRow = std::max(0, firstRow), lastRow = std::min(lastRow, GetRowNum() - 1);
    widenColumns(firstRow, lastRow);
    for (int r = firstRow; r <= lastRow; ++r) {
        VxSheetRow& row = rows_[static_cast<size_t>(r)];
        if (row.GetRowHeightStyle() != 3) continue;
        double need = row.GetHeight();
        for (int c = 0; c < GetColumnNum(); ++c) {
            const Merge* m = mergeAt(r, c);
            if (m && m->r0 != m->r1) continue;  // sized over its rows below
            need = std::max(need, cellNeed(row.cells()[static_cast<size_t>(c)]));
        }
        row.SetHeight(need);
    }
    growMergedRows(firstRow, lastRow);
}

double VxDbSheet::cellNeed(const VxGridCell& cell) {
    std::wstring text = cell.GetText();
    if (text.empty()) return 0;
    double h = cell.GetGridStyle().GetTextHeight();
    return h * (kLineSpacing * static_cast<double>(SplitLines(text).size()) + 0.5);
}

// A merge over several rows that needs more than its rows give grows its last row.
void VxDbSheet::growMergedRows(int firstRow, int lastRow) {
    for (const Merge& m : merges_) {
        if (m.r0 == m.r1 || m.r0 < firstRow || m.r0 > lastRow) continue;
        VxSheetRow& last = rows_[static_cast<size_t>(m.r1)];
        if (last.GetRowHeightStyle() != 3) continue;
        double have = rowTop(m.r0) - rowTop(m.r1 + 1);
        double need = cellNeed(rows_[static_cast<size_t>(m.r0)].cells()[static_cast<size_t>(m.c0)]);
        if (need > have) last.SetHeight(last.GetHeight() + need - have);
    }
}

// A column's width is a minimum: it widens to its widest line of text plus the side margins.
// A cell merged over several columns, and the title over all of them, widen the columns they
// span by equal parts when together they are too narrow (after the single cells had their say).
void VxDbSheet::widenColumns(int firstRow, int lastRow) {
    auto widenSpan = [this](int c0, int c1, double need) {
        double have = 0;
        for (int c = c0; c <= c1; ++c) have += widths_[static_cast<size_t>(c)];
        if (need <= have) return;
        for (int c = c0; c <= c1; ++c)
            widths_[static_cast<size_t>(c)] += (need - have) / (c1 - c0 + 1);
    };
    for (int pass = 0; pass < 2; ++pass)
        for (int r = firstRow; r <= lastRow; ++r)
            for (int c = 0; c < GetColumnNum(); ++c) {
                const Merge* m = mergeAt(r, c);
                if (m && (m->r0 != r || m->c0 != c)) continue;  // the merge's first cell speaks
                const bool spans = m && m->c1 != m->c0;
                if (spans != (pass == 1)) continue;
                const VxGridCell& cell =
                    rows_[static_cast<size_t>(r)].cells()[static_cast<size_t>(c)];
                widenSpan(c, spans ? m->c1 : c,
                          TextNeed(cell.GetText(), cell.GetGridStyle().GetTextHeight()));
            }
    if (!title_.GetText().empty() && GetColumnNum() > 0)
        widenSpan(0, GetColumnNum() - 1,
                  TextNeed(title_.GetText(), title_.GetGridStyle().GetTextHeight()));
}

double VxDbSheet::GetWidth() const {
    double w = 0;
    for (double x : widths_) w += x;
    return w;
}

double VxDbSheet::GetHeight() const {
    return -rowTop(GetRowNum()) - titleSpace();
}

double VxDbSheet::titleSpace() const {
    return title_.GetText().empty() ? 0 : title_.GetHeight();
}

// Rows start below the title: the location is the corner above the title.
double VxDbSheet::rowTop(int row) const {
    double y = -titleSpace();
    for (int r = 0; r < row; ++r) y -= rows_[static_cast<size_t>(r)].GetHeight();
    return y;
}

double VxDbSheet::columnLeft(int column) const {
    double x = 0;
    for (int c = 0; c < column; ++c) x += widths_[static_cast<size_t>(c)];
    return x;
}

namespace {

// One text per line, stacked kLineSpacing text heights apart; the block of lines hangs in the
// box as the vertical mode says, each line placed as the horizontal mode says.
void cellTexts(AcDbVoidPtrArray& out, const std::wstring& text, const VxGridStyle& s, double x0,
               double y0, double x1, double y1) {
    int h = s.GetHorzMode(), v = s.GetVertMode();
    double pad = s.GetTextHeight() * kPadding, step = s.GetTextHeight() * kLineSpacing;
    double x = (h == AcDb::kTextLeft)    ? x0 + pad
               : (h == AcDb::kTextRight) ? x1 - pad
                                         : (x0 + x1) / 2;
    double y = (v == AcDb::kTextTop)                              ? y1 - pad
               : (v == AcDb::kTextBottom || v == AcDb::kTextBase) ? y0 + pad
                                                                  : (y0 + y1) / 2;
    std::vector<std::wstring> lines = SplitLines(text);
    double n = static_cast<double>(lines.size());
    double first = (v == AcDb::kTextTop)                              ? 0
                   : (v == AcDb::kTextBottom || v == AcDb::kTextBase) ? (n - 1) * step
                                                                      : (n - 1) * step / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        AcGePoint3d at(x, y + first - static_cast<double>(i) * step, 0);
        auto* t = new AcDbText(at, lines[i].c_str(), {}, s.GetTextHeight());
        t->setTextStyleName(s.GetTextStyle().c_str());
        t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(std::clamp(h, 0, 5)));
        t->setVerticalMode(static_cast<AcDb::TextVertMode>(std::clamp(v, 0, 3)));
        t->setAlignmentPoint(at);
        t->setColorIndex(s.GetTextColor());
        out.append(t);
    }
}

}  // namespace

AcDbVoidPtrArray VxDbSheet::BuildGraphics() const {
    AcDbVoidPtrArray out;
    int rows = GetRowNum(), cols = GetColumnNum();
    auto line = [&](double x0, double y0, double x1, double y1) {
        out.append(new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)));
    };
    auto sameMerge = [&](int r0, int c0, int r1, int c1) {
        const Merge* a = mergeAt(r0, c0);
        return a && a == mergeAt(r1, c1);
    };
    // Horizontal edges between rows, except inside merged ranges; then the vertical ones.
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (r == 0 || r == rows || !sameMerge(r - 1, c, r, c))
                line(columnLeft(c), rowTop(r), columnLeft(c + 1), rowTop(r));
    for (int c = 0; c <= cols; ++c)
        for (int r = 0; r < rows; ++r)
            if (c == 0 || c == cols || !sameMerge(r, c - 1, r, c))
                line(columnLeft(c), rowTop(r), columnLeft(c), rowTop(r + 1));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const Merge* m = mergeAt(r, c);
            if (m && (m->r0 != r || m->c0 != c)) continue;  // only the first cell of a merge shows
            const VxGridCell& cell = rows_[static_cast<size_t>(r)].cells()[static_cast<size_t>(c)];
            if (cell.GetText().empty()) continue;
            int r1 = m ? m->r1 : r, c1 = m ? m->c1 : c;
            cellTexts(out, cell.GetText(), cell.GetGridStyle(), columnLeft(c), rowTop(r1 + 1),
                      columnLeft(c1 + 1), rowTop(r));
        }
    if (!title_.GetText().empty())
        cellTexts(out, title_.GetText(), title_.GetGridStyle(), 0, -title_.GetHeight(), GetWidth(),
                  0);
    for (AcDbEntity* e : out) e->setLayer(L"0");
    return out;
}

Acad::ErrorStatus VxDbSheet::explode(AcDbVoidPtrArray& entities) const {
    AcGeMatrix3d m = AcGeMatrix3d::translation(position().asVector());
    for (AcDbEntity* e : BuildGraphics()) {
        e->transformBy(m);
        e->setLayer(layer().c_str());
        entities.append(e);
    }
    return Acad::eOk;
}

Acad::ErrorStatus VxDbSheet::getGeomExtents(AcDbExtents& ext) const {
    AcGePoint3d p = position();
    ext.set(p + AcGeVector3d(0, -GetHeight() - titleSpace(), 0),
            p + AcGeVector3d(GetWidth(), 0, 0));
    return Acad::eOk;
}

void VxDbSheet::prepareForSave() {
    AcDbBlockTableRecord* block = solx::dbobject::ClearOwnBlock(*this);
    if (!block) return;
    for (AcDbEntity* e : BuildGraphics()) block->appendAcDbEntity(e);
    AcDbBlockReference::prepareForSave();
}
