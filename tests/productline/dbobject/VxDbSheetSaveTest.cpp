// Saving a drawing whose tables rebuild their blocks while the save prepares the drawing: the
// graphics added then must be written, with handles, and the save must not walk a list that
// grows under it (an AddressSanitizer run of these tests reads freed memory when it does).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "acad/acdb.h"
#include "brel/VxDbSheet.h"
#include "dxf/DxfReader.h"

namespace {

namespace fs = std::filesystem;

fs::path ScratchFile(const std::string& name) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path dir = fs::path(SOLX_BINARY_DIR) / "test-scratch" / "dbobject" /
                   (std::string(test->name()) + "-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

// A window table of ROWS rows with a text in every cell, as the window analysis leaves it.
VxDbSheet* MakeTable(int rows) {
    auto* sheet = new VxDbSheet();
    sheet->SetTitleText(L"窗日照分析表");
    sheet->InitSheet(rows, 6, 7.0, 25.0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 6; ++c)
            sheet->GetCell(r, c)->SetText((std::to_wstring(r) + L"-" + std::to_wstring(c)).c_str());
    return sheet;
}

// Handles of the records of a saved file, and how many texts the file holds in blocks.
struct Saved {
    std::multiset<std::string> handles;
    size_t blockTexts = 0;
    size_t lines = 0;  // in model space
};

Saved ReadSaved(const fs::path& path) {
    Saved s;
    solx::dxf::Document doc = solx::dxf::readDocument(path.string());
    auto add = [&](const solx::dxf::Record& r) {
        for (const auto& t : r.tags)
            if (t.code == 5 || t.code == 105) {
                s.handles.insert(t.value);
                break;
            }
    };
    for (const auto& b : doc.blocks) {
        add(b.begin);
        add(b.end);
        for (const auto& e : b.entities) {
            add(e.record);
            for (const auto& c : e.children) add(c);
            s.blockTexts += e.record.type == "TEXT";
        }
    }
    for (const auto& e : doc.entities) {
        add(e.record);
        s.lines += e.record.type == "LINE";
        for (const auto& c : e.children) add(c);
    }
    for (const auto& t : doc.tables)
        for (const auto& r : t.entries) add(r);
    for (const auto& o : doc.objects) add(o);
    return s;
}

void ExpectHandlesValidAndUnique(const Saved& s, const std::string& what) {
    EXPECT_EQ(s.handles.count("0"), 0u) << what;
    std::set<std::string> unique(s.handles.begin(), s.handles.end());
    EXPECT_EQ(unique.size(), s.handles.size()) << what << ": a handle is written twice";
}

// The table's graphics are made while the save prepares the drawing. With lines before the
// table, the object list outgrows its storage at different points; with lines after it, the
// save still has objects to visit when that happens, as after a window analysis (the table,
// then the note and the markers).
TEST(VxDbSheetSave, TableGraphicsAddedDuringTheSaveAreWritten) {
    for (int before : {0, 13, 60, 200}) {
        AcDbDatabase db;
        auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
        auto addLines = [&](int n) {
            for (int i = 0; i < n; ++i)
                ms->appendAcDbEntity(new AcDbLine({0, 1.0 * i, 0}, {9, 1.0 * i, 0}));
        };
        addLines(before);
        ms->appendAcDbEntity(MakeTable(90));
        addLines(60);
        const fs::path path = ScratchFile("table-" + std::to_string(before) + ".dxf");
        ASSERT_EQ(db.dxfOut(path.wstring().c_str()), Acad::eOk) << acdbUtf8(db.lastError());
        const Saved saved = ReadSaved(path);
        EXPECT_GE(saved.blockTexts, 90u * 6)
            << before << " lines: every cell's text is in the block";
        EXPECT_EQ(saved.lines, static_cast<size_t>(before + 60)) << before << " lines";
        ExpectHandlesValidAndUnique(saved, std::to_string(before) + " lines");
    }
}

// Opening a drawing that holds a table and saving it again, twice: each save rebuilds the
// table's block from the table.
TEST(VxDbSheetSave, DrawingHoldingATableSavesAgainAndAgain) {
    const fs::path first = ScratchFile("first.dxf");
    {
        AcDbDatabase db;
        auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
        for (int i = 0; i < 60; ++i)
            ms->appendAcDbEntity(new AcDbLine({0, 1.0 * i, 0}, {9, 1.0 * i, 0}));
        ms->appendAcDbEntity(MakeTable(40));
        ASSERT_EQ(db.dxfOut(first.wstring().c_str()), Acad::eOk);
    }
    const size_t texts = ReadSaved(first).blockTexts;
    fs::path from = first;
    for (int round = 1; round <= 2; ++round) {
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfFile(from.wstring().c_str()), Acad::eOk) << acdbUtf8(db.lastError());
        const fs::path to = ScratchFile("again-" + std::to_string(round) + ".dxf");
        ASSERT_EQ(db.dxfOut(to.wstring().c_str()), Acad::eOk) << acdbUtf8(db.lastError());
        const Saved saved = ReadSaved(to);
        EXPECT_EQ(saved.blockTexts, texts)
            << "round " << round << ": the old graphics are replaced";
        ExpectHandlesValidAndUnique(saved, "round " + std::to_string(round));
        from = to;
    }
}

}  // namespace
