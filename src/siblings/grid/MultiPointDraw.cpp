// The sunlight map of a grid: a value text at the points, cells coloured by the current
// standard's colour table, and a legend with the conditions of the analysis.

#include <algorithm>
#include <array>
#include <cmath>
#include <cwchar>
#include <map>
#include <string>

#include "MultiPoint.h"
#include "acad/AcDbHatch.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxDbText.h"
#include "brel/VxDtLayer.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDegree.h"
#include "solx/SolxObjInfo.h"
#include "solx/SolxText.h"

namespace multipoint {

namespace {

std::wstring HoursText(double hours) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%.1f", hours);
    return text;
}

std::wstring PeriodsText(const std::vector<VxGePoint>& periods) {
    std::wstring text;
    for (const VxGePoint& p : periods) {
        if (!text.empty()) text += L" ";
        text += SolxDegree(p.x / 60.0).TimeFormat(false) + L"-" +
                SolxDegree(p.y / 60.0).TimeFormat(false);
    }
    return text.empty() ? SolxText(L"无") : text;
}

const wchar_t* ValueName(int evaluationMode) {
    return evaluationMode == 0 ? SolxText(L"总有效日照") : SolxText(L"最长有效连照");
}

class MapWriter {
public:
    explicit MapWriter(const MapInput& input) : m_in(input) {}

    // Layer and rows, then into the drawing; counts what was added.
    void Add(AcDbEntity* entity, int colour, const SolxObjInfoRows& rows) {
        if (m_in.layer.isNull())
            entity->setLayer(VxDtGetLayerName(L"SUN-SHADOW").c_str());
        else
            entity->setLayer(m_in.layer);
        entity->setColorIndex(colour);
        WriteXData(entity, rows);
        if (AddToModelSpace(entity, 1).isNull())
            delete entity;
        else
            ++m_count;
    }

    void Text(const std::wstring& content, const AcGePoint3d& at, double height, int alignment,
              int colour, const SolxObjInfoRows& rows) {
        auto* text = new VxDbText();
        text->SetTextStyle(L"TS_DIM");
        text->SetTextHeight(height, 1);
        text->SetAlignment(alignment);
        text->SetContent(content.c_str());
        text->SetPosition(at);
        Add(text, colour, rows);
    }

    // A solid hatch of rectangles (minX, minY, maxX, maxY).
    void Cells(const std::vector<std::array<double, 4>>& boxes, int colour,
               const SolxObjInfoRows& rows) {
        if (boxes.empty()) return;
        auto* hatch = new AcDbHatch();
        hatch->setPattern(L"SOLID");
        hatch->setElevation(m_in.grid.origin.z);
        for (const auto& b : boxes)
            hatch->appendLoop({{b[0], b[1]}, {b[2], b[1]}, {b[2], b[3]}, {b[0], b[3]}});
        Add(hatch, colour, rows);
    }

    void ValueTexts();
    void ColouredCells();
    void Legend();
    int Count() const { return m_count; }

private:
    float Value(long r, long c) const { return (*m_in.hours)[r][c]; }

    const MapInput& m_in;
    int m_count = 0;
};

void MapWriter::ValueTexts() {
    const SolxSunGrid& g = m_in.grid;
    const long step = m_in.detailed ? 1 : std::max(1L, m_in.labelStep);
    const double height = 0.28 * g.spacing;
    for (long r = 0; r < g.PointRows(); r += step)
        for (long c = 0; c < g.PointColumns(); c += step) {
            const float value = Value(r, c);
            if (value < 0.0f) continue;
            SolxObjInfoRows rows;
            rows.Append(new IObjInfoUnit{ValueName(m_in.evaluationMode),
                                         SolxDegree(value).TimeFormat(false)});
            if (m_in.detailed && m_in.periods)
                rows.Append(new IObjInfoUnit{
                    SolxText(L"日照时段"),
                    PeriodsText((*m_in.periods)[static_cast<size_t>(r * g.PointColumns() + c)])});
            const VxGePoint p = g.At(r, c);
            Text(HoursText(value), AcGePoint3d(p.x, p.y, p.z), height, 4, 7, rows);
        }
}

// Cells centred on the points, runs of one colour along a row merged, one hatch per colour.
void MapWriter::ColouredCells() {
    const SolxSunGrid& g = m_in.grid;
    const SolxStdSet& standard = g_SunDataSet.CurStd();
    std::map<int, std::vector<std::array<double, 4>>> byColour;
    const double half = g.spacing / 2.0;
    for (long r = 0; r < g.PointRows(); ++r) {
        const double y = g.At(r, 0).y;
        for (long c = 0; c < g.PointColumns();) {
            if (Value(r, c) < 0.0f) {
                ++c;
                continue;
            }
            const int colour = standard.GetTimeColor(Value(r, c));
            long end = c + 1;
            while (end < g.PointColumns() && Value(r, end) >= 0.0f &&
                   standard.GetTimeColor(Value(r, end)) == colour)
                ++end;
            byColour[colour].push_back(
                {g.At(r, c).x - half, y - half, g.At(r, end - 1).x + half, y + half});
            c = end;
        }
    }
    for (const auto& [colour, boxes] : byColour) {
        SolxObjInfoRows rows;
        rows.Append(new IObjInfoUnit{SolxText(L"日照时数颜色"), std::to_wstring(colour)});
        Cells(boxes, colour, rows);
    }
}

// Right of the grid: a swatch and its hour band per colour of the table, then the conditions.
void MapWriter::Legend() {
    const SolxSunGrid& g = m_in.grid;
    const double width = g.columns * g.spacing, depth = g.rows * g.spacing;
    const double u = std::max(width, depth) / 60.0;  // text height of the legend
    const double x = g.origin.x + width + g.spacing + u;
    double y = g.origin.y + depth;
    SolxObjInfoRows legendRow;
    legendRow.Append(new IObjInfoUnit{SolxText(L"图例"), ValueName(m_in.evaluationMode)});
    const double z = g.origin.z;
    Text(SolxText(L"日照时数图例（小时）"), AcGePoint3d(x, y, z), u * 1.2, 0, 7, legendRow);
    y -= 2.0 * u;
    const auto& items = g_SunDataSet.CurStd().m_colorTable.m_items;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::wstring band = i + 1 < items.size() ? HoursText(items[i].hours) + L" ~ " +
                                                             HoursText(items[i + 1].hours)
                                                       : L">= " + HoursText(items[i].hours);
        SolxObjInfoRows rows;
        rows.Append(new IObjInfoUnit{SolxText(L"日照时数"), band});
        Cells({{x, y - u, x + 2.0 * u, y}}, items[i].color, rows);
        SolxObjInfoRows textRows;
        textRows.Append(new IObjInfoUnit{SolxText(L"日照时数"), band});
        Text(band, AcGePoint3d(x + 2.5 * u, y - u, z), u, 0, 7, textRows);
        y -= 1.6 * u;
    }
    // The conditions, one piece of the settings' note a line, then what the grid adds.
    std::vector<std::wstring> lines;
    const std::wstring note = g_SunDataSet.GetNoteString();
    for (size_t at = 0; at < note.size();) {
        const size_t next = note.find(L"  ", at);
        const std::wstring piece = note.substr(at, next == std::wstring::npos ? next : next - at);
        if (!piece.empty()) lines.push_back(piece);
        if (next == std::wstring::npos) break;
        at = next + 2;
    }
    wchar_t text[160];
    std::swprintf(text, 160, SolxText(L"计算高度：%g"), z);
    lines.push_back(text);
    std::swprintf(text, 160, SolxText(L"网格：%g，%ld × %ld 点"), g.spacing, g.PointColumns(),
                  g.PointRows());
    lines.push_back(text);
    lines.push_back(SolxText(L"评价：") + std::wstring(ValueName(m_in.evaluationMode)));
    y -= 0.6 * u;
    for (const std::wstring& line : lines) {
        Text(line, AcGePoint3d(x, y - u, z), 0.8 * u, 0, 7, legendRow);
        y -= 1.3 * u;
    }
}

}  // namespace

int DrawMap(const MapInput& input) {
    VxDtInitTextStyle(L"TS_DIM", nullptr);
    if (input.layer.isNull()) VxDtInitStdLayer(L"SUN-SHADOW", nullptr);
    MapWriter writer(input);
    VxAdsEntSet set;
    set.IncludeBegin();
    if (!input.valuesOnly) writer.ColouredCells();
    if (input.labels || input.detailed) writer.ValueTexts();
    if (!input.valuesOnly) writer.Legend();
    set.IncludeEnd();
    set.MakeAnonymousGroup();
    return writer.Count();
}

}  // namespace multipoint
