// The fitting method of the equal-hour lines: the grid analysis of an area gives the sunlight
// at a grid of points, and the contour line of each level through those values is drawn.

#include "EqualHour.h"
#include "acad/AcDb2dPolyline.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyline.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxGeCurveFit.h"
#include "solx/SolxMultiPoint.h"

namespace {

AcDbPolyline* PolylineOf(const VxGePolyline2d& curve, double z) {
    auto* polyline = new AcDbPolyline();
    for (const VxGePoint& p : curve.Points())
        polyline->addVertexAt(polyline->numVerts(), AcGePoint2d(p.x, p.y));
    polyline->setClosed(curve.IsClosed());
    polyline->setElevation(z);
    return polyline;
}

// Adds the tagged line; with smoothing it goes in as a spline-fitted 2D polyline that takes
// over the lightweight polyline's id.
void AddCurve(AcDbPolyline* polyline, bool smoothing) {
    if (!smoothing) {
        if (AddToModelSpace(polyline, 1).isNull()) delete polyline;
        return;
    }
    const bool closed = polyline->isClosed();
    if (AddToModelSpace(polyline, 0).isNull()) {
        delete polyline;
        return;
    }
    AcDb2dPolyline* fitted = nullptr;
    if (polyline->convertTo(fitted, true) != Acad::eOk || fitted == nullptr) {
        polyline->close();
        return;
    }
    fitted->splineFit();
    if (closed) fitted->makeClosed();
    fitted->close();
    delete polyline;
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

}  // namespace

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
    VxGeCurveFitGraph graph;
    if (!PrepareFit(origin, params.gridSize, rows + 1, columns + 1, values, graph)) return;
    for (double level : levels) {
        graph.Fit(level, -1.0);
        VxGeObjList curves;
        graph.CreateCurve(curves);
        VxAdsEntSet group;
        group.IncludeBegin();
        for (VxGePolyline2d curve : curves.Curves()) {
            if (!curve.IsValid()) continue;
            // The fitted pieces keep the ground below the level on their right; drawn the other
            // way round they run as the micro-region outlines do (below the level on the left,
            // counter-clockwise around it).
            curve.Reverse();
            AcDbPolyline* polyline = PolylineOf(curve, params.calcHeight);
            TagEqualHourEntity(polyline, level, params.evaluationMode, layer);
            AddCurve(polyline, params.smoothing != 0);
        }
        group.IncludeEnd();
        if (group.GetLength() > 0) group.MakeAnonymousGroup();
        graph.Reset();
    }
    if (params.showNumberGrid) DrawNumberGridLines(origin, params.gridSize, columns, rows, layer);
}
