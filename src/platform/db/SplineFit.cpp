#include "db/SplineFit.h"

#include <algorithm>

namespace solx::db {

namespace {

// de Boor's algorithm at parameter t in span [knots[s], knots[s+1]).
AcGePoint3d deBoor(const std::vector<AcGePoint3d>& p, const std::vector<double>& knots, int order,
                   double t) {
    int k = order;
    int s = k - 1;
    while (s + 1 < static_cast<int>(p.size()) && t >= knots[static_cast<size_t>(s + 1)]) ++s;
    std::vector<AcGePoint3d> d(static_cast<size_t>(k));
    for (int j = 0; j < k; ++j) d[static_cast<size_t>(j)] = p[static_cast<size_t>(j + s - k + 1)];
    for (int r = 1; r < k; ++r)
        for (int j = k - 1; j >= r; --j) {
            int i = j + s - k + 1;
            double den = knots[static_cast<size_t>(i + k - r)] - knots[static_cast<size_t>(i)];
            double a = den == 0 ? 0 : (t - knots[static_cast<size_t>(i)]) / den;
            auto& dj = d[static_cast<size_t>(j)];
            const auto& dp = d[static_cast<size_t>(j - 1)];
            dj = AcGePoint3d(dp.x + a * (dj.x - dp.x), dp.y + a * (dj.y - dp.y),
                             dp.z + a * (dj.z - dp.z));
        }
    return d[static_cast<size_t>(k - 1)];
}

}  // namespace

std::vector<AcGePoint3d> bsplinePoints(const std::vector<AcGePoint3d>& control, int order,
                                       int segmentsPerSpan, bool closed) {
    int n = static_cast<int>(control.size());
    if (n < 2) return {};
    int k = std::clamp(order, 2, closed ? std::max(2, n) : n);
    segmentsPerSpan = std::max(1, segmentsPerSpan);
    std::vector<AcGePoint3d> p = control;
    std::vector<double> knots;
    double t0, t1;
    if (closed) {
        for (int i = 0; i < k - 1; ++i) p.push_back(control[static_cast<size_t>(i)]);
        for (int i = 0; i < static_cast<int>(p.size()) + k; ++i) knots.push_back(i);
        t0 = k - 1, t1 = static_cast<double>(p.size());
    } else {
        for (int i = 0; i < k; ++i) knots.push_back(0);
        for (int i = 1; i <= n - k; ++i) knots.push_back(i);
        for (int i = 0; i < k; ++i) knots.push_back(n - k + 1);
        t0 = 0, t1 = n - k + 1;
    }
    int steps = static_cast<int>((t1 - t0) * segmentsPerSpan);
    std::vector<AcGePoint3d> out;
    for (int i = 0; i <= steps; ++i) {
        if (closed && i == steps) break;
        double t = t0 + (t1 - t0) * i / steps;
        out.push_back(i == steps ? control.back() : deBoor(p, knots, k, std::min(t, t1 - 1e-12)));
    }
    return out;
}

}  // namespace solx::db
