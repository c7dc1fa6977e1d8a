// "VxSunMPoint" run by solx end to end: the example over the courtyards of the sample district,
// detailed output, a polyline area, the remembered dialog values in millimetre and metre
// drawings, and bad input (each answered with a message and nothing drawn). The saved drawings
// are read back with ezdxf and shapely (tests/analysis_grid/check_grid.py).

#include <gtest/gtest.h>

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

class MultiPointRun : public solx::testing::ScriptRunTest {
protected:
    MultiPointRun() : ScriptRunTest("solx-grid-") {}
    std::string Check(const fs::path& out, const std::string& spacing, const std::string& mode) {
        return Output("/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/analysis_grid/check_grid.py " +
                      out.string() + " " + spacing + " " + mode + " 2>&1");
    }
    // Entities on the shadow layer and groups of a saved drawing.
    std::string Tally(const fs::path& out) {
        return Output(
            "/usr/bin/python3 -c \"import ezdxf, sys; d = ezdxf.readfile(sys.argv[1]); "
            "print(len(d.modelspace().query('*[layer==\\\"SUN-SHADOW\\\"]')), len(d.groups))\" " +
            out.string());
    }
    // A drawing (INSUNITS `units`) with closed polylines on the building layer, one per line of
    // `buildings` ("thickness elevation x,y x,y ..."), and the polylines of `others` on layer 0
    // ("closed|open x,y x,y ...").
    fs::path MakeDrawing(const std::string& name, const std::string& buildings,
                         const std::string& others = "", int units = 4) {
        const fs::path path = m_dir / name;
        std::ofstream(m_dir / "b.txt") << buildings;
        std::ofstream(m_dir / "o.txt") << others;
        Output(
            "/usr/bin/python3 -c \"import ezdxf, sys\n"
            "d = ezdxf.new('R2010'); d.header['\\$INSUNITS'] = " +
            std::to_string(units) +
            "; m = d.modelspace()\n"
            "for line in open(sys.argv[1]):\n"
            "    f = line.split()\n"
            "    if not f: continue\n"
            "    pts = [tuple(map(float, p.split(','))) for p in f[2:]]\n"
            "    m.add_lwpolyline(pts, close=True, dxfattribs={'layer': 'SUN-BUILDING', "
            "'thickness': float(f[0]), 'elevation': float(f[1])})\n"
            "for line in open(sys.argv[2]):\n"
            "    f = line.split()\n"
            "    if not f: continue\n"
            "    pts = [tuple(map(float, p.split(','))) for p in f[1:]]\n"
            "    m.add_lwpolyline(pts, close=f[0] == 'closed')\n"
            "d.saveas(sys.argv[3])\" " +
            (m_dir / "b.txt").string() + " " + (m_dir / "o.txt").string() + " " + path.string());
        return path;
    }
};

// Two slabs, 30 m and 20 m high, in a millimetre drawing.
const std::string kTwoSlabs =
    "30000 0 0,0 40000,0 40000,12000 0,12000\n"
    "20000 0 10000,40000 50000,40000 50000,52000 10000,52000\n";

TEST_F(MultiPointRun, DistrictScriptDrawsAReadableMap) {
    const fs::path out = m_dir / "district.dxf";
    std::ifstream in(SOLX_SOURCE_DIR "/examples/district-grid.scr");
    const std::string script((std::istreambuf_iterator<char>(in)), {});
    const std::string transcript = Run(SOLX_SOURCE_DIR "/examples/district.dxf", script, out);
    ASSERT_NE(transcript.find("solx-exit=0"), std::string::npos) << transcript;
    EXPECT_EQ(Check(out, "2500", "thinned"), "OK\n") << transcript;
}

// Detailed output: a text at every point outside the footprints, each with its periods.
TEST_F(MultiPointRun, DetailedOutputLabelsEveryPointWithItsPeriods) {
    const fs::path drawing = MakeDrawing("two.dxf", kTwoSlabs);
    const fs::path out = m_dir / "two-out.dxf";
    const std::string transcript =
        Run(drawing,
            "VxSunMPoint\nALL\n\n@set 2055 0\n@set 2057 3000\n@set 2056 1\n@set 2018 5\n@ok\n"
            "-10000,-10000\n60000,70000\nQUIT\n",
            out);
    ASSERT_NE(transcript.find("solx-exit=0"), std::string::npos) << transcript;
    EXPECT_EQ(Check(out, "3000", "every"), "OK\n") << transcript;
}

// A closed polyline as the area: values only inside it; Enter takes the obstructions' extents.
TEST_F(MultiPointRun, PolylineAndExtentsAreas) {
    const fs::path drawing =
        MakeDrawing("poly.dxf", kTwoSlabs, "closed -5000,20000 60000,20000 30000,60000\n");
    const fs::path out = m_dir / "poly-out.dxf";
    std::string transcript = Run(drawing,
                                 "VxSunMPoint\nALL\n\n@set 2057 2000\n@set 2056 1\n@ok\nP\n"
                                 "27500,20000\nQUIT\n",
                                 out);
    ASSERT_NE(transcript.find("solx-exit=0"), std::string::npos) << transcript;
    EXPECT_EQ(Check(out, "2000", "thinned"), "OK\n") << transcript;
    EXPECT_EQ(Output("/usr/bin/python3 -c \"import ezdxf, sys, re\n"
                     "from shapely.geometry import Point, Polygon\n"
                     "tri = Polygon([(-5000,20000),(60000,20000),(30000,60000)]).buffer(1)\n"
                     "m = ezdxf.readfile(sys.argv[1]).modelspace()\n"
                     "ts = [t for t in m.query('TEXT[layer==\\\"SUN-SHADOW\\\"]') if "
                     "re.fullmatch(r'\\d+\\.\\d', t.dxf.text) and t.dxf.height < 2000]\n"
                     "print(len(ts) > 100, all(tri.contains(Point(t.dxf.align_point.x, "
                     "t.dxf.align_point.y)) for t "
                     "in ts))\" " +
                     out.string()),
              "True True\n");
    transcript = Run(drawing, "VxSunMPoint\nALL\n\n@set 2057 4000\n@ok\n\nQUIT\n", out);
    EXPECT_EQ(Check(out, "4000", "thinned"), "OK\n") << transcript;
}

// The grid size field in millimetre and metre drawings, its range check, and the calculation
// height remembered in millimetres for the other dialogs.
TEST_F(MultiPointRun, RememberedValuesFollowTheDrawingUnit) {
    const fs::path mm = MakeDrawing("mm.dxf", kTwoSlabs);
    std::string transcript = Run(mm, "VxSunMPoint\nALL\n\n?\ncancel\nQUIT\n", m_dir / "o.dxf");
    EXPECT_NE(transcript.find("2057  网格大小:        edit = \"1000\""), std::string::npos)
        << transcript;
    // Confirmed values come back in the next run; a cancelled dialog changes neither the
    // detailed output nor the grid size.
    transcript = Run(mm,
                     "VxSunMPoint\nALL\n\n@set 2057 2500\n@set 2056 1\n@ok\n@esc\n"
                     "VxSunMPoint\nALL\n\n?\n@set 2056 0\ncancel\n"
                     "VxSunMPoint\nALL\n\n?\ncancel\nQUIT\n",
                     m_dir / "o.dxf");
    const std::string kept =
        "2057  网格大小:        edit = \"2500\"\n"
        "  2056  输出详细结果     check = 1 (开)";
    const size_t second = transcript.find(kept);
    ASSERT_NE(second, std::string::npos) << transcript;
    EXPECT_NE(transcript.find(kept, second + 1), std::string::npos) << transcript;
    const fs::path metres =
        MakeDrawing("m.dxf", "30 0 0,0 40,0 40,12 0,12\n20 0 10,40 50,40 50,52 10,52\n", "", 6);
    transcript = Run(metres,
                     "VxSunMPoint\nALL\n\n?\n@set 2057 0\n@ok\n@set 2057 0.0001\n@set 2055 1.5\n"
                     "@ok\n@esc\nVxShadow2d\nALL\n\n?\ncancel\nQUIT\n",
                     m_dir / "o.dxf");
    EXPECT_NE(transcript.find("2057  网格大小:        edit = \"1\""), std::string::npos)
        << transcript;
    EXPECT_NE(transcript.find("请输入 1e-07 到 10000 之间的数值。"), std::string::npos)
        << transcript;
    // The height typed in metres comes back in the shadow outline dialog.
    EXPECT_NE(transcript.find("edit = \"1.5\""), std::string::npos) << transcript;
}

// A plane above every building: said once, and every point gets the whole period (8 hours).
TEST_F(MultiPointRun, PlaneAboveEverythingGetsTheWholePeriod) {
    const fs::path drawing = MakeDrawing("high.dxf", kTwoSlabs);
    const fs::path out = m_dir / "high-out.dxf";
    const std::string transcript = Run(drawing,
                                       "VxSunMPoint\nALL\n\n@set 2055 30000\n@set 2057 5000\n@ok\n"
                                       "-10000,-10000\n60000,70000\nQUIT\n",
                                       out);
    EXPECT_NE(transcript.find("没有高出计算高度 30000 的遮挡物"), std::string::npos) << transcript;
    EXPECT_EQ(Output("/usr/bin/python3 -c \"import ezdxf, sys, re\n"
                     "m = ezdxf.readfile(sys.argv[1]).modelspace()\n"
                     "v = {t.dxf.text for t in m.query('TEXT[layer==\\\"SUN-SHADOW\\\"]') if "
                     "re.fullmatch(r'\\d+\\.\\d', t.dxf.text) and t.dxf.height < 5000}\n"
                     "print(sorted(v))\" " +
                     out.string()),
              "['8.0']\n");
}

// Bad input: a message that says what is wrong, and nothing drawn.
TEST_F(MultiPointRun, BadInputIsRefusedWithAMessageAndNothingDrawn) {
    const fs::path drawing =
        MakeDrawing("bad.dxf", kTwoSlabs, "open 0,20000 60000,20000 30000,60000\n");
    struct Case {
        std::string answers;  // after the dialog
        std::string message;
    };
    const Case cases[] = {
        {"0,0\n500,500\n", "大于分析区域"},
        {"0,0\n0,30000\n", "分析区域的大小为零"},
        {"P\n30000,20000\n", "不是闭合的"},
        {"P\n20000,-50000\n", "没有选到多段线"},
        {"0,0\n1000000,1000000\n", "网格有 11115556 个点，超过上限 10000000"},
        {"-10000,-10000\n60000,70000\n@esc\n", "已中断，没有画出结果"},
        {"@esc\n", "命令: QUIT"},
    };
    for (const Case& c : cases) {
        const fs::path out = m_dir / "bad-out.dxf";
        const std::string grid = c.message.find("网格有") != std::string::npos ? "300" : "1000";
        const std::string transcript =
            Run(drawing, "VxSunMPoint\nALL\n\n@set 2057 " + grid + "\n@ok\n" + c.answers + "QUIT\n",
                out);
        EXPECT_NE(transcript.find(c.message), std::string::npos) << transcript;
        EXPECT_NE(transcript.find("solx-exit=0"), std::string::npos) << transcript;
        EXPECT_EQ(Tally(out), "0 0\n") << c.answers;
    }
}

}  // namespace
