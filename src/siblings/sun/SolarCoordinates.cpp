// The apparent sun (Meeus ch. 25 "higher accuracy") and the solar terms.
#include "solx/SolxSolar.h"

#include "sun/Vsop87Earth.h"

#include <cmath>
#include <numbers>

namespace solx::sun {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kArcsec = 1.0 / 3600.0;
constexpr double kJ2000 = 2451545.0;
constexpr double kTropicalYear = 365.2422;

double Wrap360(double deg) {
    const double r = std::fmod(deg, 360.0);
    return r < 0 ? r + 360.0 : r;
}

// Wraps to [-180, 180).
double Wrap180(double deg) {
    return Wrap360(deg + 180.0) - 180.0;
}

struct Nutation {
    double longitude;  // delta psi, degrees
    double obliquity;  // delta epsilon, degrees
};

// Meeus ch. 22, the four largest terms: 0.5" in longitude, 0.1" in obliquity.
Nutation NutationAt(double t) {
    const double omega = (125.04452 - 1934.136261 * t) * kDeg;
    const double l = (280.4665 + 36000.7698 * t) * kDeg;
    const double lm = (218.3165 + 481267.8813 * t) * kDeg;
    const double dpsi = -17.20 * std::sin(omega) - 1.32 * std::sin(2 * l) -
                        0.23 * std::sin(2 * lm) + 0.21 * std::sin(2 * omega);
    const double deps = 9.20 * std::cos(omega) + 0.57 * std::cos(2 * l) + 0.10 * std::cos(2 * lm) -
                        0.09 * std::cos(2 * omega);
    return {dpsi * kArcsec, deps * kArcsec};
}

double MeanObliquity(double t) {
    const double arcsec = 21.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t;
    return 23.0 + 26.0 / 60.0 + arcsec * kArcsec;
}

// Geometric mean longitude of the sun (Meeus 28.2), degrees.
double MeanLongitude(double tau) {
    return Wrap360(280.4664567 + 360007.6982779 * tau + 0.03032028 * tau * tau +
                   tau * tau * tau / 49931 - tau * tau * tau * tau / 15300 -
                   tau * tau * tau * tau * tau / 2000000);
}

double DecimalYear(double jd) {
    int y = 0, m = 0, d = 0;
    double f = 0;
    CalendarDate(jd, y, m, d, f);
    return y + (m - 0.5) / 12.0;
}

}  // namespace

ApparentSun SunAtJde(double jde) {
    const double tau = (jde - kJ2000) / 365250.0;
    const double t = tau * 10.0;
    const HelioEarth earth = EarthHeliocentric(tau);
    double theta = Wrap360(earth.longitude / kDeg + 180.0);
    double beta = -earth.latitude / kDeg;
    // Conversion from the dynamical ecliptic of VSOP87 to FK5.
    const double lp = (theta - 1.397 * t - 0.00031 * t * t) * kDeg;
    theta += -0.09033 * kArcsec;
    beta += 0.03916 * (std::cos(lp) - std::sin(lp)) * kArcsec;
    const Nutation nut = NutationAt(t);
    const double aberration = -20.4898 * kArcsec / earth.radius;
    const double lambda = Wrap360(theta + nut.longitude + aberration);
    const double eps = (MeanObliquity(t) + nut.obliquity) * kDeg;
    const double lr = lambda * kDeg, br = beta * kDeg;
    const double alpha =
        std::atan2(std::sin(lr) * std::cos(eps) - std::tan(br) * std::sin(eps), std::cos(lr));
    const double delta =
        std::asin(std::sin(br) * std::cos(eps) + std::cos(br) * std::sin(eps) * std::sin(lr));
    ApparentSun sun{};
    sun.longitude = lambda;
    sun.rightAscension = Wrap360(alpha / kDeg);
    sun.declination = delta / kDeg;
    // Meeus 28.3: E = L0 - 0.0057183 - alpha + dpsi cos(eps), in degrees, 4 min per degree.
    sun.equationOfTime = Wrap180(MeanLongitude(tau) - 0.0057183 - sun.rightAscension +
                                 nut.longitude * std::cos(eps)) *
                         4.0;
    sun.distance = earth.radius;
    return sun;
}

ApparentSun SunAtJd(double jdUt) {
    return SunAtJde(jdUt + DeltaT(DecimalYear(jdUt)) / 86400.0);
}

double TermLongitude(int index) {
    return Wrap360(285.0 + 15.0 * index);
}

double TermInstantJd(int year, int index) {
    const double target = TermLongitude(index);
    // Start from the mean date: 小寒 falls near January 5.5, the rest follow every 15.2 days.
    double jde = JulianDay(year, 1, 5.5) + index * kTropicalYear / kTermCount;
    for (int i = 0; i < 20; ++i) {
        const double step = Wrap180(target - SunAtJde(jde).longitude) * kTropicalYear / 360.0;
        jde += step;
        if (std::fabs(step) < 1e-7) break;
    }
    return jde - DeltaT(year + (index + 0.5) / kTermCount) / 86400.0;
}

}  // namespace solx::sun
