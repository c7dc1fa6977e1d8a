// The settings travel inside the drawing: save into a database, write DXF, read it back.
#include "SettingsFixture.h"

#include "acad/AcDbDatabase.h"

#include <cstdlib>
#include <string>

namespace {

std::string Utf8Path(const std::filesystem::path& p) {
    return p.string();
}

void Customise(SolxDataSet& set) {
    ASSERT_TRUE(set.SetPlace(L"乌鲁木齐"));
    set.m_nCurStd = 1;
    set.m_date.SetDate(2027, 1, 20);
    set.m_nStartHour = 9, set.m_nStartMinute = 15;
    set.m_nEndHour = 15, set.m_nEndMinute = 45;
    set.m_nStep = 4;
    set.m_cities.emplace_back(L"测试村");
}

void ExpectSame(const SolxDataSet& a, const SolxDataSet& b) {
    EXPECT_EQ(a.m_zone.m_strName, b.m_zone.m_strName);
    EXPECT_EQ(a.m_zone.m_strLongitude, b.m_zone.m_strLongitude);
    EXPECT_EQ(a.m_nCurStd, b.m_nCurStd);
    EXPECT_EQ(a.m_date, b.m_date);
    EXPECT_EQ(a.GetStartMinute(), b.GetStartMinute());
    EXPECT_EQ(a.GetEndMinute(), b.GetEndMinute());
    EXPECT_EQ(a.m_nStep, b.m_nStep);
    EXPECT_EQ(a.m_cities, b.m_cities);
}

TEST_F(SettingsTest, DictionaryInTheWorkingDrawing) {
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    SolxDataSet fresh;
    EXPECT_FALSE(fresh.LoadSunDataSetDict(&g_dictSunSet));  // nothing stored yet
    SolxDataSet set;
    Customise(set);
    ASSERT_TRUE(set.SaveSunDataSetDict(&g_dictSunSet));
    set.m_nStep = 6;  // saving again replaces the record
    ASSERT_TRUE(set.SaveSunDataSetDict(&g_dictSunSet));
    ASSERT_TRUE(fresh.LoadSunDataSetDict(&g_dictSunSet));
    ExpectSame(set, fresh);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    EXPECT_FALSE(fresh.SaveSunDataSetDict(&g_dictSunSet));  // no drawing
}

// A user who removed every place from the list gets an empty list back, not the defaults.
TEST_F(SettingsTest, EmptyPlaceListRoundTrips) {
    AcDbDatabase db;
    SolxDataSet set;
    set.m_cities.clear();
    ASSERT_TRUE(set.SaveSunDataSetDict(&g_dictSunSet, &db));
    SolxDataSet back;
    ASSERT_FALSE(back.m_cities.empty());
    ASSERT_TRUE(back.LoadSunDataSetDict(&g_dictSunSet, &db));
    EXPECT_TRUE(back.m_cities.empty());
}

TEST_F(SettingsTest, DictionarySurvivesDxfRoundTrip) {
    SolxDataSet set;
    Customise(set);
    const std::filesystem::path file = m_dir / "settings.dxf";
    std::filesystem::create_directories(m_dir);
    {
        AcDbDatabase db;
        ASSERT_TRUE(set.SaveSunDataSetDict(&g_dictSunSet, &db));
        ASSERT_EQ(db.dxfOut(file.wstring().c_str()), Acad::eOk);
    }
    AcDbDatabase reread(false);
    ASSERT_EQ(reread.readDxfFile(file.wstring().c_str()), Acad::eOk);
    SolxDataSet back;
    ASSERT_TRUE(back.LoadSunDataSetDict(&g_dictSunSet, &reread));
    ExpectSame(set, back);

    // An independent reader finds the dictionary and its record.
    const std::string check =
        "/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]).rootdict;"
        " x=d['SOLX_SUNSET']['SETTINGS']; assert x.dxftype()=='XRECORD';"
        " assert any(v=='乌鲁木齐' for c,v in x.tags)\" " +
        Utf8Path(file);
    EXPECT_EQ(std::system(check.c_str()), 0);
}

}  // namespace
