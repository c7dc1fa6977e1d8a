// Standards, places and the settings object.
#include "SettingsFixture.h"

#include "acad/adsdef.h"

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <set>

namespace {

constexpr double kPi = std::numbers::pi;

const SolxStdSet* FindStd(const SolxDataSet& set, const std::wstring& prefix) {
    for (const SolxStdSet& s : set.m_stds)
        if (s.m_strName.starts_with(prefix)) return &s;
    return nullptr;
}

struct NationalRule {
    const wchar_t* namePrefix;
    const wchar_t* day;
    double start, end, required;
};

// The national rules as the residential planning standard states them.
TEST_F(SettingsTest, ShippedStandardsCarryTheNationalRules) {
    SolxDataSet set;
    EXPECT_TRUE(set.GetLoadError().empty()) << std::string(set.GetLoadError().size(), '?');
    const NationalRule rules[] = {
        {L"GB 50180-2018 大寒日≥2h", L"大寒", 8, 16, 2},
        {L"GB 50180-2018 大寒日≥3h", L"大寒", 8, 16, 3},
        {L"GB 50180-2018 冬至日≥1h", L"冬至", 9, 15, 1},
        {L"GB 50180-2018 老年人", L"冬至", 9, 15, 2},
    };
    for (const NationalRule& r : rules) {
        const SolxStdSet* s = FindStd(set, r.namePrefix);
        ASSERT_NE(s, nullptr) << r.required;
        EXPECT_STREQ(SolxDate::GetTermName(s->m_nTerm), r.day);
        EXPECT_DOUBLE_EQ(s->m_startTime.GetValue(), r.start);
        EXPECT_DOUBLE_EQ(s->m_endTime.GetValue(), r.end);
        EXPECT_DOUBLE_EQ(s->m_dRequired, r.required);
        EXPECT_EQ(s->m_nEvaluation, 0);
        EXPECT_EQ(s->m_bAngleLimit, 0);
        EXPECT_DOUBLE_EQ(s->m_dMinPeriod, 0);
    }
    const SolxStdSet* strict = FindStd(set, L"地方严格标准示例 大寒日");
    ASSERT_NE(strict, nullptr);
    EXPECT_EQ(strict->m_bTwoPoint, 1);
    EXPECT_EQ(strict->m_bAngleLimit, 1);
    EXPECT_EQ(strict->m_nAngleLimit, 15);
    EXPECT_DOUBLE_EQ(strict->m_dMinPeriod, 5);
    EXPECT_EQ(strict->m_orientTable.size(), 3u);
}

struct BandCase {
    const char* name;
    double normalAngle;  // radians counter-clockwise from east
    double start, end;
};

TEST_F(SettingsTest, OrientationTableGivesTheValidTime) {
    SolxDataSet set;
    const SolxStdSet* strict = FindStd(set, L"地方严格标准示例 大寒日");
    ASSERT_NE(strict, nullptr);
    const BandCase cases[] = {
        {"south", -kPi / 2, 8, 16},
        {"east", 0, 8, 13},
        {"west", kPi, 11, 16},
        {"north: no band, the standard's period", kPi / 2, 8, 16},
        {"bearing 112.5 starts the south band", (90 - 112.5) * kPi / 180, 8, 16},
        {"bearing 22.5 starts the east band", (90 - 22.5) * kPi / 180, 8, 13},
        {"angle beyond a turn", -kPi / 2 + 4 * kPi, 8, 16},
    };
    for (const BandCase& c : cases) {
        const VxGePoint band = strict->GetValidTime(c.normalAngle);
        EXPECT_DOUBLE_EQ(band.x, c.start) << c.name;
        EXPECT_DOUBLE_EQ(band.y, c.end) << c.name;
    }
    // The national standard has no table: every orientation gets 8-16.
    set.m_nCurStd = 0;
    g_SunDataSet.m_stds = set.m_stds;
    g_SunDataSet.m_nCurStd = 0;
    EXPECT_DOUBLE_EQ(GetShanghaiValidTime(0).x, 8);
    EXPECT_DOUBLE_EQ(GetShanghaiValidTime(0).y, 16);
}

// Without its data files the settings still work, with one built-in standard, and say why.
TEST_F(SettingsTest, MissingDataFolderLeavesUsableDefaults) {
    ::setenv("SOLX_DATA_DIR", (m_dir / "nowhere").c_str(), 1);
    const SolxDataSet set;
    EXPECT_NE(set.GetLoadError().find(L"nowhere/standards.ini"), std::wstring::npos);
    ASSERT_EQ(set.m_stds.size(), 1u);
    EXPECT_EQ(set.CurDate(), SolxDate(2026, 1, 20));
    EXPECT_EQ(set.GetStartMinute(), 480);
    EXPECT_DOUBLE_EQ(set.GetLatitude(), 39.9042);
}

TEST_F(SettingsTest, ColorTableThresholds) {
    SolxColorTable table;
    table.m_items = {{0, 1}, {1, 30}, {2, 2}, {6, 6}};
    EXPECT_EQ(table.GetTimeColor(0), 1);
    EXPECT_EQ(table.GetTimeColor(1.5), 30);
    EXPECT_EQ(table.GetTimeColor(1.9999999999), 2);  // a result that is 2 h up to round-off
    EXPECT_EQ(table.GetTimeColor(10), 6);
    EXPECT_EQ(table.GetTimeColor(-1), 1);
}

TEST_F(SettingsTest, StandardsFileRoundTripAndErrors) {
    SolxDataSet set;
    const std::wstring file = Dir() + L"/standards.ini";
    ASSERT_TRUE(SaveStdSets(file, set.m_stds));
    std::vector<SolxStdSet> back;
    std::wstring error;
    ASSERT_TRUE(LoadStdSets(file, back, error)) << std::string(error.begin(), error.end());
    ASSERT_EQ(back.size(), set.m_stds.size());
    for (size_t i = 0; i < back.size(); ++i) {
        const SolxStdSet &a = set.m_stds[i], &b = back[i];
        EXPECT_EQ(a.m_strName, b.m_strName);
        EXPECT_EQ(a.m_nTerm, b.m_nTerm);
        EXPECT_DOUBLE_EQ(a.m_endTime.GetValue(), b.m_endTime.GetValue());
        EXPECT_EQ(a.m_nEvaluation, b.m_nEvaluation);
        EXPECT_EQ(a.m_nAngleLimit, b.m_nAngleLimit);
        EXPECT_DOUBLE_EQ(a.m_dMinPeriod, b.m_dMinPeriod);
        EXPECT_EQ(a.m_orientTable.size(), b.m_orientTable.size());
        EXPECT_EQ(a.m_colorTable.m_items.size(), b.m_colorTable.m_items.size());
    }
    // The user's copy replaces the shipped one.
    back.front().m_strName = L"我的标准";
    ASSERT_TRUE(SaveStdSets(file, back));
    EXPECT_EQ(SolxDataSet().m_stds.front().m_strName, L"我的标准");

    std::ofstream(m_dir / "bad.ini") << "[x]\nday = 大寒\nstart = 8:xx\n";
    back.clear();
    EXPECT_FALSE(LoadStdSets(Dir() + L"/bad.ini", back, error));
    EXPECT_NE(error.find(L"bad.ini:3:"), std::wstring::npos);
    EXPECT_FALSE(LoadStdSets(Dir() + L"/missing.ini", back, error));
}

// The step is whole minutes from 1 to 120 wherever it is entered; a standards file with a step
// the dialogs cannot show is refused on load, naming file, line and the rule.
TEST_F(SettingsTest, StandardsWithAStepTheDialogsCannotShowAreRefused) {
    std::filesystem::create_directories(m_dir);
    const std::wstring file = Dir() + L"/step.ini";
    for (const char* step : {"0.5", "0", "121", "-3", "1.5"}) {
        std::ofstream(m_dir / "step.ini") << "[x]\nday = 大寒\nstep = " << step << "\n";
        std::vector<SolxStdSet> back;
        std::wstring error;
        EXPECT_FALSE(LoadStdSets(file, back, error)) << step;
        EXPECT_NE(error.find(L"step.ini:3:"), std::wstring::npos) << step;
        EXPECT_NE(error.find(L"whole number of minutes from 1 to 120"), std::wstring::npos) << step;
    }
    for (const char* step : {"1", "120", "10"}) {
        std::ofstream(m_dir / "step.ini") << "[x]\nday = 大寒\nstep = " << step << "\n";
        std::vector<SolxStdSet> back;
        std::wstring error;
        EXPECT_TRUE(LoadStdSets(file, back, error)) << step;
    }
}

// Prefecture-level divisions per province (2024), and every provincial capital.
TEST_F(SettingsTest, PlaceDatabaseCoversChina) {
    SolxDataSet set;
    const std::map<std::wstring, int> prefectures = {
        {L"河北", 11},   {L"山西", 11}, {L"内蒙古", 12}, {L"辽宁", 14}, {L"吉林", 9},
        {L"黑龙江", 13}, {L"江苏", 13}, {L"浙江", 11},   {L"安徽", 16}, {L"福建", 9},
        {L"江西", 11},   {L"山东", 16}, {L"河南", 17},   {L"湖北", 13}, {L"湖南", 14},
        {L"广东", 21},   {L"广西", 14}, {L"海南", 4},    {L"四川", 21}, {L"贵州", 9},
        {L"云南", 16},   {L"西藏", 7},  {L"陕西", 10},   {L"甘肃", 14}, {L"青海", 8},
        {L"宁夏", 5},    {L"新疆", 14}};
    std::map<std::wstring, int> counted;
    std::set<std::wstring> names;
    for (const SolxZoneRecord& r : set.m_places.Shipped()) {
        ++counted[r.m_strProvince];
        EXPECT_TRUE(names.insert(r.m_strName).second) << "duplicate";
        EXPECT_TRUE(r.Latitude() > 3 && r.Latitude() < 54 && r.Longitude() > 73 &&
                    r.Longitude() < 136);
    }
    for (const auto& [province, n] : prefectures) EXPECT_GE(counted[province], n);
    const wchar_t* capitals[] = {
        L"北京",   L"天津", L"上海", L"重庆",     L"石家庄", L"太原", L"呼和浩特", L"沈阳", L"长春",
        L"哈尔滨", L"南京", L"杭州", L"合肥",     L"福州",   L"南昌", L"济南",     L"郑州", L"武汉",
        L"长沙",   L"广州", L"南宁", L"海口",     L"成都",   L"贵阳", L"昆明",     L"拉萨", L"西安",
        L"兰州",   L"西宁", L"银川", L"乌鲁木齐", L"香港",   L"澳门", L"台北"};
    SolxZoneRecord zone;
    for (const wchar_t* c : capitals) EXPECT_TRUE(set.FindZone(c, zone));
}

TEST_F(SettingsTest, PlaceLookupAndTexts) {
    SolxDataSet set;
    SolxZoneRecord zone;
    ASSERT_TRUE(set.FindZone(L"北京市", zone));  // the suffix may be given or not
    EXPECT_EQ(zone.m_strName, L"北京");
    int d = 0, m = 0;
    zone.GetLatitude(d, m);
    EXPECT_EQ(d * 100 + m, 3954);
    zone.GetLongitude(d, m);
    EXPECT_EQ(d * 100 + m, 11625);
    EXPECT_EQ(zone.FormatLatitude(), L"北纬39°54′");
    EXPECT_EQ(zone.FormatLongitude(), L"东经116°25′");
    ASSERT_TRUE(set.FindZone(L"阿克苏", zone));
    EXPECT_EQ(zone.m_strName, L"阿克苏地区");
    EXPECT_FALSE(set.FindZone(L"不存在的地方", zone));
    EXPECT_GE(set.m_places.Search(L"新疆").size(), 14u);
    EXPECT_EQ(SolxZoneRecord(L"x", L"", -33.86, -70.65).FormatLongitude(), L"西经70°39′");
}

TEST_F(SettingsTest, UserPlacesAreKeptAndWin) {
    {
        SolxDataSet set;
        ASSERT_TRUE(set.m_places.AddUserPlace(SolxZoneRecord(L"测试村", L"湖北", 30.5, 110.25)));
        ASSERT_TRUE(set.m_places.AddUserPlace(SolxZoneRecord(L"北京", L"北京", 40.0, 116.0)));
    }
    SolxDataSet reloaded;
    SolxZoneRecord zone;
    ASSERT_TRUE(reloaded.FindZone(L"测试村", zone));
    EXPECT_DOUBLE_EQ(zone.Longitude(), 110.25);
    ASSERT_TRUE(reloaded.FindZone(L"北京", zone));
    EXPECT_DOUBLE_EQ(zone.Latitude(), 40.0);
    EXPECT_EQ(reloaded.m_places.UserPlaces().size(), 2u);
}

TEST_F(SettingsTest, StandardDecidesDateAndPeriod) {
    SolxDataSet set;
    const SolxStdSet* winter = FindStd(set, L"GB 50180-2018 冬至日≥1h");
    ASSERT_NE(winter, nullptr);
    set.m_nCurStd = static_cast<int>(winter - set.m_stds.data());
    set.m_date.SetDate(2030, 5, 1);
    EXPECT_EQ(set.CurDate(), SolxDate(2030, 12, 22));
    set.ApplyStdTime();
    EXPECT_EQ(set.m_date, SolxDate(2030, 12, 22));
    EXPECT_EQ(set.GetStartMinute(), 540);
    EXPECT_EQ(set.GetEndMinute(), 900);
    EXPECT_EQ(set.m_nStep, 1);

    double lon = 0, lat = 0, dec = 0, tc = 0;
    int start = 0, end = 0, step = 0, noLimit = -1;
    set.GetSunSetting(lon, lat, dec, tc, start, end, step, noLimit);
    EXPECT_DOUBLE_EQ(lon, 116.41);
    EXPECT_DOUBLE_EQ(lat, 39.90);
    EXPECT_NEAR(dec, -23.44, 0.01);  // 冬至
    EXPECT_NEAR(tc * 60, 1.7, 0.5);  // the sun runs 1-2 min ahead of the mean sun at 冬至
    EXPECT_EQ(start * 10000 + end * 10 + step, 540 * 10000 + 900 * 10 + 1);
    EXPECT_EQ(noLimit, 1);
}

TEST_F(SettingsTest, NoteStringNamesTheConditions) {
    SolxDataSet set;
    ASSERT_TRUE(set.SetPlace(L"上海"));
    set.m_nStep = 5;
    const std::wstring note = set.GetNoteString();
    for (const wchar_t* part : {L"上海", L"北纬31°14′", L"东经121°28′", L"2026年1月20日（大寒）",
                                L"GB 50180-2018 大寒日≥2h", L"8:00～16:00", L"5分钟"})
        EXPECT_NE(note.find(part), std::wstring::npos) << std::string(note.begin(), note.end());
}

TEST_F(SettingsTest, ResbufRoundTrip) {
    SolxDataSet set;
    ASSERT_TRUE(set.SetPlace(L"拉萨"));
    set.m_nCurStd = 2;
    set.m_date.SetDate(2031, 12, 22);
    set.m_startTime = 9.5;
    set.m_endTime = 15.25;
    set.m_dStep = 2.5;
    set.m_cities = {SolxCity(L"拉萨"), SolxCity(L"测试村")};
    set.m_nStartHour = 9, set.m_nStartMinute = 30, set.m_nEndHour = 15, set.m_nEndMinute = 15;
    set.m_nStep = 3;
    resbuf* list = set.ToResbuf();
    SolxDataSet back;
    ASSERT_TRUE(back.FromResbuf(list));
    acutRelRb(list);
    EXPECT_EQ(back.m_zone.m_strName, L"拉萨");
    EXPECT_EQ(back.m_zone.m_strLatitude, set.m_zone.m_strLatitude);
    EXPECT_EQ(back.m_strPlace, L"拉萨");
    EXPECT_EQ(back.m_nCurStd, 2);
    EXPECT_EQ(back.m_date, SolxDate(2031, 12, 22));
    EXPECT_DOUBLE_EQ(back.m_startTime.GetValue(), 9.5);
    EXPECT_DOUBLE_EQ(back.m_endTime.GetValue(), 15.25);
    EXPECT_DOUBLE_EQ(back.m_dStep, 2.5);
    EXPECT_EQ(back.m_cities, set.m_cities);
    EXPECT_EQ(back.GetStartMinute(), 570);
    EXPECT_EQ(back.GetEndMinute(), 915);
    EXPECT_EQ(back.m_nStep, 3);
    // A list without the settings' version key is not ours.
    resbuf* foreign = acutBuildList(300, L"other", 1, L"x", 0);
    EXPECT_FALSE(back.FromResbuf(foreign));
    acutRelRb(foreign);
    EXPECT_FALSE(back.FromResbuf(nullptr));
}

}  // namespace
