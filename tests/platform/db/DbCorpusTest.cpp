// Load-and-save round trips of drawings no one here wrote, judged by an independent reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "DbTestSupport.h"

namespace fs = std::filesystem;
using namespace solx::dbtest;

namespace {

std::vector<fs::path> libraryFiles() {
    std::vector<fs::path> files;
    fs::path root = "/usr/share/librecad/library";
    if (!fs::exists(root)) return files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && e.path().extension() == ".dxf") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

void roundTripAll(const std::vector<fs::path>& files, const std::string& name) {
    fs::path dir = scratchDir(name);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (size_t i = 0; i < files.size(); ++i) {
        std::string saved = (dir / (std::to_string(i) + ".dxf")).string();
        std::string error = loadAndSave(files[i].string(), saved);
        ASSERT_EQ(error, "") << files[i];
        pairs.emplace_back(files[i].string(), saved);
    }
    std::vector<std::string> failures = checkRoundTrips(pairs, dir);
    for (const auto& f : failures) ADD_FAILURE() << f;
}

}  // namespace

// Every sixth file of the sorted block library: about 200 drawings, the same ones every run.
TEST(DbCorpus, LibreCadLibrarySampleSurvivesLoadAndSave) {
    std::vector<fs::path> all = libraryFiles();
    if (all.empty()) GTEST_SKIP() << "librecad-data is not installed";
    std::vector<fs::path> sample;
    for (size_t i = 0; i < all.size(); i += 6) sample.push_back(all[i]);
    roundTripAll(sample, "librecad");
}
