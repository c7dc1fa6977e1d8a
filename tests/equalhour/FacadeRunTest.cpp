// The facade mode of "VxSunEqCurve" run by solx end to end on a drawing made with ezdxf (a slab
// behind a long wall, two windows): walls picked one by one, a whole slab, the messages of
// repeated and wrong picks, Esc at the prompts and at the drag; the saved drawing is read back
// with ezdxf (tests/equalhour/check_facade.py). The heights the south face's lines must reach are
// worked out here from the sun's positions and the wall's height and distance alone.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "../support/CommandOutput.h"
#include "../support/ScriptRun.h"
#include "analysis/SolxFrame.h"
#include "solx/SolxDegree.h"
#include "solx/SolxSunSample.h"
#include "solx/SolxTimeList.h"

namespace fs = std::filesystem;

namespace {

std::string Py(const std::string& args) {
    return solx::testing::CommandOutput(
        "/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/equalhour/check_facade.py " + args + " 2>&1");
}

// The dialog: levels in hours, the facade mode, 8:00 to 16:00 every 10 minutes, a 1000 mm
// grid, smoothing off, the number grid labelled every fifth node.
const std::string kDialog =
    "VxSunEqCurve\n@set 2090 1,2,4\n@click 2073\n@click 2094\n@set 2048 8:00\n"
    "@set 2049 16:00\n@set 2018 10\n@set 2057 1000\n@set 2099 0\n@set 2100 1\n@set 2101 5\n@ok\n"
    "ALL\n\n";

class FacadeRun : public solx::testing::ScriptRunTest {
protected:
    FacadeRun() : ScriptRunTest("solx-facade-") {}
    void SetUp() override {
        ScriptRunTest::SetUp();
        m_drawing = m_dir / "facade.dxf";
        Py("make " + m_drawing.string());
        ASSERT_TRUE(fs::exists(m_drawing));
        m_sun = ReadSunSetting();  // the settings a fresh session starts with
        m_sun.startMinute = 480;
        m_sun.endMinute = 960;
        m_sun.stepMinutes = 10;
        m_samples = SampleSun(m_sun);
    }
    // The sunlight at height z on the south face, 10 out of it: the light must clear the 30 m
    // wall whose north face stands 18990 further south, and come from the south.
    double Minutes(double z) const {
        SolxSunlitRun run(m_sun.startMinute, m_sun.endMinute, m_sun.stepMinutes);
        for (const SolxSunSample& s : m_samples) {
            const bool lit = s.ray.z < 0 && s.ray.y > 0 && z > 30000 - 18990 * -s.ray.z / s.ray.y;
            run.Add(s.minute, lit);
        }
        return SolxTimeList(run.Finish(), m_sun.startMinute, m_sun.endMinute).GetTotalTime();
    }
    // The lowest height that gets `level` hours, as LEVEL=HEIGHT for the checker.
    std::string Height(double level) const {
        double z = 0;
        while (z < 60000 && Minutes(z) < level * 60) z += 10;
        return " " + std::to_string(static_cast<int>(level)) + "=" + std::to_string(z);
    }

    fs::path m_drawing;
    SolxSunSetting m_sun;
    std::vector<SolxSunSample> m_samples;
};

TEST_F(FacadeRun, WallsPickedInTurnJoinAndFollowTheShadowEdge) {
    const fs::path out = m_dir / "walls.dxf";
    // The south wall, the same again, the east wall (joined), Enter, the drag.
    const std::string transcript =
        Run(m_drawing, kDialog + "10000,0\n10000,0\n20000,5000\n\n0,-100000\nQUIT\n", out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_NE(transcript.find("已选择1条墙线。"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("墙线已经选择！"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("已选择2条墙线。"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("连续墙线按逆时针顺序点取或 [选取平板建筑(S)]<结束>"),
              std::string::npos);
    const std::wstring text = SolxDegree(Minutes(20000) / 60).TimeFormat(false);
    const std::string window(text.begin(), text.end());  // digits and a colon
    EXPECT_EQ(Py("check " + out.string() + " 0 -100000 0:20000:60000,20000:10000:60000" +
                 Height(1) + Height(2) + Height(4) + " window=" + window),
              "OK\n")
        << transcript;
}

TEST_F(FacadeRun, WholeSlabUnfoldsThreeWallsAndABreakLeavesOnlyTheMarker) {
    const fs::path out = m_dir / "slab.dxf";
    // Enter switches to slabs; the open polyline is no slab; the slab, then again; Enter; then
    // the user's break while the panels are computed.
    const std::string transcript =
        Run(m_drawing, kDialog + "\n10000,30000\n10000,0\n10000,0\n\n@esc\nQUIT\n", out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    for (const char* said : {"所选对象不是平板建筑", "已选择1个平板建筑。", "此平板建筑已经选择！"})
        EXPECT_NE(transcript.find(said), std::string::npos) << said << "\n" << transcript;
    EXPECT_EQ(transcript.find("共耗时"), std::string::npos) << transcript;
    // Nothing half-drawn stays: no line on the facades nor on the unfolded drawing, no panel;
    // the marker of the chosen slab does.
    EXPECT_EQ(Py("count " + out.string()), "0 0 0 1\n") << transcript;

    // Dragged instead: the south, east and west walls (the north one faces due north), the west
    // wall after a gap since it does not start where the east wall ends.
    const fs::path placed = m_dir / "slab-placed.dxf";
    const std::string second = Run(m_drawing, kDialog + "\n10000,0\n\n0,0\nQUIT\n", placed);
    EXPECT_EQ(Py("check " + placed.string() +
                 " 0 0 0:20000:60000,20000:10000:60000,35000:10000:60000" + Height(2)),
              "OK\n")
        << second;
}

TEST_F(FacadeRun, EscAtThePromptsLeavesNothing) {
    for (const std::string& answers : {std::string("@esc\n"), std::string("10000,0\n@esc\n"),
                                       std::string("\n10000,0\n@esc\n")}) {
        const fs::path out = m_dir / "esc.dxf";
        fs::remove(out);
        const std::string transcript = Run(m_drawing, kDialog + answers + "QUIT\n", out);
        ASSERT_TRUE(fs::exists(out)) << transcript;
        EXPECT_EQ(Py("count " + out.string()), answers.front() == '\n' ? "0 0 0 1\n" : "0 0 0 0\n")
            << answers << transcript;
        // The highlighted copies of the chosen walls are gone too.
        EXPECT_EQ(solx::testing::CommandOutput(
                      "/usr/bin/python3 -c \"import ezdxf, sys; m = "
                      "ezdxf.readfile(sys.argv[1]).modelspace(); "
                      "print(len(m.query('LINE[layer==\\\"SUN-BUILDING\\\"]')))\" " +
                      out.string()),
                  "0\n");
    }
}

// A slab with a round end as a whole slab: the arc wall joins the south wall, its lines lie on the
// round facade.
TEST_F(FacadeRun, RoundWallUnfoldsAndCarriesItsLines) {
    const fs::path drawing = m_dir / "round.dxf";
    Py("make-arc " + drawing.string());
    const fs::path out = m_dir / "round-out.dxf";
    const std::string transcript = Run(drawing, kDialog + "\n10000,0\n\n0,0\nQUIT\n", out);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_EQ(Py("check-arc " + out.string()), "OK\n") << transcript;
}

}  // namespace
