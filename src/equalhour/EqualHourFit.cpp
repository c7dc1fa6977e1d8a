// The fitting method of the equal-hour lines: the grid analysis of an area gives the sunlight
// at a grid of points, and the contour line of each level through those values is drawn.

#include <algorithm>
#include <cmath>

#include "EqualHour.h"
#include "acad/AcDb2dPolyline.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyline.h"
#include "acad/aced.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxGeCurveFit.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxDegree.h"
#include "solx/SolxMultiPoint.h"
#include "solx/SolxSunGrid.h"

namespace {

AcDbPolyline* PolylineOf(const VxGePolyline2d& curve, double z) {
    auto* polyline = new AcDbPolyline();
    for (const VxGePoint& p : curve.Points())
        polyline->addVertexAt(polyline->numVerts(), AcGePoint2d(p.x, p.y));
    polyline->setClosed(curve.IsClosed());
    polyline->setElevation(z);
    return polyline;
}

void DrawNumberGridLines(const VxGePoint& origin, double spacing, int columns, int rows,
                         AcDbObjectId layer) {
    auto add = [&](double x0, double y0, double x1, double y1) {
        auto* line = new AcDbLine(AcGePoint3d(x0, y0, origin.z), AcGePoint3d(x1, y1, origin.z));
        line->setColorIndex(8);
        if (!layer.isNull()) line->setLayer(layer);
        if (AddToModelSpace(line, 1).isNull()) delete line;
    };
    for (int i = 0; i <= rows; ++i)
        add(origin.x, origin.y + i * spacing, origin.x + columns * spacing, origin.y + i * spacing);
    for (int j = 0; j <= columns; ++j)
        add(origin.x + j * spacing, origin.y, origin.x + j * spacing, origin.y + rows * spacing);
}

// Says why a level has no line: every point of the area gets at least that much sunlight (no
// obstruction shades the area for that long), or every point gets less.
void SayNoLine(const std::vector<float>& values, double level) {
    bool anyBelow = false, anyAbove = false;
    for (float v : values) {
        if (v == kSunGridNoValue) continue;
        (v < level ? anyBelow : anyAbove) = true;
    }
    if (anyBelow && anyAbove) return;  // the line lies in footprints only
    const std::wstring time = SolxDegree(level).TimeFormat(false);
    acutPrintf(VxUtLangText(anyBelow ? L"\n%s等照时线：计算范围内各点的日照都少于%s，没有画线。"
                                     : L"\n%s等照时线：计算范围内各点的日照都不少于%s，没有画线。"),
               time.c_str(), time.c_str());
}

}  // namespace

std::vector<VxGePolyline2d> CuttingOutlines(const SolxBuildingList& buildings) {
    std::vector<VxGePolyline2d> outlines;
    for (const auto& b : buildings) {
        if (!b || !b->IsValid()) continue;
        VxGePolyline2d ring;
        for (const VxGePoint& p : b->Outline()) ring.Append(VxGePoint(p.x, p.y, 0.0));
        ring.SetClosed(true);
        outlines.push_back(std::move(ring));
    }
    return outlines;
}

void FillFootprintNodes(const VxGePoint& origin, double spacing, int rows, int columns,
                        std::vector<float>& values, const std::vector<VxGePolyline2d>& outlines) {
    if (rows < 1 || columns < 1 || !(spacing > 0.0) ||
        values.size() != static_cast<size_t>(rows) * columns)
        return;
    // The nodes without a value that some outline holds (on its edge counts).
    std::vector<char> waiting(values.size(), 0);
    std::vector<size_t> pending;
    for (const VxGePolyline2d& outline : outlines) {
        const VxGeExtent e = outline.GetExtent();
        if (e.IsEmpty()) continue;
        const int c0 = std::max(0, static_cast<int>(std::floor((e.minX - origin.x) / spacing)));
        const int c1 =
            std::min(columns - 1, static_cast<int>(std::ceil((e.maxX - origin.x) / spacing)));
        const int r0 = std::max(0, static_cast<int>(std::floor((e.minY - origin.y) / spacing)));
        const int r1 =
            std::min(rows - 1, static_cast<int>(std::ceil((e.maxY - origin.y) / spacing)));
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                const size_t i = static_cast<size_t>(r) * columns + c;
                if (waiting[i] || values[i] != kSunGridNoValue) continue;
                const VxGePoint node(origin.x + c * spacing, origin.y + r * spacing, 0.0);
                if (outline.HitTest(node) & kVxHitInside) {
                    waiting[i] = 1;
                    pending.push_back(i);
                }
            }
    }
    // Ring by ring from the walls inwards: a node takes the mean of the neighbours that had a
    // value before this ring, so the order within a ring does not matter.
    while (!pending.empty()) {
        std::vector<std::pair<size_t, float>> ring;
        std::vector<size_t> later;
        for (size_t i : pending) {
            const int r = static_cast<int>(i / columns), c = static_cast<int>(i % columns);
            double sum = 0.0;
            int n = 0;
            auto take = [&](int rr, int cc) {
                if (rr < 0 || rr >= rows || cc < 0 || cc >= columns) return;
                const size_t k = static_cast<size_t>(rr) * columns + cc;
                if (waiting[k] || values[k] == kSunGridNoValue) return;
                sum += values[k];
                ++n;
            };
            take(r - 1, c), take(r + 1, c), take(r, c - 1), take(r, c + 1);
            if (n > 0)
                ring.emplace_back(i, static_cast<float>(sum / n));
            else
                later.push_back(i);
        }
        if (ring.empty()) break;  // the rest has no valued ground around it
        for (const auto& [i, v] : ring) values[i] = v, waiting[i] = 0;
        pending = std::move(later);
    }
}

std::vector<VxGePolyline2d> FitLevelLines(VxGeCurveFitGraph& graph, double level,
                                          const std::vector<VxGePolyline2d>& outlines) {
    graph.Fit(level, -1.0);
    VxGeObjList curves;
    graph.CreateCurve(curves);
    graph.Reset();
    // Each line with its box: an outline cuts only the lines whose box meets its own, so the
    // cost grows with the lines near each building rather than with all of them.
    struct Boxed {
        VxGePolyline2d line;
        VxGeExtent box;
    };
    std::vector<Boxed> boxed;
    for (const VxGePolyline2d& curve : curves.Curves()) boxed.push_back({curve, curve.GetExtent()});
    auto meet = [](const VxGeExtent& a, const VxGeExtent& b) {
        return a.minX <= b.maxX + g_distZero && b.minX <= a.maxX + g_distZero &&
               a.minY <= b.maxY + g_distZero && b.minY <= a.maxY + g_distZero;
    };
    for (const VxGePolyline2d& outline : outlines) {
        const VxGeExtent box = outline.GetExtent();
        VxGeObjList near;
        std::vector<Boxed> kept;
        for (Boxed& b : boxed) {
            if (meet(b.box, box))
                near.Append(std::move(b.line));
            else
                kept.push_back(std::move(b));
        }
        VxGeObjList inside, outside, along;
        near.CutBy(outline, inside, outside, along);
        for (const VxGePolyline2d& piece : outside.Curves())
            kept.push_back({piece, piece.GetExtent()});
        boxed = std::move(kept);
    }
    std::vector<VxGePolyline2d> lines;
    for (Boxed& b : boxed) {
        VxGePolyline2d& curve = b.line;
        if (!curve.IsValid()) continue;
        // The fitted pieces keep the ground below the level on their right; drawn the other way
        // round they run as the micro-region outlines do.
        curve.Reverse();
        lines.push_back(std::move(curve));
    }
    return lines;
}

void RunFittingMethod(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                      const std::vector<double>& levels, const EqualHourParams& params,
                      AcDbObjectId layer) {
    const SolxSunSetting& sun = params.sun;
    int columns = 0, rows = 0;
    VxGePoint origin(0, 0, 0);
    Vx2dArray<float> grid;
    if (!CalMultiPoint(buildings, sources, params.evaluationMode, params.gridSize, sun.longitude,
                       sun.latitude, sun.declination, sun.timeCorrection, sun.startMinute,
                       sun.endMinute, sun.stepMinutes, sun.noAngleLimit, params.calcHeight,
                       params.showNumberGrid, true, params.labelSpacing, columns, rows, origin,
                       grid, layer, true, true, 0, VxGePoint(0, 0, 0), VxGePoint(0, 0, 0), nullptr,
                       0.0))
        return;
    std::vector<float> values;
    values.reserve(static_cast<size_t>(rows + 1) * (columns + 1));
    for (long r = 0; r < grid.GetRowCount(); ++r)
        for (long c = 0; c < grid.GetColumnCount(); ++c) values.push_back(grid[r][c]);
    const std::vector<VxGePolyline2d> outlines = CuttingOutlines(buildings);
    FillFootprintNodes(origin, params.gridSize, rows + 1, columns + 1, values, outlines);
    VxGeCurveFitGraph graph;
    if (!PrepareFit(origin, params.gridSize, rows + 1, columns + 1, values, graph)) return;
    for (double level : levels) {
        VxAdsEntSet group;
        group.IncludeBegin();
        for (const VxGePolyline2d& curve : FitLevelLines(graph, level, outlines)) {
            AcDbPolyline* polyline = PolylineOf(curve, params.calcHeight);
            TagEqualHourEntity(polyline, level, params.evaluationMode, layer);
            AddEqualHourCurve(polyline, params.smoothing != 0);
        }
        group.IncludeEnd();
        if (group.GetLength() > 0)
            group.MakeAnonymousGroup();
        else
            SayNoLine(values, level);
    }
    if (params.showNumberGrid) DrawNumberGridLines(origin, params.gridSize, columns, rows, layer);
}
