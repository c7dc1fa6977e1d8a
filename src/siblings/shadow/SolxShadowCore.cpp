#include "solx/SolxShadowCore.h"

#include "ShadowScene.h"
#include "solx/SolxBuilding.h"

namespace {

// Below this many obstructions a grid costs more to build than it saves.
constexpr size_t kIndexThreshold = 16;

}  // namespace

int IsShadowByBuilding(const VxGePoint& point, const std::vector<SolxOutline2d>& outlines,
                       const std::vector<VxGePoint>& elevations, const VxGePoint& light) {
    SolxShadowScene scene;
    for (size_t i = 0; i < outlines.size() && i < elevations.size(); ++i) {
        const SolxBuilding building(outlines[i], elevations[i].x, elevations[i].y);
        if (building.IsValid())
            scene.AddPrism(building.Outline(), building.Elevation(), building.Top());
    }
    const bool useIndex = scene.PrismCount() >= kIndexThreshold;
    if (useIndex) scene.Build();
    return scene.IsBlocked(point, light, useIndex, {}) ? 1 : 0;
}

int IsShadowByShape(const VxGePoint& point, const std::vector<SolxFace3d>& faces,
                    const VxGePoint& light) {
    SolxShadowScene scene;
    for (const SolxFace3d& face : faces) scene.AddFace(face);
    const bool useIndex = scene.TriangleCount() >= kIndexThreshold;
    if (useIndex) scene.Build();
    return scene.IsBlocked(point, light, useIndex, {}) ? 1 : 0;
}
