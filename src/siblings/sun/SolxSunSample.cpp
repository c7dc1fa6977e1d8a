#include "solx/SolxSunSample.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "solx/SolxSunPlace.h"

AcGeVector3d SunRayVector(double altitude, double azimuth) {
    const double flat = std::cos(altitude);
    const double heading = std::numbers::pi / 2.0 - azimuth;
    return {flat * std::cos(heading), flat * std::sin(heading), -std::sin(altitude)};
}

std::vector<double> SunSampleMinutes(int startMinute, int endMinute, int stepMinutes) {
    std::vector<double> minutes;
    if (stepMinutes <= 0) return minutes;
    for (double t = startMinute; t - endMinute <= 0.001; t += stepMinutes) minutes.push_back(t);
    return minutes;
}

std::vector<SolxSunSample> SampleSun(const SolxSunSetting& setting) {
    std::vector<SolxSunSample> samples;
    for (double t : SunSampleMinutes(setting.startMinute, setting.endMinute, setting.stepMinutes)) {
        SolxSunSample sample;
        sample.minute = t;
        double hourAngle = 0.0;
        getSunPlace(setting.longitude, setting.latitude, setting.declination, t / 60.0,
                    sample.altitude, sample.azimuth, hourAngle);
        sample.ray = SunRayVector(sample.altitude, sample.azimuth);
        samples.push_back(sample);
    }
    return samples;
}

void SolxSunlitRun::Add(double minute, bool lit) {
    if (lit) {
        m_hi = std::min(minute + m_half, m_end);
        return;
    }
    if (m_lo < m_hi) m_periods.emplace_back(m_lo, m_hi, 0.0);
    m_lo = m_hi = minute + m_half;
}

std::vector<VxGePoint> SolxSunlitRun::Finish() {
    if (m_lo < m_hi) m_periods.emplace_back(m_lo, m_hi, 0.0);
    m_lo = m_hi;
    return std::move(m_periods);
}
