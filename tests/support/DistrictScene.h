#pragma once
// Scenes for the grid and point tests: Beijing on a winter day, and a generated district as
// prism buildings plus its roofs as one face source, with the plan box of the buildings.

#include <algorithm>
#include <memory>

#include "DistrictModel.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunSample.h"

namespace solx::testing {

inline SolxSunSetting WinterDay(int startMinute, int endMinute, int stepMinutes) {
    SolxSunSetting s;
    s.longitude = 116.4;
    s.latitude = 39.9;
    s.declination = -20.2;
    s.startMinute = startMinute;
    s.endMinute = endMinute;
    s.stepMinutes = stepMinutes;
    return s;
}

struct DistrictScene {
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
};

// The generator is deterministic: the same count and seed give the same scene.
inline DistrictScene SceneFromDistrict(int count, unsigned seed) {
    district::Options options;
    options.buildings = count;
    options.seed = seed;
    const district::District d = district::MakeDistrict(options);
    DistrictScene scene;
    for (const district::Slab& s : d.slabs) {
        scene.buildings.push_back(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        for (const VxGePoint& p : s.outline) {
            scene.minX = std::min(scene.minX, p.x), scene.maxX = std::max(scene.maxX, p.x);
            scene.minY = std::min(scene.minY, p.y), scene.maxY = std::max(scene.maxY, p.y);
        }
    }
    scene.sources.push_back(std::make_unique<SolxShadowSource>(d.roofFaces));
    return scene;
}

}  // namespace solx::testing
