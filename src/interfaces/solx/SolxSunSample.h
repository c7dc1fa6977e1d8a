#pragma once
// The one sampling rule of every sunlight analysis: the sample times of a period, the sun at
// each of them, and how a run of lit and dark samples becomes sunlit periods.

#include <vector>

#include "acad/acge.h"
#include "brel/VxGePoint.h"

// The eight common analysis parameters (see CDlgSunSetup::GetSunSetting).
struct SolxSunSetting {
    double longitude = 0.0;
    double latitude = 0.0;
    double declination = 0.0;
    double timeCorrection = 0.0;
    int startMinute = 0;
    int endMinute = 0;
    int stepMinutes = 0;
    int noAngleLimit = 0;
};

// Direction in which sunlight travels in plan (x east, y north) for the sun's altitude and
// azimuth (radians, azimuth from south, west positive). Unit length, pointing down while the
// sun is up; its negation points at the sun.
AcGeVector3d SunRayVector(double altitude, double azimuth);

// Sample times of a period: start, start + step, ... up to the first time more than 0.001
// past the end (so the end itself is sampled when the period is whole steps). Empty for a
// step that is not positive.
std::vector<double> SunSampleMinutes(int startMinute, int endMinute, int stepMinutes);

struct SolxSunSample {
    double minute = 0.0;
    double altitude = 0.0;  // radians
    double azimuth = 0.0;   // radians from south, west positive
    AcGeVector3d ray;       // SunRayVector(altitude, azimuth)

    VxGePoint Ray() const { return {ray.x, ray.y, ray.z}; }
};
// The sun at every sample time of the setting's period.
std::vector<SolxSunSample> SampleSun(const SolxSunSetting& setting);

// Turns the answers for the samples of a period, given in time order, into sunlit periods
// (x = start, y = end in minutes, z = 0): each lit sample stands for the cell from half a step
// before to half a step after it, clipped to the period, and adjacent lit cells merge. A lit
// first sample starts its period at the start time; a dark sample ends the open period where
// the last lit cell ended.
class SolxSunlitRun {
public:
    SolxSunlitRun(double startMinute, double endMinute, double stepMinutes)
        : m_end(endMinute), m_half(stepMinutes / 2.0), m_lo(startMinute), m_hi(startMinute) {}
    void Add(double minute, bool lit);
    // The periods so far, with the open one closed. The run is spent afterwards.
    std::vector<VxGePoint> Finish();

private:
    double m_end;
    double m_half;
    double m_lo;
    double m_hi;
    std::vector<VxGePoint> m_periods;
};
