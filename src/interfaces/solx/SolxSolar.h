#pragma once
// Apparent solar coordinates and the solar terms, from the truncated VSOP87 theory of the
// Earth with nutation, aberration and the FK5 correction (Meeus, Astronomical Algorithms,
// ch. 22, 25, 28, 32). Accuracy over 1900-2100: apparent longitude ~1", declination better
// than 0.001 deg, equation of time ~1 s; solar-term instants within a minute (Delta-T from
// the Espenak-Meeus polynomials dominates the error).

namespace solx::sun {

// Julian day (UT or TT as given) of a Gregorian calendar date; day may carry a fraction.
double JulianDay(int year, int month, double day);
// Inverse of JulianDay: calendar date of a Julian day; dayFraction is the part after 0h.
void CalendarDate(double jd, int& year, int& month, int& day, double& dayFraction);
// TT - UT in seconds for a decimal year (polynomials valid 1860-2150).
double DeltaT(double decimalYear);

struct ApparentSun {
    double longitude;       // apparent ecliptic longitude, degrees [0, 360)
    double rightAscension;  // apparent right ascension, degrees [0, 360)
    double declination;     // apparent declination, degrees
    double equationOfTime;  // apparent minus mean solar time, minutes
    double distance;        // Earth-Sun distance, AU
};

// The apparent sun at a dynamical-time Julian day (JDE).
ApparentSun SunAtJde(double jde);
// The apparent sun at a universal-time Julian day (Delta-T added internally).
ApparentSun SunAtJd(double jdUt);

// Number of solar terms in a year; index 0 is 小寒 (apparent longitude 285 deg), index i has
// longitude 285 + 15 i (mod 360), so a calendar year holds them in index order.
constexpr int kTermCount = 24;
double TermLongitude(int index);
// The universal-time Julian day of solar term `index` in Gregorian `year`.
double TermInstantJd(int year, int index);

// Beijing time (UTC+8) offset in days.
constexpr double kBeijingOffsetDays = 8.0 / 24.0;

}  // namespace solx::sun
