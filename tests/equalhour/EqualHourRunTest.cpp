// "VxSunEqCurve" run by solx end to end: the sample district through
// examples/district-equal-hours.scr, and small drawings made with ezdxf for the level rules, the
// whole-period line, a plane above every building and the facade mode left at its first prompt.
// Saved drawings are read back with ezdxf and shapely (tests/equalhour/check_equal_hours.py).

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

class EqualHourRun : public solx::testing::ScriptRunTest {
protected:
    EqualHourRun() : ScriptRunTest("solx-eqcurve-") {}
    std::string Check(const fs::path& out, const std::string& levels) {
        return Output("/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/equalhour/check_equal_hours.py " +
                      out.string() + " " + levels + " 2>&1");
    }
    // The entities on the shadow layer: their types, and how many carry info rows.
    std::string Tally(const fs::path& out) {
        return Output(
            "/usr/bin/python3 -c \"import ezdxf, sys; m = "
            "ezdxf.readfile(sys.argv[1]).modelspace(); "
            "s = m.query('*[layer==\\\"SUN-SHADOW\\\"]'); "
            "print(sorted(set(e.dxftype() for e in s)), len(s), "
            "sum(e.has_xdata('SOLX_INFO') for e in s))\" " +
            out.string());
    }
    // A drawing of closed polylines on the building layer, one a line: "thickness x,y x,y ...".
    fs::path MakeDrawing(const std::string& name, const std::string& buildings) {
        const fs::path path = m_dir / name;
        const fs::path spec = m_dir / (name + ".txt");
        std::ofstream(spec) << buildings;
        Output(
            "/usr/bin/python3 -c \"import ezdxf, sys\n"
            "d = ezdxf.new('R2010'); d.header['\\$INSUNITS'] = 4; m = d.modelspace()\n"
            "for line in open(sys.argv[1]):\n"
            "    f = line.split()\n"
            "    pts = [tuple(map(float, p.split(','))) for p in f[1:]]\n"
            "    m.add_lwpolyline(pts, close=True, dxfattribs={'layer': 'SUN-BUILDING', "
            "'thickness': float(f[0])})\n"
            "d.saveas(sys.argv[2])\" " +
            spec.string() + " " + path.string());
        return path;
    }
    // The dialog answers for the micro-region method in plan, 8:00 to 16:00 at 6 minutes.
    static std::string Dialog(const std::string& levels, const std::string& extra = "") {
        return "VxSunEqCurve\n@set 2090 " + levels +
               "\n@click 2073\n@click 2093\n@click 2095\n@set 2048 8:00\n@set 2049 16:00\n"
               "@set 2018 6\n@set 2055 0\n" +
               extra + "@ok\n";
    }

    const std::string m_towers =
        "60000 0,0 10000,0 10000,10000 0,10000\n"
        "30000 30000,-5000 60000,-5000 60000,5000 30000,5000\n";
};

TEST_F(EqualHourRun, DistrictScriptDrawsThreeLevelsWithThePhaseTimes) {
    const fs::path out = m_dir / "district.dxf";
    std::ifstream in(SOLX_SOURCE_DIR "/examples/district-equal-hours.scr");
    const std::string script((std::istreambuf_iterator<char>(in)), {});
    const std::string transcript = Run(SOLX_SOURCE_DIR "/examples/district.dxf", script, out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_EQ(Check(out, "1:00 2:00 3:00"), "OK\n") << transcript;
    for (const char* said : {"划分微区...", "求阴影次数...", "合并微区...",
                             "其中阴影轮廓=", " 重线交线=", " 搜微区=", " 阴影次数=", " 微区合并="})
        EXPECT_NE(transcript.find(said), std::string::npos) << said << "\n" << transcript;
}

// Only the ASCII comma separates levels: "1，2" typed with a Chinese keyboard's comma reads as
// the one level 1; seventeen levels are refused before the obstructions are asked for.
TEST_F(EqualHourRun, LevelTextRules) {
    const fs::path drawing = MakeDrawing("towers.dxf", m_towers);
    const fs::path wide = m_dir / "wide.dxf";
    std::string transcript = Run(drawing, Dialog("1，2") + "ALL\n\nQUIT\n", wide);
    ASSERT_TRUE(fs::exists(wide)) << transcript;
    EXPECT_EQ(Check(wide, "1:00"), "OK\n") << transcript;

    const fs::path many = m_dir / "many.dxf";
    std::string levels;
    for (int i = 1; i <= 17; ++i) levels += std::to_string(i * 30) + ",";
    transcript = Run(drawing, Dialog(levels, "@click 2074\n") + "QUIT\n", many);
    ASSERT_TRUE(fs::exists(many)) << transcript;
    EXPECT_NE(transcript.find("最多允许同时绘制16条等照线!"), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("选择遮挡物"), std::string::npos) << transcript;
    EXPECT_EQ(Tally(many), "[] 0 0\n");
}

// The whole period as the only level: one region of everything ever shadowed, without info row,
// and only the total time.
TEST_F(EqualHourRun, WholePeriodDrawsTheUnitedShadow) {
    const fs::path drawing = MakeDrawing("towers.dxf", m_towers);
    const fs::path out = m_dir / "full.dxf";
    const std::string transcript = Run(drawing, Dialog("8") + "ALL\n\nQUIT\n", out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_EQ(Tally(out), "['INSERT'] 1 0\n") << transcript;
    EXPECT_NE(transcript.find("共耗时"), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("其中阴影轮廓="), std::string::npos) << transcript;
}

// A plane above every building: nothing casts a shadow, nothing is drawn, the times are said;
// the facade lines, left with Esc at their first prompt, draw nothing.
TEST_F(EqualHourRun, NothingToDrawAndFacadeLeftAtItsFirstPrompt) {
    const fs::path drawing = MakeDrawing("towers.dxf", m_towers);
    const fs::path high = m_dir / "high.dxf";
    std::string transcript =
        Run(drawing, Dialog("1,2", "@set 2055 70000\n") + "ALL\n\nQUIT\n", high);
    ASSERT_TRUE(fs::exists(high)) << transcript;
    EXPECT_NE(transcript.find("其中阴影轮廓="), std::string::npos) << transcript;
    EXPECT_EQ(Tally(high), "[] 0 0\n");

    const fs::path facade = m_dir / "facade.dxf";
    transcript = Run(drawing, "VxSunEqCurve\n@click 2094\n@ok\nALL\n\n@esc\nQUIT\n", facade);
    EXPECT_NE(transcript.find("请点取要生成等照时线的外墙线"), std::string::npos) << transcript;
    EXPECT_EQ(Tally(facade), "[] 0 0\n");
}

// The fitting method against the micro-region method on the two towers: the ground below 2
// hours agrees within one grid cell along the outline (tests/equalhour/compare_fitted_lines.py).
// With smoothing the lines become tagged spline-fitted 2D polylines; the number grid adds its
// (columns + 1) + (rows + 1) grey lines.
TEST_F(EqualHourRun, FittedLinesAgreeWithTheMicroRegions) {
    const fs::path drawing = MakeDrawing("towers.dxf", m_towers);
    const std::string area = "-40000,-20000\n100000,80000\n";
    const fs::path micro = m_dir / "micro.dxf";
    std::string transcript = Run(drawing, Dialog("2") + "ALL\n\nQUIT\n", micro);
    ASSERT_TRUE(fs::exists(micro)) << transcript;

    const std::string fit = "@click 2096\n@set 2057 1000\n";
    const fs::path fitted = m_dir / "fitted.dxf";
    transcript =
        Run(drawing, Dialog("2", fit + "@set 2099 0\n") + "ALL\n\n" + area + "QUIT\n", fitted);
    ASSERT_TRUE(fs::exists(fitted)) << transcript;
    EXPECT_EQ(Check(fitted, "2:00"), "OK\n") << transcript;
    const std::string compared =
        Output("/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/equalhour/compare_fitted_lines.py " +
               fitted.string() + " " + micro.string() + " 2:00 1000 -40000,-20000,100000,80000");
    EXPECT_EQ(compared.rfind("OK ", 0), 0u) << compared << transcript;

    const fs::path smooth = m_dir / "smooth.dxf";
    transcript = Run(
        drawing, Dialog("1,2", fit + "@set 2099 1\n@set 2100 1\n") + "ALL\n\n" + area + "QUIT\n",
        smooth);
    ASSERT_TRUE(fs::exists(smooth)) << transcript;
    const std::string tally = Output(
        "/usr/bin/python3 -c \"import ezdxf, sys; m = ezdxf.readfile(sys.argv[1]).modelspace(); "
        "s = m.query('*[layer==\\\"SUN-SHADOW\\\"]'); "
        "p = [e for e in s if e.dxftype() == 'POLYLINE']; "
        "print(len(p) >= 2, all(e.has_xdata('SOLX_INFO') and e.is_closed and "
        "len(e.vertices) > 10 for e in p), "
        "sum(e.dxftype() == 'LINE' and e.dxf.color == 8 for e in s), "
        "sum(e.dxftype() == 'LWPOLYLINE' for e in s))\" " +
        smooth.string());
    EXPECT_EQ(tally, "True True 242 0\n") << transcript;
}

}  // namespace
