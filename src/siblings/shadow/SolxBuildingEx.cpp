#include "solx/SolxBuildingEx.h"

#include <algorithm>
#include <cmath>

#include "ShadowScene.h"
#include "solx/SolxTimeList.h"
#include "solx/SolxWinSunlightInfo.h"

SolxBuildingEx::SolxBuildingEx(int mode) : m_nMode(mode) {}

SolxBuildingEx::~SolxBuildingEx() = default;

void SolxBuildingEx::SetUseIndex(bool use) {
    m_bUseIndex = use;
}

void SolxBuildingEx::CalExtend3D() {
    m_scene = std::make_unique<SolxShadowScene>();
    for (const auto& building : m_buildings) {
        if (building && building->IsValid())
            m_scene->AddPrism(building->Outline(), building->Elevation(), building->Top());
    }
    for (const auto& source : m_sources) {
        if (!source) continue;
        for (const SolxFace3d& face : source->Faces()) m_scene->AddFace(face);
    }
    m_scene->Build();
}

int SolxBuildingEx::IsPointShadowed(const VxGePoint& point, const VxGePoint& ray,
                                    const SolxWinSunlightInfo* window) const {
    if (!m_scene) const_cast<SolxBuildingEx*>(this)->CalExtend3D();
    static const std::vector<SolxOwnWall> kNone;
    const std::vector<SolxOwnWall>* own = &kNone;
    if (window) {
        // Light reaching the window from in front leaves (seen from the point) through the
        // window's own wall: that wall must not count as an obstruction.
        const VxGePoint& n = window->OutwardNormal();
        if (-ray.x * n.x - ray.y * n.y > 0.0) {
            const SolxWindowBlock& block = window->Block();
            const double tol = std::max(std::abs(block.depth), 1e-3);
            own = &m_scene->FindWallsCached(block.insertion, block.rotation, tol);
        }
    }
    return m_scene->IsBlocked(point, ray, m_bUseIndex, *own) ? 1 : 0;
}

void SolxBuildingEx::AddBuilding(std::unique_ptr<SolxBuilding> building) {
    if (building) m_buildings.push_back(std::move(building));
}

void SolxBuildingEx::AddSource(std::unique_ptr<SolxShadowSource> source) {
    if (source) m_sources.push_back(std::move(source));
}

std::vector<VxGePoint> SolxBuildingEx::SunlitPeriods(const VxGePoint& point,
                                                     const std::vector<SolxSunSample>& samples,
                                                     int startMinute, int endMinute,
                                                     int stepMinutes) const {
    SolxSunlitRun run(startMinute, endMinute, stepMinutes);
    for (const SolxSunSample& sample : samples)
        run.Add(sample.minute, IsPointShadowed(point, sample.Ray(), nullptr) == 0);
    return run.Finish();
}

int SolxBuildingEx::CalSinglePoint(const SolxCalSetting& setting, const VxGePointDir2d& sample,
                                   SolxTimeList& timeList) const {
    if (!m_scene) const_cast<SolxBuildingEx*>(this)->CalExtend3D();
    const VxGePoint point = sample.Point();
    const double nx = std::cos(sample.direction), ny = std::sin(sample.direction);
    // The wall runs a quarter turn from the facing direction.
    const std::vector<SolxOwnWall> own =
        m_scene->FindWalls(point, sample.direction + 1.5707963267948966, setting.wallTolerance);
    const SolxSunSetting& sun = setting.sun;
    SolxSunlitRun run(sun.startMinute, sun.endMinute, sun.stepMinutes);
    for (const SolxSunSample& s : setting.samples) {
        const VxGePoint ray = s.Ray();
        // Light from in front of the facade travels against its outward normal.
        const bool inFront = -ray.x * nx - ray.y * ny >= 0.0;
        const bool lit = inFront && !m_scene->IsBlocked(point, ray, m_bUseIndex, own);
        run.Add(s.minute, lit);
    }
    timeList = SolxTimeList(run.Finish(), sun.startMinute, sun.endMinute);
    return setting.samples.empty() ? 0 : 1;
}
