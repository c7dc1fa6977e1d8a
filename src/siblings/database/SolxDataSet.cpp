#include "solx/SolxDataSet.h"
#include "solx/SolxText.h"

#include "solx/SolxTimeList.h"

#include <cstdlib>
#include <cwchar>

#include "database/TextFile.h"

SolxDataSet g_SunDataSet;
std::wstring g_dictSunSet = L"SOLX_SUNSET";

int g_RenderMaxFaceNum = 10000;
int g_nSunWinOffset = 10;
int g_bHardOpenGL = 1;
std::wstring g_sRecordFile = L"solx-simulation.avi";
int g_bMAOutputDetail = 0;
int g_nSunExpert = 0;
int g_nCtrlWarningMin = 10;

namespace {

// The place combo starts with the municipalities and a few large cities in every climate zone.
const wchar_t* const kDefaultCities[] = {L"北京", L"天津", L"上海", L"重庆",     L"哈尔滨",
                                         L"沈阳", L"西安", L"南京", L"杭州",     L"武汉",
                                         L"成都", L"广州", L"昆明", L"乌鲁木齐", L"拉萨"};

std::wstring EnvPath(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? solx::data::FromUtf8(value) : std::wstring();
}

}  // namespace

std::wstring SolxDataDir() {
    const std::wstring env = EnvPath("SOLX_DATA_DIR");
    return env.empty() ? solx::data::FromUtf8(SOLX_DEFAULT_DATA_DIR) : env;
}

std::wstring SolxUserDir() {
    if (std::wstring dir = EnvPath("SOLX_CONFIG_DIR"); !dir.empty()) return dir;
    if (std::wstring xdg = EnvPath("XDG_CONFIG_HOME"); !xdg.empty()) return xdg + L"/solx";
    return EnvPath("HOME") + L"/.config/solx";
}

SolxDataSet::SolxDataSet() {
    std::wstring error;
    Reload(error);  // a broken data file must not stop the module; defaults stay usable
}

bool SolxDataSet::Reload(std::wstring& error) {
    error.clear();
    m_stds.clear();
    const std::wstring userStds = SolxUserDir() + L"/standards.ini";
    std::vector<std::wstring> probe;
    const bool hasUserStds = solx::data::ReadLines(userStds, probe);
    bool ok =
        LoadStdSets(hasUserStds ? userStds : SolxDataDir() + L"/standards.ini", m_stds, error);
    if (m_stds.empty()) m_stds.emplace_back().m_strName = L"GB 50180-2018 大寒日≥2h";
    std::wstring placeError;
    if (!m_places.Load(SolxDataDir() + L"/places.csv", SolxUserDir() + L"/places.csv",
                       placeError)) {
        if (ok) error = placeError;
        ok = false;
    }
    m_cities.clear();
    SolxZoneRecord zone;
    for (const wchar_t* name : kDefaultCities)
        if (m_places.Find(name, zone)) m_cities.emplace_back(zone.m_strName);
    if (!SetPlace(L"北京")) m_zone = SolxZoneRecord(L"北京", L"北京", 39.9042, 116.4074);
    m_strPlace = m_zone.m_strName;
    m_nCurStd = 0;
    ApplyStdTime();
    m_strLoadError = error;
    return ok;
}

bool SolxDataSet::SaveUserStandards() const {
    return SaveStdSets(SolxUserDir() + L"/standards.ini", m_stds);
}

SolxStdSet& SolxDataSet::CurStd() {
    return m_nCurStd >= 0 && m_nCurStd < static_cast<int>(m_stds.size()) ? m_stds[m_nCurStd]
                                                                         : m_stds.front();
}

const SolxStdSet& SolxDataSet::CurStd() const {
    return const_cast<SolxDataSet*>(this)->CurStd();
}

SolxDate SolxDataSet::CurDate() const {
    return CurStd().GetAnalysisDate(m_date.GetYear());
}

void SolxDataSet::ApplyStdTime() {
    const SolxStdSet& std = CurStd();
    m_date = CurDate();
    m_startTime = std.m_startTime;
    m_endTime = std.m_endTime;
    double second = 0;
    m_startTime.getDegree(m_nStartHour, m_nStartMinute, second);
    m_endTime.getDegree(m_nEndHour, m_nEndMinute, second);
    m_dStep = std.m_dStep;
    m_nStep = static_cast<int>(std.m_dStep);
}

void SolxDataSet::GetSunSetting(double& longitude, double& latitude, double& declination,
                                double& timeCorrection, int& startMinute, int& endMinute,
                                int& stepMinutes, int& noAngleLimit) const {
    longitude = std::wcstod(m_zone.m_strLongitude.c_str(), nullptr);
    latitude = std::wcstod(m_zone.m_strLatitude.c_str(), nullptr);
    declination = m_date.GetDgLat();
    timeCorrection = m_date.GetDgTime();
    startMinute = GetStartMinute();
    endMinute = GetEndMinute();
    stepMinutes = m_nStep;
    noAngleLimit = CurStd().m_bAngleLimit ? 0 : 1;
}

bool SolxDataSet::FindZone(const std::wstring& name, SolxZoneRecord& zone) const {
    return m_places.Find(name, zone);
}

bool SolxDataSet::SetPlace(const std::wstring& name) {
    SolxZoneRecord zone;
    if (!m_places.Find(name, zone)) return false;
    m_zone = zone;
    m_strPlace = zone.m_strName;
    return true;
}

std::wstring SolxDataSet::GetNoteString() const {
    const int term = m_date.GetSTermIndex();
    const std::wstring termText =
        term >= 0 ? SolxTextWith(L"（{0}）", {SolxText(SolxDate::GetTermName(term))}) : L"";
    const SolxDegree start(m_nStartHour + m_nStartMinute / 60.0);
    const SolxDegree end(m_nEndHour + m_nEndMinute / 60.0);
    return SolxText(L"地点：") + m_zone.m_strName + L"  " + m_zone.FormatLatitude() + L"  " +
           m_zone.FormatLongitude() + SolxText(L"  日期：") + m_date.GetDateString() + termText +
           SolxText(L"  标准：") + CurStd().m_strName + SolxText(L"  时间：") +
           start.TimeFormat(false) + L"～" + end.TimeFormat(false) + SolxText(L"（真太阳时）") +
           SolxTextWith(L"  计算间隔：{0}分钟", {std::to_wstring(m_nStep)});
}

VxGePoint GetShanghaiValidTime(double normalAngle) {
    return g_SunDataSet.CurStd().GetValidTime(normalAngle);
}

double SolxTimeList::CurrentMinPeriod() {
    return g_SunDataSet.CurStd().m_dMinPeriod;
}
