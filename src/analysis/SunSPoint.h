#pragma once
// The single-point analysis ("VxSunSPoint"): the obstruction group prepared once per run, the
// sunlit periods of one point through the shared sampling, and the texts of a result.

#include <string>
#include <vector>

#include "SolxFrame.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxObjInfo.h"

// The obstructions and the sun of one run. Construction takes over the selected lists, leaves
// out invalid buildings and empty sources (they shade nothing) and builds the spatial index
// once; every point then costs only its shadow tests.
class SPointEvaluator {
public:
    SPointEvaluator(SolxBuildingList buildings, SolxShadowSourceList sources,
                    const SolxSunSetting& setting);

    // Sunlit periods (x = start, y = end in minutes) of a point in world coordinates.
    std::vector<VxGePoint> Periods(const VxGePoint& point) const;

    // True when the point lies inside a valid building (inside its outline, at a height the
    // building fills: SolxBuilding::SpansHeight, as the grid analysis decides): such a point
    // never sees the sun.
    bool InsideBuilding(const VxGePoint& point) const;

    const SolxSunSetting& Setting() const { return m_setting; }
    const std::vector<SolxSunSample>& Samples() const { return m_samples; }
    SolxBuildingEx& Group() { return m_group; }
    const SolxBuildingEx& Group() const { return m_group; }

private:
    SolxSunSetting m_setting;
    std::vector<SolxSunSample> m_samples;
    SolxBuildingEx m_group;
};

// What the user is shown of one point.
struct SPointTexts {
    std::wstring longest;            // longest counted continuous sunlight, "h:mm"
    std::wstring total;              // total counted sunlight, "h:mm"
    std::wstring report;             // the command-line / marker text
    std::vector<IObjInfoUnit> rows;  // the three tip rows
};
SPointTexts MakeSPointTexts(const std::vector<VxGePoint>& periods, int startMinute, int endMinute);

// The header line after the dialog: place, date, whole hours of the period, step and height.
std::wstring SPointHeader(const SolxSunSetting& setting, double height);

// The query mode, kept while the module is loaded (dynamic at load).
bool& SPointDynamicMode();
