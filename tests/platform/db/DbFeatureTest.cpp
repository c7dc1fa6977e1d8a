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
