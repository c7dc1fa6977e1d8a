// The geometry of the facade panels: wall curves (segments and arcs), the walls of a slab in
// unfolding order, the node grids and the mapping from the unfolded drawing onto the facade.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "CSunSpreadWall.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTiny = 1e-6;  // vertices and joins closer than this coincide

double StdAngle(double a) {
    a = std::fmod(a, 2 * kPi);
    if (a < 0) a += 2 * kPi;
    return a >= 2 * kPi ? 0.0 : a;
}

VxGePoint Flat(const VxGePoint& p) {
    return {p.x, p.y, 0.0};
}

}  // namespace

SolxWallCurve::SolxWallCurve(const VxGePoint& start, const VxGePoint& end, double bulge)
    : m_start(Flat(start)), m_end(Flat(end)), m_bulge(bulge) {
    const double chord = m_start.Distance2d(m_end);
    m_bArc = std::abs(bulge) > 1e-9 && chord > 0.0;
    if (!m_bArc) {
        m_length = chord;
        return;
    }
    m_sweep = 4.0 * std::atan(bulge);
    const double half = std::abs(m_sweep) / 2.0;
    m_radius = chord / (2.0 * std::sin(half));
    // The centre lies on the chord's perpendicular; left of the chord for a counter-clockwise
    // arc under half a turn.
    const double ux = (m_end.x - m_start.x) / chord, uy = (m_end.y - m_start.y) / chord;
    const double h = m_radius * std::cos(half) * (bulge > 0 ? 1.0 : -1.0);
    m_centre = {(m_start.x + m_end.x) / 2 - uy * h, (m_start.y + m_end.y) / 2 + ux * h, 0.0};
    m_startAngle = std::atan2(m_start.y - m_centre.y, m_start.x - m_centre.x);
    m_length = m_radius * std::abs(m_sweep);
}

VxGePoint SolxWallCurve::PointAt(double distance) const {
    const double d = std::clamp(distance, 0.0, m_length);
    if (!m_bArc) {
        if (m_length <= 0.0) return m_start;
        const double t = d / m_length;
        return {m_start.x + (m_end.x - m_start.x) * t, m_start.y + (m_end.y - m_start.y) * t, 0.0};
    }
    const double a = m_startAngle + (m_sweep > 0 ? 1.0 : -1.0) * d / m_radius;
    return {m_centre.x + m_radius * std::cos(a), m_centre.y + m_radius * std::sin(a), 0.0};
}

double SolxWallCurve::TangentAngle(double distance) const {
    if (!m_bArc) return std::atan2(m_end.y - m_start.y, m_end.x - m_start.x);
    const double d = std::clamp(distance, 0.0, m_length);
    const double s = m_sweep > 0 ? 1.0 : -1.0;
    return m_startAngle + s * d / m_radius + s * kPi / 2;
}

double SolxWallCurve::DistanceAlong(const VxGePoint& p) const {
    if (!m_bArc) {
        if (m_length <= 0.0) return 0.0;
        const double t = ((p.x - m_start.x) * (m_end.x - m_start.x) +
                          (p.y - m_start.y) * (m_end.y - m_start.y)) /
                         (m_length * m_length);
        return std::clamp(t, 0.0, 1.0) * m_length;
    }
    const double s = m_sweep > 0 ? 1.0 : -1.0;
    const double turned =
        StdAngle(s * (std::atan2(p.y - m_centre.y, p.x - m_centre.x) - m_startAngle));
    if (turned <= std::abs(m_sweep)) return turned * m_radius;
    return p.Distance2d(m_start) <= p.Distance2d(m_end) ? 0.0 : m_length;
}

double SolxWallCurve::DistanceTo(const VxGePoint& p) const {
    return p.Distance2d(PointAt(DistanceAlong(p)));
}

std::vector<VxGePoint> SolxWallCurve::Points(int pieces) const {
    if (!m_bArc) return {m_start, m_end};
    std::vector<VxGePoint> points;
    for (int i = 0; i <= pieces; ++i) points.push_back(PointAt(m_length * i / pieces));
    return points;
}

double OutlineArea(const std::vector<SolxOutlineVertex>& outline) {
    double area = 0.0;
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        const VxGePoint& a = outline[i].point;
        const VxGePoint& b = outline[(i + 1) % n].point;
        area += (a.x * b.y - b.x * a.y) / 2.0;
        const SolxWallCurve arc(a, b, outline[i].bulge);
        // A counter-clockwise arc bulges to the right of its chord: it adds its circular segment.
        if (arc.IsArc()) {
            const double t = std::abs(arc.Sweep());
            area += (arc.Sweep() > 0 ? 1.0 : -1.0) * arc.Radius() * arc.Radius() *
                    (t - std::sin(t)) / 2.0;
        }
    }
    return area;
}

SolxWallCurve OutlineSegment(const std::vector<SolxOutlineVertex>& outline, int k) {
    const size_t n = outline.size();
    return SolxWallCurve(outline[k].point, outline[(k + 1) % n].point, outline[k].bulge);
}

std::vector<SolxWallCurve> SlabWalls(std::vector<SolxOutlineVertex> outline,
                                     VxGePoint* startVertex) {
    std::vector<SolxWallCurve> walls;
    const int n = static_cast<int>(outline.size());
    if (n < 2) return walls;
    if (OutlineArea(outline) < 0.0) {
        // Reversed, each segment keeps its arc by the bulge's sign turned.
        std::vector<SolxOutlineVertex> reversed(n);
        for (int k = 0; k < n; ++k) {
            reversed[k].point = outline[n - 1 - k].point;
            reversed[k].bulge = -outline[(2 * n - 2 - k) % n].bulge;
        }
        outline = std::move(reversed);
    }
    int start = 0;
    for (int i = 1; i < n; ++i)
        if (outline[i].point.x < outline[start].point.x - kTiny) start = i;
    std::rotate(outline.begin(), outline.begin() + start, outline.end());
    if (startVertex) *startVertex = outline[0].point;
    for (int k = 0; k < n; ++k) {
        SolxWallCurve wall = OutlineSegment(outline, k);
        if (wall.Length() <= 0.0) continue;
        const double dx = wall.End().x - wall.Start().x, dy = wall.End().y - wall.Start().y;
        if (!wall.IsArc() && dx < -kTiny && std::abs(dy) < kTiny) continue;  // faces due north
        walls.push_back(wall);
    }
    return walls;
}

int HitOutlineSegment(const std::vector<SolxOutlineVertex>& outline, const VxGePoint& p,
                      double tolerance) {
    int best = -1;
    double bestDistance = tolerance;
    for (int k = 0; k < static_cast<int>(outline.size()); ++k) {
        const double d = OutlineSegment(outline, k).DistanceTo(p);
        if (d <= bestDistance) best = k, bestDistance = d;
    }
    return best;
}

CSunSpreadWall::CSunSpreadWall(double gridSize_, double offset_)
    : gridSize(gridSize_), offset(offset_) {}

VxGePointDir2d CSunSpreadWall::MapToFacade(const VxGePoint& point) const {
    if (!wall) return {};
    const double along = point.x - unfoldOrigin.x;
    const VxGePoint on = wall->PointAt(along);
    const double direction = StdAngle(wall->TangentAngle(along) - kPi / 2);
    return {on.x + offset * std::cos(direction), on.y + offset * std::sin(direction), point.y,
            direction};
}

namespace {

// Whole cells of `size` in `length`, one more when the rest exceeds a tenth of a cell.
int CellCount(double length, double size) {
    int cells = static_cast<int>(length / size);
    if (std::abs(std::fmod(length, size)) > 0.1 * size) ++cells;
    return cells;
}

}  // namespace

void CSunSpreadWall::BuildGrids() {
    ReleaseGrids();
    if (!wall || !(gridSize > 0.0)) return;
    const double length = wall->Length();
    m_columns = CellCount(length, gridSize);
    m_rows = CellCount(height, gridSize);
    values.ReAllocate(m_rows + 1, m_columns + 1, false);
    samples.ReAllocate(m_rows + 1, m_columns + 1, false);
    for (int r = 0; r <= m_rows; ++r) {
        for (int c = 0; c <= m_columns; ++c) {
            VxGePoint node(unfoldOrigin.x + (c < m_columns ? c * gridSize : length),
                           unfoldOrigin.y + (r < m_rows ? r * gridSize : height), 0.0);
            // Border nodes stand a little inside the panel, off the edges of the facade.
            if (r == 0) node.y += 0.01;
            if (r == m_rows) node.y -= 0.01;
            if (c == 0) node.x += 0.01;
            if (c == m_columns) node.x -= 0.01;
            values[r][c] = node;
            samples[r][c] = MapToFacade(node);
        }
    }
}

void CSunSpreadWall::ReleaseGrids() {
    values.ReAllocate(0, 0, false);
    samples.ReAllocate(0, 0, false);
}

void SolxFacadeUnfolding::Place(CSunSpreadWall& panel) {
    if (!panel.wall) return;
    if (m_previous) {
        m_x += m_previous->Length();
        if (m_previous->End().Distance2d(panel.wall->Start()) > kTiny) m_x += m_gap;
    }
    panel.unfoldOrigin = VxGePoint(m_x, panel.elevation, 0.0);
    m_previous = std::make_unique<SolxWallCurve>(*panel.wall);
}
