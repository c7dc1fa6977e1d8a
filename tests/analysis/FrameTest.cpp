// The analysis frame's rules: sampling of the period, truncation with tolerance, the ray
// direction, drawing-unit scale, the scoped system variable, progress with break, and the
// elapsed-time report.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "SolxFrame.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcEdFrontEnd.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "brel/VxDtLayer.h"
#include "acad/AcDbSymbolTable.h"

namespace {

TEST(SunSampling, StopsAtTheFirstTimePastTheEnd) {
    struct Case {
        const char* name;
        int start, end, step;
        std::size_t count;
        double last;
    };
    const Case cases[] = {
        {"whole steps sample the end", 480, 960, 60, 9, 960},
        {"partial last step is left out", 480, 960, 7, 69, 956},
        {"one instant", 600, 600, 10, 1, 600},
        {"end before start", 600, 540, 10, 0, 0},
        {"step of one minute", 480, 960, 1, 481, 960},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> t = SunSampleMinutes(c.start, c.end, c.step);
        ASSERT_EQ(t.size(), c.count);
        if (!t.empty()) {
            EXPECT_EQ(t.front(), c.start);
            EXPECT_EQ(t.back(), c.last);
        }
    }
    EXPECT_TRUE(SunSampleMinutes(480, 960, 0).empty());
}

// Periods from the samples' answers, written out by hand from the half-step rule.
TEST(SunSampling, LitSamplesBecomePeriodsHalfAStepEitherSide) {
    struct Case {
        const char* name;
        int start, end, step;
        std::vector<double> dark;  // the shaded sample times
        std::vector<std::pair<double, double>> periods;
    };
    const Case cases[] = {
        {"all lit", 480, 960, 10, {}, {{480, 960}}},
        {"one dark sample splits the day", 480, 960, 10, {600}, {{480, 595}, {605, 960}}},
        {"last lit sample closes half a step on", 480, 500, 7, {}, {{480, 497.5}}},
        {"one instant has no length", 600, 600, 10, {}, {}},
        {"dark first and last", 480, 540, 10, {480, 540}, {{485, 535}}},
        {"all dark", 480, 540, 10, {480, 490, 500, 510, 520, 530, 540}, {}},
        {"lone lit sample", 480, 540, 10, {480, 490, 510, 520, 530, 540}, {{495, 505}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SolxSunlitRun run(c.start, c.end, c.step);
        for (double t : SunSampleMinutes(c.start, c.end, c.step))
            run.Add(t, std::find(c.dark.begin(), c.dark.end(), t) == c.dark.end());
        const std::vector<VxGePoint> got = run.Finish();
        ASSERT_EQ(got.size(), c.periods.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_DOUBLE_EQ(got[i].x, c.periods[i].first);
            EXPECT_DOUBLE_EQ(got[i].y, c.periods[i].second);
        }
    }
}

TEST(SunSampling, RaysFollowTheSunOverTheDay) {
    SolxSunSetting setting;
    setting.longitude = 116.4;
    setting.latitude = 39.9;
    setting.declination = -20.0;
    setting.startMinute = 480;
    setting.endMinute = 960;
    setting.stepMinutes = 240;
    const auto samples = SampleSun(setting);
    ASSERT_EQ(samples.size(), 3u);
    // Morning light travels west (x < 0), noon light north, afternoon light east; always down.
    EXPECT_LT(samples[0].ray.x, 0.0);
    EXPECT_NEAR(samples[1].ray.x, 0.0, 1e-9);
    EXPECT_GT(samples[1].ray.y, 0.0);
    EXPECT_GT(samples[2].ray.x, 0.0);
    for (const auto& s : samples) {
        EXPECT_LT(s.ray.z, 0.0);
        EXPECT_NEAR(s.ray.length(), 1.0, 1e-12);
    }
    // Noon altitude: 90 - latitude + declination.
    EXPECT_NEAR(samples[1].altitude * 180 / std::numbers::pi, 90 - 39.9 - 20.0, 1e-6);
}

TEST(SunRay, PointsAwayFromTheSun) {
    const double pi = std::numbers::pi;
    struct Case {
        const char* name;
        double altitude, azimuth;
        AcGeVector3d ray;
    };
    const Case cases[] = {
        {"sun due south, level", 0.0, 0.0, {0, 1, 0}},
        {"sun due west", 0.0, pi / 2, {1, 0, 0}},
        {"sun overhead", pi / 2, 0.3, {0, 0, -1}},
        {"sun south-east at 45 deg", pi / 4, -pi / 4, {-0.5, 0.5, -std::sqrt(0.5)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AcGeVector3d v = SunRayVector(c.altitude, c.azimuth);
        EXPECT_NEAR(v.x, c.ray.x, 1e-12);
        EXPECT_NEAR(v.y, c.ray.y, 1e-12);
        EXPECT_NEAR(v.z, c.ray.z, 1e-12);
    }
}

TEST(TruncWithTol, SnapsOnlyWithinTheTolerance) {
    const std::pair<double, int> cases[] = {{44.9999999, 45}, {44.99, 44},    {-2.9999999, -3},
                                            {-2.99, -2},      {3.0000001, 3}, {0.0, 0},
                                            {7.5, 7}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(TruncWithTol(value, 1e-6), expected) << value;
}

TEST(Stopwatch, ReportsWholeSecondsTruncated) {
    const std::clock_t ms = CLOCKS_PER_SEC / 1000;
    EXPECT_EQ(SolxStopwatch::Seconds(0, 1999 * ms), 1);
    EXPECT_EQ(SolxStopwatch::Seconds(0, 2000 * ms), 2);
    EXPECT_EQ(SolxStopwatch::Seconds(5 * ms, 900 * ms), 0);
}

// Front end recording prints and progress, with a break requested before item `breakAt`.
class RecordingFrontEnd : public solx::editor::FrontEnd {
public:
    explicit RecordingFrontEnd(int breakAt = -1) : m_breakAt(breakAt) {
        solx::editor::SetFrontEnd(this);
    }
    ~RecordingFrontEnd() override { solx::editor::SetFrontEnd(nullptr); }
    std::optional<solx::editor::InputLine> ReadAnswer(const std::wstring&) override {
        return std::nullopt;
    }
    bool Reject(const solx::editor::InputLine&, const std::wstring&,
                const solx::editor::HostMessage&) override {
        return false;
    }
    bool TakeBreak() override { return m_polls++ == m_breakAt; }
    void Print(const std::wstring& text) override { printed += text; }
    void ShowProgress(const std::wstring& label, int) override { labels.push_back(label); }
    std::wstring printed;
    std::vector<std::wstring> labels;

private:
    int m_breakAt;
    int m_polls = 0;
};

TEST(Progress, BreakEndsTheLoopAndRestoresTheStatusBar) {
    RecordingFrontEnd frontEnd(3);
    int done = 0;
    {
        SolxProgress progress(L"窗日照分析", 10);
        for (int i = 0; i < 10 && progress.Continue(i); ++i) ++done;
    }
    EXPECT_EQ(done, 3);
    ASSERT_FALSE(frontEnd.labels.empty());
    EXPECT_EQ(frontEnd.labels.front(), L"窗日照分析");
    EXPECT_EQ(frontEnd.labels.back(), L"");
}

TEST(Progress, ReportLineReadsAsOneLine) {
    RecordingFrontEnd frontEnd;
    SolxStopwatch watch;
    watch.Report();
    EXPECT_EQ(frontEnd.printed, L"\n共耗时0秒；");
}

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override { acdbHostApplicationServices()->setWorkingDatabase(&m_db); }
    void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
    AcDbDatabase m_db;
};

TEST_F(DrawingTest, SysVarIsPutBackOnEveryExit) {
    VxDtInitStdLayer(L"SUN-SHADOW");
    auto clayer = [] {
        resbuf value;
        EXPECT_EQ(acedGetVar(L"CLAYER", &value), RTNORM);
        std::wstring name = value.resval.rstring;
        delete[] value.resval.rstring;
        return name;
    };
    const std::wstring before = clayer();
    {
        VxPushSysVar push(L"CLAYER", VxDtGetLayerName(L"SUN-SHADOW").c_str());
        EXPECT_EQ(clayer(), L"SUN-SHADOW");
    }
    EXPECT_EQ(clayer(), before);
}

TEST_F(DrawingTest, StandardLayersAndStyleAreMadeOnce) {
    const AcDbObjectId first = VxDtInitStdLayer(L"SUN-WINDOW");
    EXPECT_TRUE(first.isValid());
    EXPECT_EQ(VxDtInitStdLayer(L"SUN-WINDOW"), first);
    for (const wchar_t* key : {L"SUN-SHADOW", L"SUN-BUILDING", L"TG_GRID"}) {
        AcDbLayerTableRecord* layer = nullptr;
        ASSERT_EQ(acdbOpenObject(layer, VxDtInitStdLayer(key), AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(layer->getName(), VxDtGetLayerName(key));
        layer->close();
    }
    AcDbTextStyleTableRecord* style = nullptr;
    const AcDbObjectId styleId = VxDtInitTextStyle(L"TS_DIM");
    ASSERT_EQ(acdbOpenObject(style, styleId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(style->getName(), L"TS_DIM");
    EXPECT_NE(style->fileName().find(L"wqy"), std::wstring::npos);
    style->close();
    EXPECT_EQ(VxDtInitTextStyle(L"TS_DIM"), styleId);
}

// Millimetres, centimetres and metres are read as what they are; any other unit is taken as
// millimetres, and the command line says so (once per call, nothing for the known units).
TEST_F(DrawingTest, DrawUnitScaleFollowsTheDrawing) {
    RecordingFrontEnd frontEnd;
    auto setUnits = [](short code) {
        resbuf units;
        units.restype = RTSHORT;
        units.resval.rint = code;
        ASSERT_EQ(acedSetVar(L"INSUNITS", &units), RTNORM);
    };
    const struct {
        short insunits;
        double scale;
        bool assumed;
    } cases[] = {{4, 1.0, false}, {5, 0.1, false}, {6, 0.001, false},
                 {0, 1.0, true},  {1, 1.0, true},  {14, 1.0, true}};
    for (const auto& c : cases) {
        setUnits(c.insunits);
        frontEnd.printed.clear();
        EXPECT_DOUBLE_EQ(DrawUnitScale(), c.scale) << c.insunits;
        ReportAssumedDrawUnit();
        if (c.assumed)
            EXPECT_NE(frontEnd.printed.find(L"INSUNITS = " + std::to_wstring(c.insunits)),
                      std::wstring::npos)
                << c.insunits;
        else
            EXPECT_EQ(frontEnd.printed, L"") << c.insunits;
    }
    setUnits(6);
    // A 1500 mm height shows as 1.5 in a metre drawing and 1.5 typed there is 1500 mm.
    EXPECT_DOUBLE_EQ(1500.0 * DrawUnitScale(), 1.5);
    EXPECT_DOUBLE_EQ(1.5 / DrawUnitScale(), 1500.0);
}

}  // namespace
