#pragma once
// A named group of obstructions (prism buildings and loose faces) with a spatial index, answering
// "is this point in the shadow of the group for light travelling along this ray?".

#include <memory>
#include <string>
#include <vector>

#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunSample.h"

class SolxWinSunlightInfo;
class SolxShadowScene;

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
