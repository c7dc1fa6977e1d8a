#pragma once
// The Earth's heliocentric coordinates from the VSOP87 series as abridged by Meeus
// (Astronomical Algorithms, appendix III): enough for ~1" in the Sun's longitude.

namespace solx::sun {

struct HelioEarth {
    double longitude;  // radians, mean equinox of date
    double latitude;   // radians
    double radius;     // AU
};

// tau: Julian millennia of dynamical time since J2000.0.
HelioEarth EarthHeliocentric(double tau);

}  // namespace solx::sun
