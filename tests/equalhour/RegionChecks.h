#pragma once
// Point-in-region and distance-to-outline checks shared by the micro-region tests: a ray-cast
// point's side of a level is judged against the method's outlines, away from the outline itself.

#include <algorithm>
#include <cmath>
#include <vector>

#include "brel/VxGeometry.h"

namespace region_checks {

inline bool InAny(const std::vector<VxGeRegion2d>& regions, const VxGePoint& p) {
    return std::any_of(regions.begin(), regions.end(),
                       [&](const VxGeRegion2d& r) { return r.Contains(p); });
}

// The distance from p to the nearest edge of any ring (outer or hole) of the regions.
inline double DistanceToRings(const std::vector<VxGeRegion2d>& regions, const VxGePoint& p) {
    double best = 1e300;
    for (const VxGeRegion2d& r : regions) {
        std::vector<const VxGePolyline2d*> rings{&r.outer};
        for (const auto& h : r.holes) rings.push_back(&h);
        for (const VxGePolyline2d* ring : rings) {
            std::vector<VxGeLineSeg2d> segments;
            ExplodePoly2D(*ring, segments);
            for (const VxGeLineSeg2d& s : segments) {
                const double dx = s.end.x - s.start.x, dy = s.end.y - s.start.y;
                const double len2 = dx * dx + dy * dy;
                double t = len2 > 0 ? ((p.x - s.start.x) * dx + (p.y - s.start.y) * dy) / len2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                best =
                    std::min(best, std::hypot(p.x - s.start.x - t * dx, p.y - s.start.y - t * dy));
            }
        }
    }
    return best;
}

}  // namespace region_checks
