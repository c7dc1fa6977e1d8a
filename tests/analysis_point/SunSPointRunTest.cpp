// "VxSunSPoint" run by solx end to end on the sample district: both query modes from one
// script, the tip lines of the transcript, the markers of the saved drawing read back with
// ezdxf (tests/analysis_point/check_points.py), the current layer put back, the mode and the
// step kept for the next run, and every way out of the command.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>

#include "../support/CommandOutput.h"

namespace fs = std::filesystem;

namespace {

class SPointRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("solx-spoint-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // The transcript of solx on the district with the script, ending in "solx-exit=N".
    std::string Run(const std::string& script) {
        const fs::path file = m_dir / "run.scr";
        std::ofstream(file) << script;
        return solx::testing::CommandOutput(
            "SOLX_CONFIG_DIR=" + m_dir.string() + " " SOLX_BINARY_DIR "/bin/solx --script " +
            file.string() + " " SOLX_SOURCE_DIR "/examples/district.dxf --out " + Out() +
            " 2>&1; echo solx-exit=$?");
    }
    std::string Out() const { return (m_dir / "out.dxf").string(); }
    std::string Check() const {
        return solx::testing::CommandOutput("/usr/bin/python3 " SOLX_SOURCE_DIR
                                            "/tests/analysis_point/check_points.py " +
                                            Out() + " 2>&1");
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    fs::path m_dir;
};

// The command with every obstruction and the dialog's period, step and height, before OK.
const std::string kDialog =
    "VxSunSPoint\nALL\n\n@set 2048 8:00\n@set 2049 16:00\n"
    "@set 2018 10\n@set 2055 0\n";
const std::string kSetup = kDialog + "@ok\n";

// The report a tip line stands for: "[tip] 最长有效连照 A | 总有效日照 B | 日照时段 P Q" gives
// "最长有效连照：A；总有效日照：B; 日照时段：P；Q；".
std::string ReportOfTip(const std::string& line) {
    std::smatch m;
    const std::regex tip(R"(\[tip\] 最长有效连照 (\S+) \| 总有效日照 (\S+) \| 日照时段 ?(.*))");
    if (!std::regex_match(line, m, tip)) return "?";
    std::string report = "最长有效连照：" + m[1].str() + "；总有效日照：" + m[2].str();
    std::string spans = m[3].str();
    if (spans.empty()) return report;
    report += "; 日照时段：";
    std::istringstream words(spans);
    for (std::string w; words >> w;) report += w + "；";
    return report;
}

std::vector<std::string> TipLines(const std::string& transcript) {
    std::vector<std::string> lines;
    std::istringstream in(transcript);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[tip] ", 0) == 0) lines.push_back(line);
    return lines;
}

TEST_F(SPointRun, BothModesLeaveTheirMarkersAndPutTheLayerBack) {
    const std::string t = Run(kSetup +
                              "@move 160000,30000\n@move 160000,30000\n@pick 160000,30000\n"
                              "@key E\n3000\n@move 160000,40000\n@key D\n"
                              "165000,35000\n@yes\nD\n@move 300000,200000\n@key D\n"
                              "E\n6000\n300000,200000\n300000,210000\n@no\n\nQUIT\n");
    ASSERT_NE(t.find("solx-exit=0"), std::string::npos) << t;
    EXPECT_NE(t.find("测试时间：8～16；时间间隔：10分；计算高度：0\n"), std::string::npos) << t;
    // Tips: the first move, the same point again at the new height after "E", the second move,
    // the far point. The resting cursor and the click at the same point add none.
    const std::vector<std::string> tips = TipLines(t);
    ASSERT_EQ(tips.size(), 4u) << t;
    EXPECT_EQ(Count(t, "\n69\n"), 1) << t;           // the key "E" is echoed by its code
    EXPECT_EQ(Count(t, "是否标注在图上?"), 2) << t;  // the point picked twice is analysed once
    const std::string check = Check();
    EXPECT_NE(check.find("CLAYER 0\n"), std::string::npos) << check;
    std::istringstream lines(check);
    std::vector<std::string> markers;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("MARKER", 0) == 0) markers.push_back(line);
    ASSERT_EQ(markers.size(), 3u) << check;
    // The click marks the point analysed last, with its report as the tip showed it.
    EXPECT_EQ(markers[0], "MARKER|BREL_PROMPTSYMBOL|160000,30000,0|1|" + ReportOfTip(tips[0]) +
                              "|" + ReportOfTip(tips[0]))
        << check;
    // The picked points at the heights entered, with the report of the Yes/No box; the text
    // is drawn only after Yes.
    const size_t box = t.find("最长有效连照：", t.find("165000,35000"));
    const std::string picked = t.substr(box, t.find('\n', box) - box);
    EXPECT_EQ(markers[1], "MARKER|BREL_PROMPTSYMBOL|165000,35000,3000|1|" + picked + "|" + picked);
    EXPECT_NE(markers[2].find("|300000,210000,6000|0|-|最长有效连照："), std::string::npos)
        << markers[2];
}

TEST_F(SPointRun, ModeAndStepOutliveTheRun) {
    const std::string t =
        Run(kDialog +
            "@set 2018 5\n@ok\n@key D\n\nVxSunSPoint\nALL\n\n@set 2055 10000\n@ok\n"
            "158500,200\n@no\n\nQUIT\n");
    ASSERT_NE(t.find("solx-exit=0"), std::string::npos) << t;
    EXPECT_EQ(Count(t, "时间间隔：5分"), 2) << t;
    // The second run starts in the pick mode the first one ended in; its point lies inside
    // building 3 (27 m high) at 10 m.
    const size_t second = t.find("VxSunSPoint", t.find("VxSunSPoint") + 1);
    EXPECT_NE(t.find("(当前状态：点选查询)", second), std::string::npos) << t;
    EXPECT_EQ(t.find("(当前状态：动态查询)", second), std::string::npos) << t;
    EXPECT_NE(
        t.find(
            "158500,200\n测试点在建筑物内部，照不到太阳。\n最长有效连照：0:00；总有效日照：0:00\n"
            "是否标注在图上?"),
        std::string::npos)
        << t;
}

TEST_F(SPointRun, EveryWayOutLeavesTheDrawingAsItWas) {
    // Esc at the selection, Cancel in the dialog, Esc at the height prompt (the height stays;
    // the point under the cursor, the origin as none was reported, is analysed again), Esc
    // while tracking, a height below the ground (refused), Enter at the pick prompt.
    const std::string t = Run("VxSunSPoint\n@esc\nVxSunSPoint\nALL\n\n@cancel\n" + kSetup +
                              "@key E\n@esc\n@esc\n" + kSetup + "@key D\nE\n-500\n\nQUIT\n");
    ASSERT_NE(t.find("solx-exit=0"), std::string::npos) << t;
    EXPECT_NE(t.find("测试高度不能低于地面，仍为 0。"), std::string::npos) << t;
    EXPECT_EQ(TipLines(t).size(), 1u) << t;
    const std::string check = Check();
    EXPECT_EQ(check, "CLAYER 0\n") << check;
}

TEST_F(SPointRun, AClickBeforeAnyPointMarksTheOriginWithNoTextAndBadInputStops) {
    const std::string t = Run(kSetup + "@key x\n@pick 0,0\n@esc\nQUIT\n");
    ASSERT_NE(t.find("solx-exit=0"), std::string::npos) << t;
    EXPECT_NE(Check().find("MARKER|BREL_PROMPTSYMBOL|0,0,0|1|-|\n"), std::string::npos) << Check();

    // A cursor event without its point and a height that is not a distance stop the script.
    for (const char* bad : {"@move\n", "@key E\nhigh\n"}) {
        const std::string stopped = Run(kSetup + bad + "QUIT\n");
        EXPECT_NE(stopped.find("does not fit the prompt"), std::string::npos) << stopped;
        EXPECT_NE(stopped.find("solx-exit=1"), std::string::npos) << stopped;
    }
}

}  // namespace
