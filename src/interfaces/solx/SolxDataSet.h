#pragma once
// The shared analysis settings: standard, place, date, period and step, with the standards
// and the place database behind them. One object, g_SunDataSet, serves every command; it
// travels inside the drawing as the named dictionary g_dictSunSet, and the user's standards
// and added places live in the user settings folder between drawings.

#include <string>
#include <vector>

#include "solx/SolxDate.h"
#include "solx/SolxDegree.h"
#include "solx/SolxStdSet.h"
#include "solx/SolxZoneRecord.h"

class AcDbDatabase;
struct resbuf;

class SolxDataSet {
public:
    // Loads the standards and places (see Reload); always has at least one standard.
    SolxDataSet();

    // Settings edited by the setup dialogs, in this order.
    SolxZoneRecord m_zone;        // the place with its position texts
    std::wstring m_strPlace;      // the place name chosen in the combo
    SolxDegree m_startTime{8.0};  // hours, true solar time
    SolxDegree m_endTime{16.0};
    double m_dStep = 1.0;            // minutes
    SolxDate m_date;                 // the analysis date
    int m_nCurStd = 0;               // index into m_stds
    std::vector<SolxCity> m_cities;  // places offered in the place combo
    int m_nStartHour = 8, m_nStartMinute = 0;
    int m_nEndHour = 16, m_nEndMinute = 0;
    int m_nStep = 1;  // minutes

    std::vector<SolxStdSet> m_stds;
    SolxPlaceBase m_places;

    // The current standard (the first when the index is out of range).
    SolxStdSet& CurStd();
    const SolxStdSet& CurStd() const;
    // The current standard's analysis day in the year of the analysis date m_date. The
    // analysis itself uses m_date (see GetAnalysisDate), which the dialogs set from this.
    SolxDate CurDate() const;
    const SolxDate& GetAnalysisDate() const { return m_date; }

    // Decimal degrees of the zone record's texts.
    double GetLongitude() const { return m_zone.Longitude(); }
    double GetLatitude() const { return m_zone.Latitude(); }
    // Start and end minutes after midnight from the hour and minute fields.
    int GetStartMinute() const { return m_nStartHour * 60 + m_nStartMinute; }
    int GetEndMinute() const { return m_nEndHour * 60 + m_nEndMinute; }
    // The eight common analysis parameters, for the setup dialogs' parameter read: place
    // (decimal degrees), declination (degrees) and equation of time (hours) of the analysis
    // date, start and end minute, step minutes, and 1 when the standard's window-angle limit
    // is off.
    void GetSunSetting(double& longitude, double& latitude, double& declination,
                       double& timeCorrection, int& startMinute, int& endMinute, int& stepMinutes,
                       int& noAngleLimit) const;
    // Takes date, period and step from the current standard.
    void ApplyStdTime();
    // Looks the name up in the place database.
    bool FindZone(const std::wstring& name, SolxZoneRecord& zone) const;
    // Sets place name and zone record from the database; false (nothing changed) if unknown.
    bool SetPlace(const std::wstring& name);

    // The conditions a result table is headed with, e.g. "地点：北京 北纬39°54′ 东经116°24′
    // 日期：2026年1月20日（大寒） 标准：... 时间：8:00～16:00（真太阳时） 计算间隔：1分钟".
    std::wstring GetNoteString() const;

    // The settings as a DXF-coded list (pairs of a 300 key text and a 1 / 40 / 90 value),
    // the content of the drawing's settings record; free with acutRelRb.
    resbuf* ToResbuf() const;
    // Reads such a list; unknown keys are skipped, missing ones keep their value. False when
    // the list has no settings in it.
    bool FromResbuf(const resbuf* list);

    // Store and load the settings in the drawing's named dictionary *dictName (an xrecord
    // "SETTINGS" inside it). db null: the working database. False when there is no database
    // or (load) no stored settings; the object is then unchanged.
    bool SaveSunDataSetDict(const std::wstring* dictName, AcDbDatabase* db = nullptr) const;
    bool LoadSunDataSetDict(const std::wstring* dictName, AcDbDatabase* db = nullptr);

    // Reloads standards (the user's standards.ini when present, else the shipped one) and
    // places (shipped + user) from the data folders. The message says which file and line
    // failed; the good part is kept.
    bool Reload(std::wstring& error);
    // The message of the last failed Reload (the constructor's included), empty when it
    // succeeded; the host shows it, since loading runs before any command line exists.
    const std::wstring& GetLoadError() const { return m_strLoadError; }
    // Writes the standards to the user's standards.ini.
    bool SaveUserStandards() const;

private:
    std::wstring m_strLoadError;
};

extern SolxDataSet g_SunDataSet;
// Name of the drawing's named dictionary holding the settings.
extern std::wstring g_dictSunSet;

// Valid part of the day (x start, y end, hours) for a window whose outward normal has the
// plan angle `normalAngle` (radians counter-clockwise from east), by the current standard's
// orientation table; the standard's start and end when no band applies.
VxGePoint GetShanghaiValidTime(double normalAngle);

// The data folder: $SOLX_DATA_DIR, else the folder the build was configured with.
std::wstring SolxDataDir();
// The user settings folder: $SOLX_CONFIG_DIR, else $XDG_CONFIG_HOME/solx, else
// ~/.config/solx. Created on first write.
std::wstring SolxUserDir();

// Settings of the product family read by the analyses (defaults in docs/decisions.md).
extern int g_RenderMaxFaceNum;      // face limit of the 3D simulation
extern int g_nSunWinOffset;         // window test points stand this far out of the wall, mm
extern int g_bHardOpenGL;           // 1: ask for an accelerated pixel format
extern std::wstring g_sRecordFile;  // default path of the simulation recording
extern int g_bMAOutputDetail;       // multi-point analysis writes every grid value
extern int g_nSunExpert;            // expert bits; 4: mark results just above the minimum
extern int g_nCtrlWarningMin;       // minutes above the minimum that still warn (bit 4)
