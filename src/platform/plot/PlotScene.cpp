// The extents of a scene. Texts are measured only after a font is chosen, so their box here is
// an estimate: 0.7 of the height per narrow character and a full height per wide one, taken to
// both sides of the anchor because the alignment may hang the text either way.
#include <algorithm>
#include <cmath>

#include "PlotScene.h"

namespace solx::plot {
namespace {

double EstimatedLength(const std::wstring& text) {
    double units = 0;
    for (wchar_t c : text) units += c >= 0x2E80 ? 1.0 : 0.7;
    return units;
}

void Add(const AcGePoint2d& p, bool& any, AcGePoint2d& lo, AcGePoint2d& hi) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    if (!any) lo = hi = p;
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    any = true;
}

}  // namespace

bool Scene::extents(AcGePoint2d& lo, AcGePoint2d& hi) const {
    bool any = false;
    for (const auto& s : strokes)
        for (const auto& p : s.points) Add(p, any, lo, hi);
    for (const auto& d : dots) Add(d.at, any, lo, hi);
    for (const auto& f : fills)
        for (const auto& ring : f.rings)
            for (const auto& p : ring) Add(p, any, lo, hi);
    for (const auto& l : labels) {
        const AcGeVector2d run = l.fitLength > 0 ? l.along * (l.fitLength / l.along.length())
                                                 : l.along * EstimatedLength(l.text);
        for (double s : {-1.0, 1.0})
            for (double t : {-1.0, 1.0}) Add(l.anchor + run * s + l.up * t, any, lo, hi);
    }
    return any;
}

}  // namespace solx::plot
