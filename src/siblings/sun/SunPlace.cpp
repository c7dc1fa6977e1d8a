#include "solx/SolxSunPlace.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void getSunPlace(double /*longitude*/, double latitude, double declination, double hours,
                 double& altitude, double& azimuth, double& hourAngle) {
    constexpr double kDeg = std::numbers::pi / 180.0;
    const double phi = latitude * kDeg;
    const double delta = declination * kDeg;
    hourAngle = (hours - 12.0) * 15.0 * kDeg;
    const double sinH =
        std::sin(phi) * std::sin(delta) + std::cos(phi) * std::cos(delta) * std::cos(hourAngle);
    altitude = std::asin(std::clamp(sinH, -1.0, 1.0));
    // atan2 form of the azimuth with the denominator multiplied by cos(delta), so that it
    // stays finite at the poles of the sky as well.
    azimuth = std::atan2(
        std::cos(delta) * std::sin(hourAngle),
        std::cos(delta) * std::cos(hourAngle) * std::sin(phi) - std::sin(delta) * std::cos(phi));
}
