// "VxWinSunAna" run by solx on the sample district through examples/district.scr; the saved
// drawing is read back with ezdxf (tests/analysis_table/check_window_table.py).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "../support/CommandOutput.h"

namespace fs = std::filesystem;

namespace {

std::string Output(const std::string& command) {
    return solx::testing::CommandOutput(command);
}

// Two buildings' windows: one table per building, each row a run of one building's windows, no
// text over its cell's lines.
TEST(WinSunAnaRun, DistrictScriptWritesTheNoteAndOneTablePerBuilding) {
    const fs::path out =
        fs::temp_directory_path() / ("solx-window-table-" + std::to_string(::getpid()) + ".dxf");
    const std::string run = std::string(SOLX_BINARY_DIR) + "/bin/solx --script " +
                            SOLX_SOURCE_DIR "/examples/district.scr " SOLX_SOURCE_DIR
                                            "/examples/district.dxf --out " +
                            out.string() + " 2>&1";
    const std::string transcript = Output(run);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_NE(transcript.find("共耗时"), std::string::npos) << transcript;
    // The rectangles are the window selection of the script.
    const std::string check = "/usr/bin/python3 " SOLX_SOURCE_DIR
                              "/tests/analysis_table/check_window_table.py " +
                              out.string() +
                              " " SOLX_SOURCE_DIR
                              "/examples/district.dxf 140000,64000 180000,90000 "
                              "215000,64000 260000,90000 2>&1";
    EXPECT_EQ(Output(check), "OK\n");
    fs::remove(out);
}

// A minimum other than the standard's is announced before computing and stated in the note;
// the note states the period actually counted when the standard's time range narrows the
// dialog's; a window whose sill height is absurd is named and left out.
TEST(WinSunAnaRun, NoteStatesTheMinimumAndTheCountedPeriod) {
    const fs::path dir =
        fs::temp_directory_path() / ("solx-window-note-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path drawing = dir / "odd.dxf", out = dir / "out.dxf", script = dir / "run.scr";
    // The sample with one window's sill a thousand light years up.
    const std::string make =
        "/usr/bin/python3 -c \"import ezdxf, sys; d = ezdxf.readfile(sys.argv[1]); "
        "w = d.modelspace().query('INSERT[name==\\\"_SUNWD\\\"]').first; "
        "w.dxf.insert = (w.dxf.insert.x, w.dxf.insert.y, 1e300); "
        "print(w.dxf.handle); d.saveas(sys.argv[2])\" " SOLX_SOURCE_DIR "/examples/sample.dxf " +
        drawing.string();
    std::string handle = Output(make);
    while (!handle.empty() && handle.back() == '\n') handle.pop_back();
    ASSERT_FALSE(handle.empty());
    {
        std::ofstream(script) << "VxWinSunAna\nALL\n\nALL\n\n@set 2048 7:00\n@set 2049 17:00\n"
                                 "@set 2072 1\n@ok\n80000,0\nQUIT\n";
    }
    const std::string transcript =
        Output("SOLX_CONFIG_DIR=" + dir.string() + " " + SOLX_BINARY_DIR + "/bin/solx --script " +
               script.string() + " " + drawing.string() + " --out " + out.string() + " 2>&1");
    EXPECT_NE(transcript.find("注意：表格按最少日照时间 1:00 判定，当前标准要求 2:00。"),
              std::string::npos)
        << transcript;
    // (The sample's declared unit decides whether that is 1e+297 or 1e+300 metres.)
    const size_t named = transcript.find("日照窗 #" + handle + " 的窗台高 1e+");
    ASSERT_NE(named, std::string::npos) << transcript;
    EXPECT_NE(transcript.find("米不合理，已略过。", named), std::string::npos) << transcript;
    std::ifstream in(out);
    const std::string saved((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(saved.find("时间：7:00～17:00（真太阳时）"), std::string::npos);
    EXPECT_NE(saved.find("计入时段：8:00～16:00"), std::string::npos) << "the standard's range";
    EXPECT_NE(saved.find("最少日照时间：1:00"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
