// "VxShadow2d" run by solx end to end: the sample district through
// examples/district-shadows.scr, and drawings with bad obstructions made with
// ezdxf; the saved drawings are read back with ezdxf and shapely
// (tests/analysis_shadow/check_shadows.py).

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "../support/CommandOutput.h"
#include "../support/ScriptRun.h"

namespace fs = std::filesystem;

namespace {

std::string Output(const std::string& command) {
    return solx::testing::CommandOutput(command);
}

class Shadow2dRun : public solx::testing::ScriptRunTest {
protected:
    Shadow2dRun() : ScriptRunTest("solx-shadow2d-") {}
    std::string Check(const fs::path& out, const fs::path& source, const std::string& times) {
        return Output("/usr/bin/python3 " SOLX_SOURCE_DIR
                      "/tests/analysis_shadow/check_shadows.py " +
                      out.string() + " " + source.string() + " " + times + " 2>&1");
    }
    // Counts the entities on the shadow layer of a saved drawing.
    std::string ShadowCount(const fs::path& out) {
        return Output(
            "/usr/bin/python3 -c \"import ezdxf, sys; "
            "print(len(ezdxf.readfile(sys.argv[1]).modelspace()"
            ".query('*[layer==\\\"SUN-SHADOW\\\"]')))\" " +
            out.string());
    }
    // The shadow entities, all model space entities and the groups of a saved drawing.
    std::string Tally(const fs::path& out) {
        return Output(
            "/usr/bin/python3 -c \"import ezdxf, sys; d = ezdxf.readfile(sys.argv[1]); "
            "m = d.modelspace(); "
            "print(len(m.query('*[layer==\\\"SUN-SHADOW\\\"]')), len(m), len(d.groups))\" " +
            out.string());
    }
    // A drawing of closed polylines on the building layer, one per line of
    // `buildings`: "thickness elevation x,y x,y ...".
    fs::path MakeDrawing(const std::string& name, const std::string& buildings) {
        const fs::path path = m_dir / name;
        const fs::path spec = m_dir / (name + ".txt");
        std::ofstream(spec) << buildings;
        Output(
            "/usr/bin/python3 -c \"import ezdxf, sys\n"
            "d = ezdxf.new('R2010'); d.header['\\$INSUNITS'] = 4; m = "
            "d.modelspace()\n"
            "for line in open(sys.argv[1]):\n"
            "    f = line.split()\n"
            "    if not f: continue\n"
            "    pts = [tuple(map(float, p.split(','))) for p in f[2:]]\n"
            "    m.add_lwpolyline(pts, close=True, dxfattribs={'layer': "
            "'SUN-BUILDING', "
            "'thickness': float(f[0]), 'elevation': float(f[1])})\n"
            "d.saveas(sys.argv[2])\" " +
            spec.string() + " " + path.string());
        return path;
    }
};

const std::string kNine = "8:00 9:00 10:00 11:00 12:00 13:00 14:00 15:00 16:00";

// The default run of the example: nine moments, their colours, groups, labels
// and rows.
TEST_F(Shadow2dRun, DistrictScriptDrawsNineLabelledMoments) {
    const fs::path out = m_dir / "district.dxf";
    const fs::path source = SOLX_SOURCE_DIR "/examples/district.dxf";
    std::ifstream in(SOLX_SOURCE_DIR "/examples/district-shadows.scr");
    const std::string script((std::istreambuf_iterator<char>(in)), {});
    const std::string transcript = Run(source, script, out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_EQ(transcript.find("警告"), std::string::npos) << transcript;
    EXPECT_EQ(Check(out, source, kNine), "OK\n") << transcript;
}

// One moment: the moment edit's time, colour 1, whatever the period says.
TEST_F(Shadow2dRun, SingleMomentDrawsOnlyThatMoment) {
    const fs::path drawing = MakeDrawing("one.dxf", "30000 0 0,0 20000,0 20000,10000 0,10000\n");
    const fs::path out = m_dir / "one-out.dxf";
    const std::string transcript = Run(drawing,
                                       "VxShadow2d\nALL\n\n@set 2059 0\n@set "
                                       "2015 10:30\n@set 2055 0\n@ok\nQUIT\n",
                                       out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_EQ(Check(out, drawing, "10:30"), "OK\n") << transcript;
}

// Outlines that cross themselves, have no area or repeat vertices, a building
// of height 0 and hundreds of overlapping boxes: no warning the user could not
// act on, no crash, and valid outlines without NaN.
TEST_F(Shadow2dRun, BadOutlinesAndCrowdsStillGiveValidOutlines) {
    std::string buildings =
        "20000 0 0,0 20000,0 20000,10000 0,10000\n"
        "15000 0 40000,0 60000,12000 60000,0 40000,9000\n"               // crosses itself
        "15000 0 70000,0 80000,0 90000,0\n"                              // no area
        "15000 0 0,30000 10000,30000 10000,30000 10000,40000 0,40000\n"  // repeated
                                                                         // vertex
        "0 0 30000,30000 40000,30000 40000,40000 30000,40000\n";         // height 0
    for (int i = 0; i < 300; ++i) {
        const int x = 100000 + (i % 20) * 3000, y = (i / 20) * 3000;
        buildings += std::to_string(10000 + (i % 7) * 2000) + " 0 " + std::to_string(x) + "," +
                     std::to_string(y) + " " + std::to_string(x + 5000) + "," + std::to_string(y) +
                     " " + std::to_string(x + 5000) + "," + std::to_string(y + 5000) + " " +
                     std::to_string(x) + "," + std::to_string(y + 5000) + "\n";
    }
    const fs::path drawing = MakeDrawing("bad.dxf", buildings);
    const fs::path out = m_dir / "bad-out.dxf";
    const std::string transcript = Run(drawing,
                                       "VxShadow2d\nALL\n\n@set 2059 1\n@set 2048 9:00\n@set 2049 "
                                       "15:00\n@set 2018 120\n"
                                       "@set 2055 0\n@ok\nQUIT\n",
                                       out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_EQ(Check(out, drawing, "9:00 11:00 13:00 15:00"), "OK\n") << transcript;
}

// A plane above every building, and moments when the sun is down (before
// sunrise in winter, as it is all day in a polar winter): a message, nothing
// drawn, the drawing saved.
TEST_F(Shadow2dRun, NothingToDrawIsSaidAndDrawsNothing) {
    const fs::path drawing = MakeDrawing("low.dxf", "9000 0 0,0 20000,0 20000,10000 0,10000\n");
    const fs::path above = m_dir / "above.dxf";
    std::string transcript =
        Run(drawing, "VxShadow2d\nALL\n\n@set 2059 1\n@set 2055 50000\n@ok\nQUIT\n", above);
    ASSERT_TRUE(fs::exists(above)) << transcript;
    EXPECT_NE(transcript.find("没有高出计算高度 50000 的遮挡物"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("没有画出阴影轮廓。"), std::string::npos) << transcript;
    EXPECT_EQ(ShadowCount(above), "0\n");

    const fs::path dark = m_dir / "dark.dxf";
    transcript = Run(drawing,
                     "VxShadow2d\nALL\n\n@set 2046 2026-12-22\n@set 2059 1\n@set 2048 4:00\n"
                     "@set 2049 6:00\n@set 2018 60\n@set 2055 0\n@ok\nQUIT\n",
                     dark);
    ASSERT_TRUE(fs::exists(dark)) << transcript;
    EXPECT_NE(transcript.find("4:00 太阳在地平线以下，没有阴影。"), std::string::npos)
        << transcript;
    EXPECT_NE(transcript.find("6:00 太阳在地平线以下"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("没有画出阴影轮廓。"), std::string::npos) << transcript;
    EXPECT_EQ(ShadowCount(dark), "0\n");
}

// A polar winter: a place at 78 degrees north, added to the user's own place list
// and chosen in the place dialog, on the winter solstice. The sun stays below the
// horizon at every moment of a whole-day window: each moment says so, nothing is
// drawn, no group is made and the drawing is saved with only its building.
TEST_F(Shadow2dRun, PolarWinterSaysTheSunIsDownAllDay) {
    std::ofstream(m_dir / "places.csv") << "测试,极地站,78.22,15.65\n";
    const fs::path drawing = MakeDrawing("polar.dxf", "30000 0 0,0 20000,0 20000,10000 0,10000\n");
    const fs::path out = m_dir / "polar-out.dxf";
    const std::string transcript =
        Run(drawing,
            "VxShadow2d\nALL\n\n@click 2042\n@set 3101 测试\n@set 3102 极地站\n@ok\n"
            "@set 2046 2026-12-22\n@set 2059 1\n@set 2048 0:00\n@set 2049 23:00\n"
            "@set 2018 60\n@set 2055 0\n?\n@ok\nQUIT\n",
            out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_NE(transcript.find("2005  纬度:            edit = \"78度13分\""), std::string::npos)
        << transcript;
    for (int hour = 0; hour <= 23; ++hour) {
        const std::string said = std::to_string(hour) + ":00 太阳在地平线以下，没有阴影。";
        EXPECT_NE(transcript.find(said), std::string::npos) << said << "\n" << transcript;
    }
    EXPECT_NE(transcript.find("没有画出阴影轮廓。"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("\nsolx-exit=0\n"), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("警告"), std::string::npos) << transcript;
    EXPECT_EQ(Tally(out), "0 1 0\n") << "shadow entities, model space entities, groups";
}

}  // namespace
