#pragma once
// A named group of obstructions (prism buildings and loose faces) with a spatial index, answering
// "is this point in the shadow of the group for light travelling along this ray?".

#include <memory>
#include <string>
#include <vector>

#include "brel/VxGePointDir2d.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunSample.h"

class SolxWinSunlightInfo;
class SolxShadowScene;
class SolxTimeList;

// What a point evaluation needs of the analysis settings: the period and the sun at each of
// its samples (taken once for all points), and how far in plan a facade point may stand from
// the wall it belongs to (that wall does not shade the point while the sun is in front of it).
struct SolxCalSetting {
    SolxSunSetting sun;
    std::vector<SolxSunSample> samples;
    double wallTolerance = 1e-3;

    SolxCalSetting() = default;
    SolxCalSetting(const SolxSunSetting& setting, double tolerance)
        : sun(setting), samples(SampleSun(setting)), wallTolerance(tolerance) {}
};

class SolxBuildingEx {
public:
    explicit SolxBuildingEx(int mode = 1);
    ~SolxBuildingEx();
    SolxBuildingEx(const SolxBuildingEx&) = delete;
    SolxBuildingEx& operator=(const SolxBuildingEx&) = delete;

    void SetName(const std::wstring& name) { m_strName = name; }
    const std::wstring& GetName() const { return m_strName; }

    // Appends an obstruction (the group owns it); call CalExtend3D after the last one.
    void AddBuilding(std::unique_ptr<SolxBuilding> building);
    void AddSource(std::unique_ptr<SolxShadowSource> source);

    // The lists obstruction selection fills; call CalExtend3D after changing them.
    SolxBuildingList& Buildings() { return m_buildings; }
    const SolxBuildingList& Buildings() const { return m_buildings; }
    SolxShadowSourceList& Sources() { return m_sources; }
    const SolxShadowSourceList& Sources() const { return m_sources; }

    // Builds the 3D extent and the spatial index of the current lists. Invalid buildings and
    // empty sources are left out.
    void CalExtend3D();

    // Non-zero when light travelling along ray (pointing away from the sun, any length) is
    // blocked before it reaches point by a building or face of the group. A sun at or below the
    // horizon counts as blocked. window, when given, is the window the point belongs to: the
    // wall it sits in does not shade its own test points while the sun is in front of it.
    // Builds the index first when CalExtend3D has not been called.
    int IsPointShadowed(const VxGePoint& point, const VxGePoint& ray,
                        const SolxWinSunlightInfo* window) const;

    // The sunlit periods of a point over the samples of a period (SolxSunlitRun): a sample is
    // lit when the group does not shade the point. Every point analysis goes through here or
    // through SolxSunlitRun with its own test, so that all of them sample alike.
    std::vector<VxGePoint> SunlitPeriods(const VxGePoint& point,
                                         const std::vector<SolxSunSample>& samples, int startMinute,
                                         int endMinute, int stepMinutes) const;

    // The sunlight of one facade point: sample.direction is the plan angle the facade faces. A
    // sample is dark when the sun stands behind the facade (its light comes from behind the
    // facade plane) or when the group shades the point; the wall the point stands on (parallel
    // to the facade, within setting.wallTolerance in plan) does not count, as for a window's
    // test point. timeList gets the counted periods of the current standard. Non-zero when the
    // period has samples.
    int CalSinglePoint(const SolxCalSetting& setting, const VxGePointDir2d& sample,
                       SolxTimeList& timeList) const;

    // With the index off every obstruction is tested (for comparison and checking).
    void SetUseIndex(bool use);
    int GetMode() const { return m_nMode; }
    bool GetUseIndex() const { return m_bUseIndex; }

private:
    std::wstring m_strName;
    int m_nMode = 1;
    bool m_bUseIndex = true;
    SolxBuildingList m_buildings;
    SolxShadowSourceList m_sources;
    mutable std::unique_ptr<SolxShadowScene> m_scene;
};
