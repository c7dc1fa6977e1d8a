#pragma once
// A sunlight standard: the day, hours and rules an analysis is judged by.

#include <string>
#include <vector>

#include "brel/VxGePoint.h"
#include "solx/SolxDate.h"
#include "solx/SolxDegree.h"

// Colour (colour index) of a sunlight duration: the entry with the largest threshold not
// above the hours.
class SolxColorTable {
public:
    struct Item {
        double hours;
        int color;
    };
    std::vector<Item> m_items;  // ascending thresholds
    int GetTimeColor(double hours) const;
};

// A band of window orientations with its valid part of the day. Bearings are compass
// degrees of the window's outward normal (north 0, east 90, south 180, west 270); the band
// runs clockwise from `fromBearing` to `toBearing` (it may pass north).
struct SolxOrientBand {
    double fromBearing = 0;
    double toBearing = 360;
    double startHour = 8;
    double endHour = 16;
};

// The time step of an analysis: whole minutes in this range, in the standards file, the
// standards manager, the setup dialogs' step field and their spin control alike.
inline constexpr int kStepMinutesMin = 1;
inline constexpr int kStepMinutesMax = 120;
inline bool IsValidStepMinutes(double minutes) {
    return minutes >= kStepMinutesMin && minutes <= kStepMinutesMax &&
           minutes == static_cast<double>(static_cast<int>(minutes));
}

class SolxStdSet {
public:
    std::wstring m_strName;
    int m_nTerm = 1;  // analysis day: solar term index (0 小寒 ... 23 冬至), or -1
    int m_nMonth = 1, m_nDay = 20;  // the fixed analysis day when m_nTerm is -1
    SolxDegree m_startTime{8.0};    // hours, true solar time
    SolxDegree m_endTime{16.0};
    double m_dStep = 1.0;       // minutes, whole (IsValidStepMinutes)
    int m_nEvaluation = 0;      // 0: total effective sunlight; else longest continuous
    int m_bTwoPoint = 0;        // test both ends of the sill instead of its middle
    int m_bAngleLimit = 0;      // window-angle limit on
    int m_nAngleLimit = 0;      // the limit, whole degrees
    double m_dMinPeriod = 0.0;  // minutes: shorter continuous periods are not counted
    double m_dRequired = 2.0;   // hours of sunlight the standard requires
    std::vector<SolxOrientBand> m_orientTable;  // may be empty
    SolxColorTable m_colorTable;

    int GetTimeColor(double hours) const { return m_colorTable.GetTimeColor(hours); }
    // The analysis day of the standard in the given year.
    SolxDate GetAnalysisDate(int year) const;
    // Valid part of the day (x start, y end, hours) for a window whose outward normal has the
    // plan angle `normalAngle` (radians counter-clockwise from east): the first band of the
    // orientation table containing it, else the standard's start and end.
    VxGePoint GetValidTime(double normalAngle) const;
};

// Reads standards from the UTF-8 text format of data/standards.ini; false with a message
// naming file and line on a bad line (the standards read so far are kept).
bool LoadStdSets(const std::wstring& file, std::vector<SolxStdSet>& out, std::wstring& error);
// Writes standards in the same format; false when the file cannot be written.
bool SaveStdSets(const std::wstring& file, const std::vector<SolxStdSet>& stds);
