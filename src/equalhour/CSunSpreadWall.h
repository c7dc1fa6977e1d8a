#pragma once
// The facade mode of the equal-hour lines: each outer wall of a slab building becomes a panel
// (as wide as the wall is long, as high as the slab is thick), the panels are unfolded side by
// side into one plane drawing, a grid of points on each panel is evaluated against the
// obstructions, and the contour line of every level is drawn on the unfolded drawing and, mapped
// back, as a 3D polyline on the real facade.

#include <memory>
#include <vector>

#include "EqualHour.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxGePoint.h"
#include "brel/VxGePointDir2d.h"
#include "containers/Vx2dArray.h"

class AcDbBlockReference;
class SolxBuildingEx;
struct SolxCalSetting;

// The plan curve of one wall: a straight segment, or a circular arc given by a bulge as in a
// lightweight polyline (tan of a quarter of the swept angle, positive counter-clockwise).
class SolxWallCurve {
public:
    SolxWallCurve(const VxGePoint& start, const VxGePoint& end, double bulge = 0.0);

    const VxGePoint& Start() const { return m_start; }
    const VxGePoint& End() const { return m_end; }
    double Bulge() const { return m_bulge; }
    bool IsArc() const { return m_bArc; }
    double Length() const { return m_length; }
    // The arc's centre, radius, start angle and signed sweep (radians); only for an arc.
    const VxGePoint& Centre() const { return m_centre; }
    double Radius() const { return m_radius; }
    double StartAngle() const { return m_startAngle; }
    double Sweep() const { return m_sweep; }

    // The point at `distance` from the start along the curve (clamped to the curve), z = 0.
    VxGePoint PointAt(double distance) const;
    // The plan angle of the curve's direction of travel at `distance`.
    double TangentAngle(double distance) const;
    // The distance from the start to the point of the curve closest to p in plan.
    double DistanceAlong(const VxGePoint& p) const;
    // The plan distance from p to the curve.
    double DistanceTo(const VxGePoint& p) const;
    // Points along the curve, both ends included (an arc in `pieces` equal steps).
    std::vector<VxGePoint> Points(int pieces = 16) const;

private:
    VxGePoint m_start, m_end;
    double m_bulge = 0.0;
    bool m_bArc = false;
    double m_length = 0.0;
    VxGePoint m_centre;
    double m_radius = 0.0, m_startAngle = 0.0, m_sweep = 0.0;
};

// An outline vertex with the bulge of the segment that leaves it.
struct SolxOutlineVertex {
    VxGePoint point;
    double bulge = 0.0;
};

// Signed area of a closed outline with arcs (positive counter-clockwise).
double OutlineArea(const std::vector<SolxOutlineVertex>& outline);
// The walls of a whole slab in unfolding order: the outline made counter-clockwise, started at
// its leftmost vertex (the first of equal ones within 1e-6), and every segment except a straight
// one running due west (the north wall of a counter-clockwise outline). startVertex gets that
// vertex.
std::vector<SolxWallCurve> SlabWalls(std::vector<SolxOutlineVertex> outline,
                                     VxGePoint* startVertex = nullptr);
// The segment of a closed outline within `tolerance` of p in plan (the nearest one), -1 when none.
int HitOutlineSegment(const std::vector<SolxOutlineVertex>& outline, const VxGePoint& p,
                      double tolerance);
// The wall of segment k (from vertex k to the next, with its bulge), z = 0.
SolxWallCurve OutlineSegment(const std::vector<SolxOutlineVertex>& outline, int k);

// One unfolded wall.
class CSunSpreadWall {
public:
    // offset: how far the sample points stand out of the wall face (drawing units).
    CSunSpreadWall(double gridSize, double offset = 0.0);

    double gridSize = 0.0;
    double elevation = 0.0;
    double height = 0.0;
    VxGePoint unfoldOrigin;
    std::unique_ptr<SolxWallCurve> wall;
    Vx2dArray<VxGePoint> values;        // unfolded place (x, y) and hours (z) of each node
    Vx2dArray<VxGePointDir2d> samples;  // the same nodes on the real facade
    VxAdsEntSet lineEntities;           // what was drawn on the real facade
    VxAdsEntSet windows;                // the window blocks standing on the wall
    double offset = 0.0;

    // The facade point of an unfolded point (x along the strip, y height); the zero point
    // without a wall.
    VxGePointDir2d MapToFacade(const VxGePoint& point) const;
    // Lays the node grids over the panel (see the .cpp for the cell rules).
    void BuildGrids();
    void ReleaseGrids();
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }

    // Drawing (into the working drawing).
    void DrawOutlineAndWindows();
    void DrawWindow(const AcDbBlockReference* blockReference);
    // Evaluates the nodes and draws the lines of the levels; false when the user broke off.
    bool ComputeAndDraw(const SolxBuildingEx& buildingsEx, const SolxCalSetting& setting,
                        const std::vector<double>& levels, const EqualHourParams& params);
    void DrawNumberGrid(int labelSpacing, int evaluationMode);

private:
    int m_columns = 0, m_rows = 0;
};

// The running place of the panels along the unfolded strip: a wall that starts where the
// previous one ended joins it edge to edge, any other starts `gap` further on.
class SolxFacadeUnfolding {
public:
    explicit SolxFacadeUnfolding(double gap) : m_gap(gap) {}
    void Place(CSunSpreadWall& panel);

private:
    double m_gap;
    double m_x = 0.0;
    std::unique_ptr<SolxWallCurve> m_previous;
};

// Drawing helpers of the unfolded drawing, added to model space on the named layer (a key of
// the standard layers); both give the new entity's id.
AcDbObjectId AddLine(const VxGePoint& from, const VxGePoint& to, const wchar_t* layerName);
AcDbObjectId AddRectangle(const VxGePoint& centre, double width, double height,
                          const wchar_t* layerName);

// The facade mode of "VxSunEqCurve": the selection of walls and slabs, the panels, the drag.
void RunFacadeEqualHourLines(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                             const std::vector<double>& levels, const EqualHourParams& params);
