// Round trips of drawings with features the database does not model, written by ezdxf.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "DbTestSupport.h"

namespace fs = std::filesystem;
using namespace solx::dbtest;

namespace {

std::vector<std::string> makeSamples(const fs::path& dir) {
    std::string output;
    int rc = run("/usr/bin/python3 " SOLX_SOURCE_DIR "/tests/platform/db/make_db_samples.py '" +
                     dir.string() + "'",
                 output);
    EXPECT_EQ(rc, 0) << output;
    std::vector<std::string> files;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) files.push_back(line);
    return files;
}

}  // namespace

// R2010 with MTEXT, SPLINE, DIMENSION, HATCH, binary XRECORD, groups and layouts; R2000; R12.
TEST(DbFeatures, GeneratedDrawingsSurviveLoadAndSave) {
    fs::path dir = scratchDir("features");
    std::vector<std::string> files = makeSamples(dir);
    ASSERT_EQ(files.size(), 3u);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& f : files) {
        std::string saved = f + ".saved.dxf";
        ASSERT_EQ(loadAndSave(f, saved), "") << f;
        // A second generation must be as good as the first: nothing drifts on repeated saves.
        std::string again = f + ".again.dxf";
        ASSERT_EQ(loadAndSave(saved, again), "") << saved;
        pairs.emplace_back(f, saved);
        pairs.emplace_back(f, again);
    }
    for (const auto& failure : checkRoundTrips(pairs, dir)) ADD_FAILURE() << failure;
}

// The round-trip checks pass only on the checker's word for every pair: silence, a crash of the
// checker, a missing or foreign verdict, or a failing exit status are failures.
TEST(DbFeatures, RoundTripCheckNeedsAVerdictForEveryPair) {
    const std::vector<std::pair<std::string, std::string>> pairs = {{"a.dxf", "a.saved.dxf"},
                                                                    {"b.dxf", "b.saved.dxf"}};
    const std::string bothOk = "a.saved.dxf: ok\nb.saved.dxf: ok\n";
    EXPECT_TRUE(roundTripFailures(pairs, 0, bothOk).empty());
    struct Case {
        const char* name;
        int status;
        std::string output;
    };
    const Case bad[] = {
        {"no output", 0, ""},
        {"one verdict missing", 0, "a.saved.dxf: ok\n"},
        {"a problem", 1, "a.saved.dxf: ok\nb.saved.dxf: audit: bad handle\n"},
        {"failing status", 1, bothOk},
        {"traceback after the verdicts", 1, bothOk + "Traceback (most recent call last):\n"},
        {"verdicts for other files", 0, "x.dxf: ok\ny.dxf: ok\n"},
    };
    for (const Case& c : bad)
        EXPECT_FALSE(roundTripFailures(pairs, c.status, c.output).empty()) << c.name;

    // The real checker on a pair whose saved file does not exist.
    fs::path dir = scratchDir("verdict");
    const auto failures =
        checkRoundTrips({{(dir / "none.dxf").string(), (dir / "none.saved.dxf").string()}}, dir);
    ASSERT_FALSE(failures.empty());
    EXPECT_NE(failures[0].find("cannot read"), std::string::npos) << failures[0];
}
