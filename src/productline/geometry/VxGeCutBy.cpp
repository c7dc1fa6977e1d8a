// Curves cut by a closed outline into the pieces inside, outside and along it.

#include <algorithm>
#include <cmath>

#include "brel/VxGeometry.h"

namespace {

double Cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

// The parameters along a -> b (0 < t < 1) where the segment meets c -> d: a crossing or a
// touch, and for a collinear overlap the ends of the overlap.
void Meetings(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c, const VxGePoint& d,
              std::vector<double>& ts) {
    const double rx = b.x - a.x, ry = b.y - a.y, sx = d.x - c.x, sy = d.y - c.y;
    const double rr = rx * rx + ry * ry;
    if (rr <= 0.0) return;
    const double denom = Cross(rx, ry, sx, sy);
    const double qx = c.x - a.x, qy = c.y - a.y;
    const double length = std::sqrt(rr);
    if (std::fabs(denom) <= 1e-12 * length * std::hypot(sx, sy)) {
        // Parallel: only a collinear overlap meets.
        if (std::fabs(Cross(qx, qy, rx, ry)) / length > g_distZero) return;
        for (const VxGePoint* p : {&c, &d}) {
            const double t = ((p->x - a.x) * rx + (p->y - a.y) * ry) / rr;
            if (t > 0.0 && t < 1.0) ts.push_back(t);
        }
        return;
    }
    const double t = Cross(qx, qy, sx, sy) / denom;
    const double u = Cross(qx, qy, rx, ry) / denom;
    const double slackT = g_distZero / length, slackU = g_distZero / std::hypot(sx, sy);
    if (u < -slackU || u > 1.0 + slackU) return;
    if (t > slackT && t < 1.0 - slackT) ts.push_back(t);
}

struct Mark {
    VxGePoint point;
    bool cut = false;  // the outline meets the curve here
};

void Sort(const VxGePolyline2d& piece, const VxGePolyline2d& outline, VxGeObjList& inside,
          VxGeObjList& outside, VxGeObjList& along) {
    const auto& pts = piece.Points();
    // The middle of the longest segment decides: it lies wholly on one side between cuts.
    size_t best = 0;
    double longest = -1.0;
    const size_t segments = piece.IsClosed() ? pts.size() : pts.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
        const VxGePoint& a = pts[i];
        const VxGePoint& b = pts[(i + 1) % pts.size()];
        const double l = std::hypot(b.x - a.x, b.y - a.y);
        if (l > longest) longest = l, best = i;
    }
    if (longest <= g_distZero) return;
    const VxGePoint& a = pts[best];
    const VxGePoint& b = pts[(best + 1) % pts.size()];
    const unsigned hit = outline.HitTest(VxGePoint((a.x + b.x) / 2, (a.y + b.y) / 2, a.z));
    if (hit & kVxHitOnBoundary)
        along.Append(piece);
    else if (hit & kVxHitInside)
        inside.Append(piece);
    else
        outside.Append(piece);
}

}  // namespace

void VxGeObjList::CutBy(const VxGePolyline2d& outline, VxGeObjList& inside, VxGeObjList& outside,
                        VxGeObjList& along) const {
    const std::vector<VxGePolyline2d> curves = m_curves;  // the lists may include this one
    const auto& ring = outline.Points();
    // Segments and vertices away from the outline's box cannot meet it: most of a long curve
    // is skipped without looking at the outline's edges.
    VxGeExtent box = outline.GetExtent();
    box.minX -= g_distZero, box.minY -= g_distZero, box.maxX += g_distZero, box.maxY += g_distZero;
    auto near = [&](const VxGePoint& a, const VxGePoint& b) {
        return std::max(a.x, b.x) >= box.minX && std::min(a.x, b.x) <= box.maxX &&
               std::max(a.y, b.y) >= box.minY && std::min(a.y, b.y) <= box.maxY;
    };
    for (const VxGePolyline2d& curve : curves) {
        const auto& pts = curve.Points();
        if (pts.size() < 2) continue;
        const bool closed = curve.IsClosed();
        const size_t segments = closed ? pts.size() : pts.size() - 1;
        std::vector<Mark> marks;
        bool anyCut = false;
        for (size_t i = 0; i < segments; ++i) {
            const VxGePoint& a = pts[i];
            const VxGePoint& b = pts[(i + 1) % pts.size()];
            // A vertex on the outline is a cut too.
            const bool onBoundary =
                ring.size() >= 2 && box.Contains(a) && (outline.HitTest(a) & kVxHitOnBoundary);
            marks.push_back({a, onBoundary});
            anyCut = anyCut || onBoundary;
            if (!near(a, b)) continue;
            std::vector<double> ts;
            for (size_t k = 0; k < ring.size() && ring.size() >= 2; ++k)
                Meetings(a, b, ring[k], ring[(k + 1) % ring.size()], ts);
            std::sort(ts.begin(), ts.end());
            for (double t : ts) {
                marks.push_back(
                    {VxGePoint(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)),
                     true});
                anyCut = true;
            }
        }
        if (!closed) {
            const bool lastOn = ring.size() >= 2 && box.Contains(pts.back()) &&
                                (outline.HitTest(pts.back()) & kVxHitOnBoundary);
            marks.push_back({pts.back(), lastOn});
        }
        if (!anyCut) {
            Sort(curve, outline, inside, outside, along);
            continue;
        }
        if (closed) {
            // Start at the first cut and end back at it: every piece runs cut to cut.
            const auto first =
                std::find_if(marks.begin(), marks.end(), [](const Mark& m) { return m.cut; });
            std::rotate(marks.begin(), first, marks.end());
            marks.push_back(marks.front());
        }
        VxGePolyline2d piece;
        for (size_t i = 0; i < marks.size(); ++i) {
            piece.Append(marks[i].point);
            const bool end = i + 1 == marks.size();
            if ((marks[i].cut && piece.GetNodeNum() > 1) || end) {
                if (piece.GetNodeNum() >= 2) Sort(piece, outline, inside, outside, along);
                piece = VxGePolyline2d();
                if (!end) piece.Append(marks[i].point);
            }
        }
    }
}
