#include "WinSunAnaTable.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <numbers>

#include "WinSunAna.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDbText.h"
#include "host/VxUtPushResource.h"
#include "mfc/CString.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDegree.h"

namespace {

constexpr const wchar_t* kTextStyle = L"TS_DIM";
constexpr int kHeaderRows = 2;

using solx::win::FormatText;

// Centred text of the table's style, without wrap, in the given colour (0: by block).
VxGridStyle CellStyle(int color, double height) {
    VxGridStyle style;
    style.SetOverride(true);
    style.SetWrap(false);
    style.SetTextStyle(kTextStyle);
    style.SetTextHeight(height);
    style.SetAlignment(4, 2);  // middle, vertical middle
    style.SetTextColor(color);
    return style;
}

void Put(VxDbSheet& sheet, int row, int column, const std::wstring& text) {
    if (VxGridCell* cell = sheet.GetCell(row, column)) cell->SetText(text.c_str());
}

std::wstring TextAt(VxDbSheet& sheet, int row, int column) {
    const VxGridCell* cell = sheet.GetCell(row, column);
    return cell ? cell->GetText() : std::wstring();
}

void SetUpSheet(VxDbSheet& sheet, int rows, int columns, const AcGePoint3d& p,
                const std::wstring& building, const WinTableSizes& size) {
    sheet.SetLocation(p);
    sheet.SetTitleText(WinTableTitle(building).c_str());
    VxSheetTitle title;
    sheet.GetTitle(title);
    VxGridStyle titleStyle = CellStyle(0, size.title);
    titleStyle.SetFlag(0x43);
    title.SetGridStyle(titleStyle);
    title.SetHeight(size.titleRow);
    sheet.SetTitle(title);
    sheet.SetGridStyle(CellStyle(0, size.text));
    sheet.SetRowHeight(size.row);
    sheet.InitSheet(rows, columns, size.row, size.column);
    sheet.SetColumnWidth(0, size.keyColumn, 1);
    sheet.SetColumnWidth(1, size.secondColumn, 1);
}

void WriteHeader(VxDbSheet& sheet, const WinTableLayout& layout) {
    const bool byFloor = layout.sortMode == 0;
    const std::wstring keys[3] = {VxUtLangText(byFloor ? L"层号" : L"窗位"),
                                  VxUtLangText(byFloor ? L"窗位" : L"层数"),
                                  VxUtLangText(L"窗台高(米)")};
    for (int c = 0; c < 3; ++c) {
        Put(sheet, 0, c, keys[c]);
        sheet.MergeCells(0, c, 1, c);
    }
    // Each group's heading names the groups up to it: its times are those of all of them.
    std::wstring names;
    for (size_t g = 0; g < layout.groupNames.size(); ++g) {
        const int c = 3 + 2 * static_cast<int>(g);
        names += (g ? L"+" : L"") + layout.groupNames[g];
        Put(sheet, 0, c, names);
        sheet.MergeCells(0, c, 0, c + 1);
        Put(sheet, 1, c, VxUtLangText(L"日照时间"));
        Put(sheet, 1, c + 1, VxUtLangText(layout.evalByTotal ? L"总有效日照" : L"最长有效连照"));
    }
    if (layout.useValidWindow) {
        const int c = sheet.GetColumnNum() - 1;
        Put(sheet, 0, c, VxUtLangText(L"有效朝向"));
        sheet.MergeCells(0, c, 1, c);
    }
}

const std::wstring& GroupText(const SolxTextList& list, int group) {
    static const std::wstring none;
    return group >= 0 && group < list.GetLength() ? list.GetAt(group) : none;
}

// The text the window is judged by in a group: its total or its longest period.
const std::wstring& ValueText(const SolxWinSunlightInfo& win, int group,
                              const WinTableLayout& layout) {
    return GroupText(layout.evalByTotal ? win.m_totalTexts : win.m_longestTexts, group);
}

// Colours the period and value cells of a group that misses the minimum (red, or one colour
// further than the cell to the left when this group lowered the time again), or that only
// just reaches it when the expert warning is on (green).
void ColourGroup(VxDbSheet& sheet, int row, const SolxWinSunlightInfo& win, int group,
                 const WinTableLayout& layout) {
    const int periodColumn = 3 + 2 * group;
    const double cur = WinTimeHours(ValueText(win, group, layout)), d = cur - layout.minHours;
    int color = -1;
    if (d < -kWinDistZero) {
        const double prev = group > 0 ? WinTimeHours(ValueText(win, group - 1, layout)) : cur;
        const int base = sheet.GetCell(row, periodColumn - 1)->GetGridStyle().GetTextColor();
        if (cur - prev < -kWinDistZero)
            color = base + 1;
        else if (std::fabs(cur - prev) <= kWinDistZero && base > 0)
            color = base;
        else
            color = 1;
    } else if ((g_nSunExpert & 4) && d + g_nCtrlWarningMin / 60.0 < -kWinDistZero) {
        color = 3;
    }
    if (color < 0) return;
    const double height = WinTableSizesAt(layout.textScale).text;
    sheet.GetCell(row, periodColumn)->SetGridStyle(CellStyle(color, height));
    sheet.GetCell(row, periodColumn + 1)->SetGridStyle(CellStyle(color, height));
}

void WriteRow(VxDbSheet& sheet, int row, const SolxWinSunlightInfo& win,
              const WinTableLayout& layout) {
    VxSheetRow cells;
    sheet.GetRow(row, cells);
    cells.SetRowHeightStyle(3);
    sheet.SetRowAt(row, cells);
    const bool byFloor = layout.sortMode == 0;
    Put(sheet, row, 0, FormatText(L"%d", byFloor ? win.m_nFloor : win.m_nNumber));
    Put(sheet, row, 1, FormatText(L"%d", byFloor ? win.m_nNumber : win.m_nFloor));
    Put(sheet, row, 2, FormatText(L"%.2f", win.m_dSillHeight / layout.unitScale / 1000.0));
    for (int g = 0; g < static_cast<int>(layout.groupNames.size()); ++g) {
        Put(sheet, row, 3 + 2 * g, GroupText(win.m_periodTexts, g));
        ColourGroup(sheet, row, win, g, layout);
        Put(sheet, row, 4 + 2 * g, ValueText(win, g, layout));
    }
    // The orientation is that of the outward normal, the direction the window looks into.
    if (layout.useValidWindow)
        Put(sheet, row, sheet.GetColumnNum() - 1,
            GetAngleStr(WinNormalAngle(win) * 180.0 / std::numbers::pi, 1));
}

// Data rows in window order; column 0 is merged over each run of windows with the same key.
void WriteRows(VxDbSheet& sheet, const std::vector<const SolxWinSunlightInfo*>& windows,
               const WinTableLayout& layout) {
    auto key = [&layout](const SolxWinSunlightInfo& w) {
        return layout.sortMode == 0 ? w.m_nFloor : w.m_nNumber;
    };
    const int count = static_cast<int>(windows.size());
    int runFirst = kHeaderRows, runKey = count ? key(*windows[0]) : 0;
    for (int i = 0; i < count; ++i) {
        const int row = i + kHeaderRows;
        if (key(*windows[i]) != runKey) {
            sheet.MergeCells(runFirst, 0, row - 1, 0);
            runFirst = row;
            runKey = key(*windows[i]);
        } else if (i == count - 1) {
            sheet.MergeCells(runFirst, 0, row, 0);
        }
        WriteRow(sheet, row, *windows[i], layout);
    }
}

// Reads "lo～hi" or one number (both ends the same).
void ParseRange(const std::wstring& text, double& lo, double& hi) {
    const size_t tilde = text.find(L'～');
    if (tilde == std::wstring::npos) {
        lo = hi = std::wcstod(text.c_str(), nullptr);
        return;
    }
    lo = std::wcstod(text.substr(0, tilde).c_str(), nullptr);
    hi = std::wcstod(text.substr(tilde + 1).c_str(), nullptr);
}

std::wstring RangeText(double lo, double hi, bool whole) {
    auto one = [whole](double v) {
        return whole ? FormatText(L"%ld", std::lround(v)) : FormatText(L"%.2f", v);
    };
    return std::fabs(lo - hi) > 1e-6 ? one(lo) + L"～" + one(hi) : one(lo);
}

// Widens the anchor row's range in a column by the number of another row.
void Widen(VxDbSheet& sheet, int anchor, int row, int column, bool whole) {
    double lo = 0.0, hi = 0.0;
    ParseRange(TextAt(sheet, anchor, column), lo, hi);
    const double v = std::wcstod(TextAt(sheet, row, column).c_str(), nullptr);
    Put(sheet, anchor, column, RangeText(std::min(lo, v), std::max(hi, v), whole));
}

// Same key and the same results: the rows say the same but for the second key and the sill.
bool SameResults(VxDbSheet& sheet, int a, int b) {
    if (TextAt(sheet, a, 0) != TextAt(sheet, b, 0)) return false;
    for (int c = 3; c < sheet.GetColumnNum(); ++c)
        if (TextAt(sheet, a, c) != TextAt(sheet, b, c)) return false;
    return true;
}

// Folds each row into the row above it when they say the same; the kept row shows the range of
// the second key and of the sill heights.
void CompactRows(VxDbSheet& sheet) {
    int anchor = kHeaderRows;
    for (int row = kHeaderRows + 1; row < sheet.GetRowNum();) {
        if (SameResults(sheet, anchor, row)) {
            Widen(sheet, anchor, row, 1, true);
            Widen(sheet, anchor, row, 2, false);
            sheet.RemoveRow(row, 0);
        } else {
            anchor = row++;
        }
    }
}

// Merges the orientation column over each run of equal texts.
void MergeOrientation(VxDbSheet& sheet) {
    const int column = sheet.GetColumnNum() - 1, rows = sheet.GetRowNum();
    int anchor = kHeaderRows;
    for (int row = kHeaderRows + 1; row <= rows; ++row) {
        if (row < rows && TextAt(sheet, anchor, column) == TextAt(sheet, row, column)) continue;
        if (row - 1 > anchor) sheet.MergeCells(anchor, column, row - 1, column);
        anchor = row;
    }
}

WinTableTexts SheetTexts(VxDbSheet& sheet, const std::wstring& building) {
    WinTableTexts texts;
    texts.rows.push_back({WinTableTitle(building)});
    for (int r = 0; r < sheet.GetRowNum(); ++r) {
        std::vector<std::wstring>& row = texts.rows.emplace_back();
        for (int c = 0; c < sheet.GetColumnNum(); ++c) {
            int r0 = r, c0 = c, r1 = r, c1 = c;
            sheet.GetMergeRange(r, c, r0, c0, r1, c1);
            row.push_back(r0 == r && c0 == c ? TextAt(sheet, r, c) : std::wstring());
        }
    }
    return texts;
}

}  // namespace

double WinTimeHours(const std::wstring& text) {
    double hours = 0.0;
    SolxDegree(text.c_str(), false).getDegree(hours);
    return hours;
}

WinTableSizes WinTableSizesAt(double scale) {
    return {3.5 * scale,  7.0 * scale,  10.0 * scale, 7.0 * scale,
            10.0 * scale, 15.0 * scale, 25.0 * scale, 7.0 * scale};
}

std::wstring WinBuildingName(const SolxWinSunlightInfo& win) {
    const size_t dash = win.m_strLabel.find(L'-');
    return dash == std::wstring::npos ? std::wstring() : win.m_strLabel.substr(0, dash);
}

std::wstring WinTableTitle(const std::wstring& building) {
    if (building.empty()) return VxUtLangText(L"窗日照分析表");
    return FormatText(VxUtLangText(L"%s号楼窗日照分析表"), building.c_str());
}

VxDbSheet* MakeWinSunSheet(const std::vector<const SolxWinSunlightInfo*>& windows,
                           const WinTableLayout& layout, const AcGePoint3d& p,
                           const std::wstring& building) {
    const int groups = static_cast<int>(layout.groupNames.size());
    const int columns = 3 + 2 * groups + (layout.useValidWindow ? 1 : 0);
    auto* sheet = new VxDbSheet();
    SetUpSheet(*sheet, kHeaderRows + static_cast<int>(windows.size()), columns, p, building,
               WinTableSizesAt(layout.textScale));
    WriteHeader(*sheet, layout);
    WriteRows(*sheet, windows, layout);
    CompactRows(*sheet);
    if (layout.useValidWindow) MergeOrientation(*sheet);
    sheet->CalculateRowHeight(0, sheet->GetRowNum() - 1);
    return sheet;
}

void WriteWinSunTables(const std::vector<const SolxWinSunlightInfo*>& windows,
                       const WinTableLayout& layout, const AcGePoint3d& p,
                       std::vector<WinTableTexts>* texts) {
    const WinTableSizes size = WinTableSizesAt(layout.textScale);
    auto* note = new VxDbText();
    note->SetPosition(p);
    note->SetTextHeight(size.text, 1);
    note->SetTextStyle(kTextStyle);
    note->SetContent(layout.note.c_str());
    if (AddToModelSpace(note, 0).isNull()) {
        delete note;
    } else {
        // A third of the note's height above the point, clear of the table's top line.
        double width = 0.0, height = 0.0;
        note->GetSize(width, height);
        note->SetPosition(AcGePoint3d(p.x, p.y + height / 3.0, 0.0));
        note->close();
    }
    // The windows by building, each building's in the order given.
    std::vector<std::pair<std::wstring, std::vector<const SolxWinSunlightInfo*>>> buildings;
    for (const SolxWinSunlightInfo* win : windows) {
        const std::wstring name = WinBuildingName(*win);
        auto it = std::find_if(buildings.begin(), buildings.end(),
                               [&name](const auto& b) { return b.first == name; });
        if (it == buildings.end()) it = buildings.insert(buildings.end(), {name, {}});
        it->second.push_back(win);
    }
    std::stable_sort(buildings.begin(), buildings.end(), [](const auto& a, const auto& b) {
        if (a.first.empty() != b.first.empty()) return b.first.empty();
        return CompareWindowLabels(a.first, b.first) < 0;
    });
    if (buildings.empty()) buildings.emplace_back();
    double top = p.y;
    for (const auto& [name, rows] : buildings) {
        VxDbSheet* sheet = MakeWinSunSheet(rows, layout, AcGePoint3d(p.x, top, p.z), name);
        if (texts) texts->push_back(SheetTexts(*sheet, name));
        AcDbExtents extents;
        sheet->getGeomExtents(extents);
        top = extents.minPoint().y - size.gap;
        if (AddToModelSpace(sheet, 1).isNull()) delete sheet;
    }
}
