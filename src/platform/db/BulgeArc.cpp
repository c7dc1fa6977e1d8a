#include "db/BulgeArc.h"

#include <cmath>

namespace solx::db {

namespace {
struct ArcGeometry {
    AcGePoint2d center;
    double radius, start, sweep;  // sweep signed: positive counter-clockwise
};

ArcGeometry arcOf(const AcGePoint2d& a, const AcGePoint2d& b, double bulge) {
    double sweep = 4 * std::atan(bulge);
    double chord = a.distanceTo(b);
    double radius = chord / (2 * std::sin(std::fabs(sweep) / 2));
    // The centre lies on the chord's perpendicular bisector, left of the chord for a
    // counter-clockwise arc below a half turn (cos of half the sweep turns negative above).
    AcGeVector2d dir = (b - a) * (1 / chord);
    AcGeVector2d left(-dir.y, dir.x);
    AcGePoint2d mid((a.x + b.x) / 2, (a.y + b.y) / 2);
    double offset = radius * std::cos(sweep / 2) * (bulge > 0 ? 1 : -1);
    AcGePoint2d c = mid + left * offset;
    return {c, radius, std::atan2(a.y - c.y, a.x - c.x), sweep};
}
}  // namespace

double bulgeSegmentArea(const AcGePoint2d& a, const AcGePoint2d& b, double bulge) {
    if (std::fabs(bulge) < 1e-12 || a.distanceTo(b) < 1e-12) return 0;
    ArcGeometry g = arcOf(a, b, bulge);
    double s = std::fabs(g.sweep);
    double area = g.radius * g.radius / 2 * (s - std::sin(s));
    return bulge > 0 ? area : -area;
}

AcDbArc* bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, double elevation,
                  const AcGeVector3d& normal, double thickness) {
    ArcGeometry g = arcOf(a, b, bulge);
    double start = g.start, end = g.start + g.sweep;
    if (g.sweep < 0) std::swap(start, end);
    auto* arc = new AcDbArc();
    arc->setNormal(normal);
    arc->setCenter(AcGeMatrix3d::planeToWorld(normal) *
                   AcGePoint3d(g.center.x, g.center.y, elevation));
    arc->setRadius(g.radius);
    arc->setStartAngle(start);
    arc->setEndAngle(end);
    arc->setThickness(thickness);
    return arc;
}

void appendBulgePoints(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, int perCircle,
                       std::vector<AcGePoint2d>& out) {
    if (std::fabs(bulge) < 1e-12 || a.distanceTo(b) < 1e-12) {
        out.push_back(b);
        return;
    }
    ArcGeometry g = arcOf(a, b, bulge);
    int n = std::max(2, static_cast<int>(std::ceil(std::fabs(g.sweep) / (2 * M_PI) * perCircle)));
    for (int i = 1; i < n; ++i) {
        double t = g.start + g.sweep * i / n;
        out.push_back({g.center.x + g.radius * std::cos(t), g.center.y + g.radius * std::sin(t)});
    }
    out.push_back(b);
}

}  // namespace solx::db
