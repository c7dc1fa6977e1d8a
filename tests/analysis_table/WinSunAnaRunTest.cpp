// "VxWinSunAna" run by solx on the sample district through examples/district.scr; the saved
// drawing is read back with ezdxf (tests/analysis_table/check_window_table.py).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Output(const std::string& command) {
    std::string text;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, p)) text += buf;
        pclose(p);
    }
    return text;
}

TEST(WinSunAnaRun, DistrictScriptWritesTheNoteAndOneRowPerWindowRun) {
    const fs::path out =
        fs::temp_directory_path() / ("solx-window-table-" + std::to_string(::getpid()) + ".dxf");
    const std::string run = std::string(SOLX_BINARY_DIR) + "/bin/solx --script " +
                            SOLX_SOURCE_DIR "/examples/district.scr " SOLX_SOURCE_DIR
                                            "/examples/district.dxf --out " +
                            out.string() + " 2>&1";
    const std::string transcript = Output(run);
    ASSERT_TRUE(fs::exists(out)) << transcript;
    EXPECT_NE(transcript.find("共耗时"), std::string::npos) << transcript;
    // The rectangle is the window selection of the script.
    const std::string check = "/usr/bin/python3 " SOLX_SOURCE_DIR
                              "/tests/analysis_table/check_window_table.py " +
                              out.string() +
                              " " SOLX_SOURCE_DIR
                              "/examples/district.dxf 140000,64000 "
                              "180000,90000 2>&1";
    EXPECT_EQ(Output(check), "OK\n");
    fs::remove(out);
}

}  // namespace
