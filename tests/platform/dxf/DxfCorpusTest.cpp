// Real drawings: every DXF file of the packaged drawing library must load, save and load again
// with exactly the same tags, and an independent reader must accept what we write.
#include <gtest/gtest.h>

#include <filesystem>

#include "DxfTestSupport.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

namespace solx::dxf {
namespace {

namespace fs = std::filesystem;
const char* const kLibrary = "/usr/share/librecad/library";

std::vector<std::string> corpusFiles() {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(kLibrary)) {
        std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".dxf" || ext == ".DXF")) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Empty when both documents hold the same tags, else where they first differ.
std::string firstDifference(const Document& a, const Document& b) {
    auto ta = test::flatten(a);
    auto tb = test::flatten(b);
    size_t n = std::min(ta.size(), tb.size());
    for (size_t i = 0; i < n; ++i) {
        if (ta[i] != tb[i]) {
            return "tag " + std::to_string(i) + ": " + std::to_string(ta[i].first) + " '" +
                   ta[i].second + "' became " + std::to_string(tb[i].first) + " '" + tb[i].second +
                   "'";
        }
    }
    if (ta.size() != tb.size())
        return std::to_string(ta.size()) + " tags became " + std::to_string(tb.size());
    return {};
}

TEST(DxfCorpus, EveryLibraryDrawingRoundTripsTagForTag) {
    if (!fs::exists(kLibrary)) GTEST_SKIP() << kLibrary << " is not installed";
    std::vector<std::string> files = corpusFiles();
    ASSERT_GT(files.size(), 1000u);
    int failures = 0;
    for (const std::string& path : files) {
        try {
            Document first = readDocument(path);
            Document second = parseDocument(serializeDocument(first), path + " (written)");
            std::string diff = firstDifference(first, second);
            if (!diff.empty()) ADD_FAILURE() << path << ": " << diff;
            failures += !diff.empty();
        } catch (const DxfError& e) {
            ADD_FAILURE() << e.what();
            ++failures;
        }
        if (failures > 10) FAIL() << "stopping after 10 failing drawings";
    }
}

TEST(DxfCorpus, IndependentReaderAcceptsWhatWeWrite) {
    if (!fs::exists(kLibrary)) GTEST_SKIP() << kLibrary << " is not installed";
    if (!test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 cannot import ezdxf";
    std::vector<std::string> files = corpusFiles();
    test::TempDir dir;
    std::vector<std::string> written;
    // Every 40th drawing: the sample spans all folders of the library and stays quick.
    for (size_t i = 0; i < files.size(); i += 40) {
        std::string out = dir.file(std::to_string(i) + ".dxf");
        writeDocument(readDocument(files[i]), out);
        written.push_back(out);
    }
    std::string report;
    EXPECT_EQ(test::runPython("ezdxf_check.py", written, report), 0) << report;
}

}  // namespace
}  // namespace solx::dxf
