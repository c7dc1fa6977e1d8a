// Saving never leaves a half-written drawing: the previous file survives any failure, a
// successful save keeps it as NAME.bak, and no temporary file stays behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "DxfTestSupport.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

namespace solx::dxf {
namespace {

namespace fs = std::filesystem;

Document smallDrawing(int lines) {
    Document doc;
    doc.sectionOrder = {"ENTITIES"};
    for (int i = 0; i < lines; ++i) {
        Record r{"LINE", {{8, "0", 0}, {10, std::to_string(i), 0}, {20, "0.5", 0}}, 0};
        doc.entities.push_back(Entity{r, {}});
    }
    return doc;
}

size_t filesIn(const std::string& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(DxfSave, NewFileThenReplacementKeepsBackup) {
    test::TempDir dir;
    std::string path = dir.file("plan.dxf");
    writeDocument(smallDrawing(1), path);
    EXPECT_FALSE(fs::exists(path + ".bak"));
    std::string firstBytes = test::readFile(path);
    writeDocument(smallDrawing(3), path);
    EXPECT_EQ(test::readFile(path + ".bak"), firstBytes);
    EXPECT_EQ(readDocument(path).entities.size(), 3u);
    EXPECT_EQ(filesIn(dir.path()), 2u);  // the drawing and its backup, no temporary file
}

TEST(DxfSave, FailedWriteLeavesTheOldFileWhole) {
    test::TempDir dir;
    std::string path = dir.file("plan.dxf");
    writeDocument(smallDrawing(2), path);
    std::string before = test::readFile(path);
    // A file size limit makes the write fail part way, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(writeDocument(smallDrawing(200000), path), DxfError);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(DxfSave, UnwritableFolderIsReportedAndTheFileKept) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    test::TempDir dir;
    std::string path = dir.file("plan.dxf");
    writeDocument(smallDrawing(2), path);
    std::string before = test::readFile(path);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    try {
        writeDocument(smallDrawing(5), path);
        ADD_FAILURE() << "wrote into a read-only folder";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.file(), path);
    }
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(test::readFile(path), before);
}

TEST(DxfSave, MissingFolderIsReported) {
    EXPECT_THROW(writeDocument(smallDrawing(1), "/nonexistent-solx/plan.dxf"), DxfError);
}

TEST(DxfSave, DocumentBuiltInMemoryGetsTheUsualSections) {
    Document doc = smallDrawing(1);
    doc.sectionOrder.clear();
    doc.header = {{9, "$ACADVER", 0}, {1, "AC1024", 0}};
    Document back = parseDocument(serializeDocument(doc), "mem.dxf");
    EXPECT_EQ(back.sectionOrder, (std::vector<std::string>{"HEADER", "ENTITIES"}));
    EXPECT_EQ(back.entities.size(), 1u);
}

}  // namespace
}  // namespace solx::dxf
