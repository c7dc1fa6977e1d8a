#!/usr/bin/python3
"""Writes the sun reference tables the sun tests compare against, from PyEphem (an
independent implementation: VSOP87 + its own nutation, aberration and Delta-T).

Run with Debian's interpreter:  /usr/bin/python3 tests/siblings/make_sun_reference.py
Outputs (next to this script):
  sun_positions.csv  city,lat,lon,utc,declination,solar_hours,altitude,azimuth_south_west
  sun_days.csv       date,declination_bj_noon,eot_minutes
  sun_curves.csv     city,lat,lon,date,solar_hours,altitude,azimuth_south_west
  solar_terms.csv    year,index,beijing_time  (大寒 index 1 and 冬至 index 23, 1950-2050;
                     all 24 terms of 1950, 2000, 2026 and 2050)
Angles in degrees; refraction off (pressure 0); azimuth from south, west positive.
"""
import csv
import math
import os

import ephem

HERE = os.path.dirname(os.path.abspath(__file__))
DEG = math.pi / 180

CITIES = [  # name, latitude, longitude (spread over China's latitudes and longitudes)
    ("Harbin", 45.80, 126.53), ("Beijing", 39.90, 116.40), ("Shanghai", 31.23, 121.47),
    ("Guangzhou", 23.13, 113.26), ("Sanya", 18.25, 109.51), ("Urumqi", 43.83, 87.62),
    ("Lhasa", 29.65, 91.13), ("Kunming", 25.04, 102.71), ("Mohe", 52.97, 122.54),
]
DATES = ["2026/01/20", "2026/12/22", "2026/03/20", "2026/06/21", "2026/09/23", "2026/11/03",
         "1950/01/20", "1985/07/04", "2000/02/11", "2049/12/21", "2099/05/15", "1901/10/10"]


def observer(lat, lon):
    o = ephem.Observer()
    o.lat, o.lon = str(lat), str(lon)
    o.elevation = 0
    o.pressure = 0  # no refraction
    return o


def azimuth_south_west(az_north_east):
    return (math.degrees(az_north_east) - 180 + 180) % 360 - 180


def geo_sun(date):
    s = ephem.Sun()
    s.compute(date)
    return s


def equation_of_time_minutes(date):
    """Apparent minus mean solar time at Greenwich."""
    o = observer(0.0, 0.0)
    o.date = date
    s = ephem.Sun()
    s.compute(o)
    ha = (o.sidereal_time() - s.g_ra) / DEG / 15  # hours
    ut_hours = (ephem.Date(date) - ephem.Date(int(ephem.Date(date) - 0.5) + 0.5)) * 24
    return ((ha + 12 - ut_hours + 12) % 24 - 12) * 60


def position(lat, lon, date):
    o = observer(lat, lon)
    o.date = date
    s = ephem.Sun()
    s.compute(o)
    ha = ((o.sidereal_time() - s.ra) / DEG + 180) % 360 - 180
    return s, 12 + ha / 15


def write_positions():
    with open(os.path.join(HERE, "sun_positions.csv"), "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["city", "lat", "lon", "utc", "declination", "solar_hours", "altitude",
                    "azimuth_south_west"])
        for name, lat, lon in CITIES:
            for d in DATES:
                for ut in range(0, 24, 2):
                    date = ephem.Date(d) + ut / 24.0
                    s, hours = position(lat, lon, date)
                    w.writerow([name, lat, lon, str(ephem.Date(date)), "%.7f" % (s.dec / DEG),
                                "%.7f" % hours, "%.7f" % (s.alt / DEG),
                                "%.7f" % azimuth_south_west(s.az)])


def write_days():
    with open(os.path.join(HERE, "sun_days.csv"), "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["date", "declination_bj_noon", "eot_minutes"])
        for year in (1900, 1950, 2000, 2026, 2050, 2100):
            for day in range(0, 366, 9):
                date = ephem.Date("%d/01/01 04:00" % year) + day  # 12:00 Beijing = 04:00 UTC
                y, m, dd = ephem.Date(date).triple()
                s = geo_sun(date)
                w.writerow(["%d-%02d-%02d" % (y, m, int(dd)), "%.7f" % (s.g_dec / DEG),
                            "%.5f" % equation_of_time_minutes(date)])


def instant_of_solar_time(lat, lon, date_text, hours):
    """The UT instant at which the place's true solar time is `hours` on that Beijing date."""
    date = ephem.Date(date_text) + (hours - lon / 15.0) / 24.0
    for _ in range(4):
        _, h = position(lat, lon, date)
        date = ephem.Date(date + (hours - h) / 24.0)
    return date


def write_curves():
    with open(os.path.join(HERE, "sun_curves.csv"), "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["city", "lat", "lon", "date", "solar_hours", "altitude",
                    "azimuth_south_west"])
        for name, lat, lon in CITIES:
            for d in DATES:
                for k in range(0, 17):
                    hours = 8 + k * 0.5
                    s, _ = position(lat, lon, instant_of_solar_time(lat, lon, d, hours))
                    w.writerow([name, lat, lon, d.replace("/", "-"), hours,
                                "%.7f" % (s.alt / DEG), "%.7f" % azimuth_south_west(s.az)])


def apparent_longitude(date):
    s = geo_sun(date)
    t = (ephem.Date(date) - ephem.Date("2000/01/01 12:00")) / 36525.0
    omega = (125.04452 - 1934.136261 * t) * DEG
    eps = (23.439291 - 0.0130042 * t + 0.00256 * math.cos(omega)) * DEG  # true obliquity
    ra, dec = float(s.g_ra), float(s.g_dec)
    lon = math.atan2(math.sin(ra) * math.cos(eps) + math.tan(dec) * math.sin(eps), math.cos(ra))
    return (lon / DEG) % 360


def term_instant(year, index):
    target = (285 + 15 * index) % 360
    date = ephem.Date("%d/01/05 12:00" % year) + index * 365.2422 / 24
    for _ in range(30):
        step = ((target - apparent_longitude(date) + 180) % 360 - 180) * 365.2422 / 360
        date = ephem.Date(date + step)
        if abs(step) < 1e-8:
            break
    return date


def write_terms():
    with open(os.path.join(HERE, "solar_terms.csv"), "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["year", "index", "beijing_time"])
        for year in range(1950, 2051):
            indices = range(24) if year in (1950, 2000, 2026, 2050) else (1, 23)
            for index in indices:
                bj = ephem.Date(term_instant(year, index) + 8 / 24.0)
                y, m, d, hh, mm, ss = bj.tuple()
                w.writerow([year, index, "%d-%02d-%02d %02d:%02d:%02d" % (
                    y, m, d, hh, mm, int(ss))])


if __name__ == "__main__":
    write_positions()
    write_days()
    write_curves()
    write_terms()
