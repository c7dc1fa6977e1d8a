#pragma once
// Position of the sun in the sky of a place at a given true solar time.

// longitude, latitude: the place in decimal degrees (east and north positive). The longitude
//   does not change the result (the time is already the place's own true solar time); it is
//   accepted so that callers pass the place as a whole.
// declination: the sun's declination in degrees (SolxDate::GetDgLat of the analysis day).
// hours: local true (apparent) solar time in hours, 12 = the sun on the meridian.
// altitude: the sun's geometric altitude above the horizon, radians (no refraction).
// azimuth: radians measured from south, positive towards west, in (-pi, pi]; the direction in
//   which sunlight travels in a plan with x east and y north is
//   (cos(altitude) * sin(azimuth), cos(altitude) * cos(azimuth), -sin(altitude)),
//   i.e. (cos h cos(pi/2 - A), cos h sin(pi/2 - A), -sin h).
// hourAngle (the third value): the hour angle 15 deg * (hours - 12) in radians, west positive.
void getSunPlace(double longitude, double latitude, double declination, double hours,
                 double& altitude, double& azimuth, double& hourAngle);
