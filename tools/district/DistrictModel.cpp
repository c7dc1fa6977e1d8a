#include "DistrictModel.h"

#include <cmath>
#include <numbers>
#include <random>
#include <string>

namespace district {
namespace {

constexpr double kPlotX = 80000.0;  // plot pitch east-west
constexpr double kPlotY = 75000.0;  // plot pitch north-south
constexpr double kDepth = 12000.0;  // slab depth
constexpr double kRoofRise = 3000.0;

VxGePoint Local(const VxGePoint& centre, double angle, double u, double v, double z) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {centre.x + u * c - v * s, centre.y + u * s + v * c, z};
}

// Windows of one long facade: the wall from a to b (outline order), wall direction angle.
void AddFacadeWindows(const Options& o, const Slab& slab, int building, const VxGePoint& a,
                      const VxGePoint& b, double angle, int& number, District& out) {
    const double length = a.Distance2d(b);
    const int count = static_cast<int>(std::floor(length / o.windowSpacing));
    const double first = 0.5 * (length - (count - 1) * o.windowSpacing);
    for (int k = 0; k < count; ++k, ++number) {
        const double s = (first + k * o.windowSpacing) / length;
        for (int floor = 1; floor <= slab.floors; ++floor) {
            SolxWindowBlock w;
            w.insertion = {a.x + s * (b.x - a.x), a.y + s * (b.y - a.y),
                           slab.elevation + (floor - 1) * o.floorHeight + o.sillAboveFloor};
            w.rotation = std::remainder(angle, 2.0 * std::numbers::pi);
            if (w.rotation < 0.0) w.rotation += 2.0 * std::numbers::pi;
            w.width = o.windowWidth;
            w.depth = o.wallDepth;
            w.height = o.windowHeight;
            w.floor = floor;
            w.number = number;
            w.label = std::to_wstring(building + 1) + L"-" + std::to_wstring(number);
            out.windows.push_back(w);
        }
    }
}

// A pitched roof along the slab: two sloping quads and two gable triangles.
void AddRoof(const Slab& slab, District& out) {
    const std::vector<VxGePoint>& q = slab.outline;
    const double top = slab.elevation + slab.height;
    auto at = [&](const VxGePoint& p, double z) { return VxGePoint{p.x, p.y, z}; };
    auto mid = [&](const VxGePoint& p, const VxGePoint& r) {
        return VxGePoint{0.5 * (p.x + r.x), 0.5 * (p.y + r.y), top + kRoofRise};
    };
    const VxGePoint r0 = mid(q[0], q[3]), r1 = mid(q[1], q[2]);
    out.roofFaces.push_back({{at(q[0], top), at(q[1], top), r1, r0}, 4});
    out.roofFaces.push_back({{at(q[2], top), at(q[3], top), r0, r1}, 4});
    out.roofFaces.push_back({{at(q[1], top), at(q[2], top), r1, r1}, 3});
    out.roofFaces.push_back({{at(q[3], top), at(q[0], top), r0, r0}, 3});
}

}  // namespace

District MakeDistrict(const Options& o) {
    District out;
    std::mt19937 rng(o.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(o.buildings))));
    int number = 1;
    for (int i = 0; i < o.buildings; ++i) {
        const VxGePoint centre{(i % columns) * kPlotX + (unit(rng) - 0.5) * 8000.0,
                               (i / columns) * kPlotY + (unit(rng) - 0.5) * 8000.0, 0.0};
        // Mostly south-facing slabs turned up to 35 degrees, every fifth one turned east-west.
        double angle = (unit(rng) - 0.5) * 70.0 * std::numbers::pi / 180.0;
        const bool turned = i % 5 == 4;
        if (turned) angle += 0.5 * std::numbers::pi;
        // Turned slabs stay shorter: the plots are closer north-south than east-west.
        const double length = 30000.0 + std::floor(unit(rng) * (turned ? 2.0 : 5.0)) * 7200.0;
        Slab slab;
        slab.floors = 3 + static_cast<int>(unit(rng) * 12.0);
        slab.height = slab.floors * o.floorHeight;
        for (auto [u, v] : {std::pair{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}})
            slab.outline.push_back(Local(centre, angle, u * length, v * kDepth, 0.0));
        number = 1;
        const std::vector<VxGePoint>& q = slab.outline;
        AddFacadeWindows(o, slab, i, q[0], q[1], angle, number, out);
        AddFacadeWindows(o, slab, i, q[2], q[3], angle + std::numbers::pi, number, out);
        if (i % 4 == 1) AddRoof(slab, out);
        out.slabs.push_back(std::move(slab));
    }
    return out;
}

}  // namespace district
