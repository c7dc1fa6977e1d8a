#include "solx/SolxStdSet.h"

#include <cmath>
#include <numbers>

int SolxColorTable::GetTimeColor(double hours) const {
    int color = m_items.empty() ? 7 : m_items.front().color;
    for (const Item& item : m_items)
        if (hours >= item.hours - 1e-9) color = item.color;
    return color;
}

SolxDate SolxStdSet::GetAnalysisDate(int year) const {
    const SolxDate date(year, m_nMonth, m_nDay);
    return m_nTerm >= 0 ? date.GetTermDate(m_nTerm) : date;
}

namespace {

double Bearing(double normalAngle) {
    double bearing = std::fmod(90.0 - normalAngle * 180.0 / std::numbers::pi, 360.0);
    return bearing < 0 ? bearing + 360.0 : bearing;
}

// Clockwise from `from` to `to`, `from` included and `to` excluded; a band of 360 degrees
// or more takes every bearing.
bool InBand(double bearing, const SolxOrientBand& band) {
    if (band.toBearing - band.fromBearing >= 360.0) return true;
    double span = std::fmod(band.toBearing - band.fromBearing, 360.0);
    if (span < 0) span += 360.0;
    double offset = std::fmod(bearing - band.fromBearing, 360.0);
    if (offset < 0) offset += 360.0;
    return offset < span;
}

}  // namespace

VxGePoint SolxStdSet::GetValidTime(double normalAngle) const {
    const double bearing = Bearing(normalAngle);
    for (const SolxOrientBand& band : m_orientTable)
        if (InBand(bearing, band)) return {band.startHour, band.endHour, 0.0};
    return {m_startTime.GetValue(), m_endTime.GetValue(), 0.0};
}
