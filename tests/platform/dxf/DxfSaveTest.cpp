// Saving never leaves a half-written drawing: the previous file survives any failure, a
// successful save keeps it as NAME.bak, and no temporary file stays behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "DxfTestSupport.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfTagWriter.h"
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

// A symbolic link is saved through: the file it points at gets the new drawing and its backup,
// the link stays a link (also through a chain of two links, and to a file not there yet).
TEST(DxfSave, SymbolicLinksAreSavedThroughAndKept) {
    test::TempDir dir;
    fs::create_directory(dir.file("real"));
    const std::string real = dir.file("real/plan.dxf"), link = dir.file("plan.dxf");
    writeDocument(smallDrawing(1), real);
    const std::string firstBytes = test::readFile(real);
    fs::create_symlink("real/plan.dxf", link);
    fs::create_symlink(link, dir.file("again.dxf"));
    writeDocument(smallDrawing(3), link);
    writeDocument(smallDrawing(4), dir.file("again.dxf"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(dir.file("again.dxf")));
    EXPECT_EQ(readDocument(real).entities.size(), 4u);
    EXPECT_EQ(readDocument(real + ".bak").entities.size(), 3u);
    EXPECT_NE(test::readFile(real + ".bak"), firstBytes);
    EXPECT_FALSE(fs::exists(link + ".bak")) << "the backup belongs beside the real file";

    fs::create_symlink("real/new.dxf", dir.file("dangling.dxf"));
    writeDocument(smallDrawing(2), dir.file("dangling.dxf"));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling.dxf")));
    EXPECT_EQ(readDocument(dir.file("real/new.dxf")).entities.size(), 2u);
}

// What is not a regular file is never replaced by a drawing: a FIFO, a folder, a device.
TEST(DxfSave, NonRegularTargetsAreRefused) {
    test::TempDir dir;
    const std::string fifo = dir.file("pipe.dxf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(dir.file("folder.dxf"));
    for (const std::string& target : {fifo, dir.file("folder.dxf"), std::string("/dev/null")}) {
        try {
            writeDocument(smallDrawing(1), target);
            ADD_FAILURE() << "saved over " << target;
        } catch (const DxfError& e) {
            EXPECT_EQ(e.file(), target);
            EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(dir.file("folder.dxf")));
    EXPECT_EQ(filesIn(dir.path()), 2u);
}

// The longest name a folder allows saves, again with a backup: neither the temporary file nor
// the backup may need a longer name, and a shortened backup name is still whole UTF-8.
TEST(DxfSave, LongestFileNameSavesWithItsBackup) {
    test::TempDir dir;
    std::string name;
    for (int i = 0; i < 84; ++i) name += "日";
    name += ".dx";  // 255 bytes
    const std::string path = dir.file(name);
    writeDocument(smallDrawing(1), path);
    writeDocument(smallDrawing(2), path);
    EXPECT_EQ(readDocument(path).entities.size(), 2u);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 2u) << "the drawing and its backup, no temporary file";
    EXPECT_EQ(names[0], name.substr(0, 83 * 3) + ".bak");
    EXPECT_EQ(readDocument(dir.file(names[0])).entities.size(), 1u);
}

// A save killed half way leaves its temporary file; the next save of the same drawing removes
// it, but not the file of a save that is still running, nor other files.
TEST(DxfSave, AbandonedTemporaryFilesAreRemovedByTheNextSave) {
    test::TempDir dir;
    const std::string path = dir.file("plan.dxf");
    writeDocument(smallDrawing(1), path);
    test::writeFile(dir.file("notes.txt"), "kept");
    // A child process starts a save that never ends, as one stuck on a slow disk.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        writeDocument(smallDrawing(1), path, [](const std::string&, TagWriter&) -> bool {
            for (;;) ::pause();
        });
        ::_exit(0);
    }
    for (int i = 0; i < 2000 && filesIn(dir.path()) < 3; ++i) ::usleep(5000);
    ASSERT_EQ(filesIn(dir.path()), 3u) << "the child's save has its temporary file";
    writeDocument(smallDrawing(2), path);
    EXPECT_EQ(filesIn(dir.path()), 4u) << "a save in progress keeps its temporary file";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    writeDocument(smallDrawing(3), path);
    EXPECT_EQ(readDocument(path).entities.size(), 3u);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path())) left.push_back(e.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"notes.txt", "plan.dxf", "plan.dxf.bak"}));
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
