// The drawing scale and the CSV copy of the window tables, run by solx on the small sample; the
// saved drawings and the CSV are read back with ezdxf and Python's csv module
// (tests/analysis_table/check_scale.py).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../support/CommandOutput.h"

namespace fs = std::filesystem;

namespace {

struct SolxRun {
    std::string transcript;
    int status = 0;
};

SolxRun Output(const std::string& command) {
    const solx::testing::CommandResult result = solx::testing::RunCommand(command);
    return {result.output, result.status};
}

class DrawingScaleRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("solx-scale-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the script on the drawing (the sample by default), saving to out.
    SolxRun Solx(const std::string& script, const fs::path& out,
                 const std::string& drawing = SOLX_SOURCE_DIR "/examples/sample.dxf") {
        const fs::path file = dir_ / "run.scr";
        std::ofstream(file) << script;
        return Output("SOLX_CONFIG_DIR=" + dir_.string() +
                      " " SOLX_BINARY_DIR "/bin/solx --script " + file.string() + " --out " +
                      out.string() + " " + drawing + " 2>&1");
    }
    static std::string Check(const std::string& args) {
        std::string text =
            Output("/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/analysis_table/check_scale.py " +
                   args + " 2>&1")
                .transcript;
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }
    fs::path dir_;
};

constexpr const char* kTable = "VxWinSunAna\nALL\n\nALL\n\n@ok\n80000,0\n";

// The scale is stored in the drawing, comes back from the saved file as the prompt's default,
// and Enter keeps it.
TEST_F(DrawingScaleRun, ScaleRoundTripsThroughTheSavedDrawing) {
    const fs::path first = dir_ / "first.dxf", second = dir_ / "second.dxf";
    EXPECT_EQ(Check("scale " SOLX_SOURCE_DIR "/examples/sample.dxf"), "none");
    SolxRun run = Solx("VxSetScale\n1000\nQUIT\n", first);
    ASSERT_EQ(run.status, 0) << run.transcript;
    EXPECT_NE(run.transcript.find("出图比例 1:<500>: 1000"), std::string::npos) << run.transcript;
    EXPECT_EQ(Check("scale " + first.string()), "1000");
    run = Solx("VxSetScale\n\nQUIT\n", second, first.string());
    EXPECT_NE(run.transcript.find("出图比例 1:<1000>:"), std::string::npos) << run.transcript;
    EXPECT_EQ(Check("scale " + second.string()), "1000");
}

// A table drawn at 1:1000 is twice the height of the same table at 1:500, measured in the
// saved drawings; the window table dialog shows the scale and sets it too.
TEST_F(DrawingScaleRun, TablesGrowWithTheScale) {
    const fs::path at500 = dir_ / "500.dxf", at1000 = dir_ / "1000.dxf";
    SolxRun run = Solx(std::string(kTable) + "QUIT\n", at500);
    ASSERT_EQ(run.status, 0) << run.transcript;
    const std::string viaDialog = "VxWinSunAna\nALL\n\nALL\n\n2077=1000\n@ok\n80000,0\nQUIT\n";
    run = Solx(viaDialog, at1000);
    ASSERT_EQ(run.status, 0) << run.transcript;
    EXPECT_EQ(Check("scale " + at1000.string()), "1000");
    const double h500 = std::atof(Check("height " + at500.string()).c_str());
    const double h1000 = std::atof(Check("height " + at1000.string()).c_str());
    ASSERT_GT(h500, 0.0);
    EXPECT_NEAR(h1000 / h500, 2.0, 1e-6) << h500 << " " << h1000;
}

// Zero, negative numbers and text do not fit the prompt (a script stops, nothing saved); a
// number outside 1..100000 is answered and asked again.
TEST_F(DrawingScaleRun, BadScalesAreRefused) {
    for (const char* bad : {"0", "-500", "abc"}) {
        const fs::path out = dir_ / "bad.dxf";
        const SolxRun run = Solx(std::string("VxSetScale\n") + bad + "\nQUIT\n", out);
        EXPECT_EQ(run.status, 1) << bad << "\n" << run.transcript;
        EXPECT_NE(run.transcript.find("does not fit"), std::string::npos) << run.transcript;
        if (std::string(bad) != "abc") {
            EXPECT_NE(run.transcript.find("a number greater than 0"), std::string::npos)
                << run.transcript;
        }
        EXPECT_FALSE(fs::exists(out)) << bad;
    }
    const fs::path out = dir_ / "again.dxf";
    const SolxRun run = Solx("VxSetScale\n0.5\n200000\n250\nQUIT\n", out);
    ASSERT_EQ(run.status, 0) << run.transcript;
    EXPECT_NE(run.transcript.find("出图比例须在 1:1 到 1:100000 之间。"), std::string::npos)
        << run.transcript;
    EXPECT_EQ(Check("scale " + out.string()), "250");
}

// U takes the scale back like any command's change.
TEST_F(DrawingScaleRun, UndoTakesTheScaleBack) {
    const fs::path out = dir_ / "undone.dxf";
    const SolxRun run = Solx("VxSetScale\n2000\nVxSetScale\n1000\nU\nQUIT\n", out);
    ASSERT_EQ(run.status, 0) << run.transcript;
    EXPECT_NE(run.transcript.find("已放弃: VxSetScale"), std::string::npos) << run.transcript;
    EXPECT_EQ(Check("scale " + out.string()), "2000");
}

// SOLXCSV (set by SETVAR or --csv) makes the window analysis write its tables as CSV too; the
// CSV holds the texts the drawn tables show.
TEST_F(DrawingScaleRun, CsvHoldsTheTablesTexts) {
    const fs::path out = dir_ / "csv.dxf", csv = dir_ / "tables.csv";
    SolxRun run = Solx("SETVAR\nSOLXCSV\n" + csv.string() + "\n" + kTable + "QUIT\n", out);
    ASSERT_EQ(run.status, 0) << run.transcript;
    EXPECT_EQ(Check("csv " + out.string() + " " + csv.string()), "OK");
    // The option does the same; the district's two buildings give two tables.
    const fs::path out2 = dir_ / "district.dxf", csv2 = dir_ / "district.csv";
    run = Output("cd " + dir_.string() +
                 " && " SOLX_BINARY_DIR
                 "/bin/solx --csv district.csv "
                 "--script " SOLX_SOURCE_DIR "/examples/district.scr --out " +
                 out2.string() + " " SOLX_SOURCE_DIR "/examples/district.dxf 2>&1");
    ASSERT_EQ(run.status, 0) << run.transcript;
    EXPECT_EQ(Check("csv " + out2.string() + " " + csv2.string()), "OK");
}

}  // namespace
