#include <cmath>

#include "ShadowPolyTest.h"

namespace shadowtest {

double RingArea(const AcDbRegionRing& ring) {
    double twice = 0.0;
    for (size_t i = 0, n = ring.size(); i < n; ++i)
        twice += ring[i].x * ring[(i + 1) % n].y - ring[(i + 1) % n].x * ring[i].y;
    return twice / 2;
}

double ShapeArea(const SolxShadowShape& shape) {
    double area = 0.0;
    for (const AcDbRegionPolygon& p : shape) {
        area += RingArea(p.outer);
        for (const AcDbRegionRing& hole : p.holes) area += RingArea(hole);
    }
    return area;
}

AcGePoint2d ShapeCentroid(const SolxShadowShape& shape) {
    double area = 0.0, cx = 0.0, cy = 0.0;
    auto add = [&](const AcDbRegionRing& ring) {
        for (size_t i = 0, n = ring.size(); i < n; ++i) {
            const AcGePoint2d& a = ring[i];
            const AcGePoint2d& b = ring[(i + 1) % n];
            const double w = a.x * b.y - b.x * a.y;
            area += w / 2;
            cx += (a.x + b.x) * w / 6;
            cy += (a.y + b.y) * w / 6;
        }
    };
    for (const AcDbRegionPolygon& p : shape) {
        add(p.outer);
        for (const AcDbRegionRing& hole : p.holes) add(hole);
    }
    return {cx / area, cy / area};
}

std::string FormProblem(const SolxShadowShape& shape) {
    for (size_t k = 0; k < shape.size(); ++k) {
        const auto& p = shape[k];
        std::vector<const AcDbRegionRing*> rings{&p.outer};
        for (const auto& hole : p.holes) rings.push_back(&hole);
        for (size_t r = 0; r < rings.size(); ++r) {
            const AcDbRegionRing& ring = *rings[r];
            const std::string where = "polygon " + std::to_string(k) + " ring " + std::to_string(r);
            if (ring.size() < 3) return where + " has fewer than 3 points";
            for (const AcGePoint2d& q : ring)
                if (!std::isfinite(q.x) || !std::isfinite(q.y)) return where + " is not finite";
            if (ring.front().x == ring.back().x && ring.front().y == ring.back().y)
                return where + " repeats its closing point";
            if ((RingArea(ring) > 0) != (r == 0)) return where + " runs the wrong way round";
        }
    }
    return {};
}

}  // namespace shadowtest
