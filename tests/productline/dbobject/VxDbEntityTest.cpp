// Product-line entities: saved as standard entities, loaded back as the typed classes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "acad/acdb.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDbPromptSymbol.h"
#include "brel/VxDbSheet.h"
#include "brel/VxDbSlab.h"
#include "brel/VxDbText.h"

namespace fs = std::filesystem;

namespace {

class VxDbEntityTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(SOLX_BINARY_DIR) / "test-scratch" / "dbobject" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        acdbHostApplicationServices()->setWorkingDatabase(&db_);
    }
    void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

    // Saves the working drawing, loads it into a new database and returns that.
    std::unique_ptr<AcDbDatabase> saveAndLoad() {
        std::wstring path = (dir_ / "saved.dxf").wstring();
        EXPECT_EQ(db_.dxfOut(path.c_str()), Acad::eOk) << acdbUtf8(db_.lastError());
        auto loaded = std::make_unique<AcDbDatabase>(false);
        EXPECT_EQ(loaded->readDxfFile(path.c_str()), Acad::eOk) << acdbUtf8(loaded->lastError());
        return loaded;
    }

    template <typename T>
    static std::vector<T*> modelSpace(AcDbDatabase& db) {
        std::vector<T*> out;
        auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
        for (AcDbObjectId id : ms->entityIds())
            if (auto* e = dynamic_cast<T*>(id.object())) out.push_back(e);
        return out;
    }

    std::string runPython(const std::string& code) {
        std::string cmd =
            "/usr/bin/python3 -c \"" + code + "\" '" + (dir_ / "saved.dxf").string() + "' 2>&1";
        std::string out;
        FILE* p = popen(cmd.c_str(), "r");
        char buf[512];
        while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        pclose(p);
        return out;
    }

    AcDbDatabase db_;
    fs::path dir_;
};

TEST_F(VxDbEntityTest, SlabsAreClosedPolylinesToOthersAndSlabsToUs) {
    std::vector<VxGePoint> outline = {{0, 0}, {4000, 0}, {4000, 3000}, {0, 3000}, {0, 0}};
    ASSERT_FALSE(AddToModelSpace(new VxDbSlab(outline, 300, 2800)).isNull());
    ASSERT_FALSE(AddToModelSpace(new VxDbSlab(outline, 3100, 100, true)).isNull());

    auto loaded = saveAndLoad();
    // An independent reader sees closed lightweight polylines with elevation and thickness.
    std::string seen = runPython(
        "import sys, ezdxf; d = ezdxf.readfile(sys.argv[1]); "
        "print([(e.dxftype(), e.closed, len(e), e.dxf.elevation, e.dxf.thickness) for e in "
        "d.modelspace()])");
    EXPECT_EQ(seen,
              "[('LWPOLYLINE', True, 4, 300.0, 2800.0), ('LWPOLYLINE', True, 4, 3100.0, 100.0)]\n");

    auto slabs = modelSpace<VxDbSlab>(*loaded);
    ASSERT_EQ(slabs.size(), 2u);
    EXPECT_EQ(slabs[0]->dxfName(), L"BREL_SLAB");
    EXPECT_EQ(slabs[1]->dxfName(), L"BREL_BALCONY");
    EXPECT_EQ(slabs[0]->GetOutline().size(), 4u);
    EXPECT_EQ(slabs[0]->GetOutline()[2], VxGePoint(4000, 3000, 300));
    EXPECT_DOUBLE_EQ(slabs[1]->GetThickness(), 100);
    EXPECT_TRUE(slabs[0]->xDataApps().empty());  // the type tag is not data of the slab
}

TEST_F(VxDbEntityTest, MarkerKeepsItsValuesAndDrawsThroughABlock) {
    auto* marker = new VxDbPromptSymbol();
    marker->SetLocation({100, 200, 3});
    marker->SetXSize(7);
    marker->SetYSize(5);
    marker->SetType(4);
    marker->SetText(L"2:30 日照");
    marker->SetTextStyle(L"Standard");
    ASSERT_FALSE(AddToModelSpace(marker).isNull());

    auto loaded = saveAndLoad();
    std::string seen = runPython(
        "import sys, ezdxf; d = ezdxf.readfile(sys.argv[1]); r = d.modelspace()[0]; "
        "print(r.dxftype(), sorted(e.dxftype() for e in d.blocks[r.dxf.name]))");
    EXPECT_EQ(seen, "INSERT ['LINE', 'LINE', 'LWPOLYLINE', 'TEXT']\n");

    auto markers = modelSpace<VxDbPromptSymbol>(*loaded);
    ASSERT_EQ(markers.size(), 1u);
    EXPECT_EQ(markers[0]->GetText(), L"2:30 日照");
    EXPECT_DOUBLE_EQ(markers[0]->GetYSize(), 5);
    EXPECT_EQ(markers[0]->GetType(), 4);
    EXPECT_TRUE(markers[0]->GetLocation().isEqualTo({100, 200, 3}));
    AcDbExtents ext;
    ASSERT_EQ(markers[0]->getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.minPoint().x, 96.5, 1e-9);
    EXPECT_NEAR(ext.minPoint().y, 197.5, 1e-9);
}

TEST_F(VxDbEntityTest, TextAlignmentSurvives) {
    auto* text = new VxDbText();
    text->SetPosition({10, 20, 0});
    text->SetTextHeight(3.5, 1);
    text->SetTextStyle(L"TS_DIM");
    text->SetContent(L"窗日照分析表");
    text->SetAlignment(4);
    ASSERT_FALSE(AddToModelSpace(text).isNull());
    auto loaded = saveAndLoad();
    auto texts = modelSpace<VxDbText>(*loaded);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->GetAlignment(), 4);
    EXPECT_EQ(texts[0]->textStyleName(), L"TS_DIM");
    EXPECT_FALSE(loaded->symbolId(L"STYLE", L"TS_DIM").isNull());  // made on save
}

TEST_F(VxDbEntityTest, FullExplosionReachesPrimitivesThroughNestedBlocks) {
    AcDbBlockTableRecord* inner = nullptr;
    AcDbObjectId innerId = db_.addBlock(L"INNER", &inner);
    auto* mesh = new AcDbPolyFaceMesh();
    for (auto p :
         {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 1)})
        mesh->appendVertex(p);
    mesh->appendFace(1, 2, 3);
    mesh->appendFace(1, 3, -4);
    inner->appendAcDbEntity(mesh);
    inner->appendAcDbEntity(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    AcDbBlockTableRecord* outer = nullptr;
    AcDbObjectId outerId = db_.addBlock(L"OUTER", &outer);
    outer->appendAcDbEntity(new AcDbBlockReference({10, 0, 0}, innerId));
    AcDbBlockReference ref({0, 100, 0}, outerId);

    AcDbVoidPtrArray parts;
    EXPECT_EQ(VxDbFullExplode3d(&ref, parts), 3);
    int faces = 0;
    for (AcDbEntity* e : parts)
        if (auto* f = dynamic_cast<AcDbFace*>(e)) {
            ++faces;
            AcGePoint3d p;
            f->getVertexAt(0, p);
            EXPECT_TRUE(p.isEqualTo({10, 100, 0}));
        }
    EXPECT_EQ(faces, 2);
    ReleaseEntSet(parts);
    EXPECT_TRUE(parts.isEmpty());
}

}  // namespace

namespace {

TEST_F(VxDbEntityTest, TableKeepsCellsMergesAndSizesAndDrawsAsLinesAndTexts) {
    auto* sheet = new VxDbSheet();
    VxGridStyle style;
    style.SetTextStyle(L"TS_DIM");
    style.SetTextHeight(3.5);
    sheet->SetGridStyle(style);
    sheet->SetLocation({0, 0, 0});
    sheet->SetTitleText(L"窗日照分析表");
    ASSERT_TRUE(sheet->InitSheet(5, 3, 7.0, 25.0));
    sheet->SetColumnWidth(0, 10.0, 1);
    const wchar_t* floors[] = {L"层号", L"", L"1", L"1", L"2"};
    for (int r = 0; r < 5; ++r) sheet->GetCell(r, 0)->SetText(floors[r]);
    sheet->GetCell(2, 1)->SetText(L"08:00~16:00");
    VxGridStyle red = style;
    red.SetTextColor(1);
    sheet->GetCell(2, 1)->SetGridStyle(red);
    EXPECT_TRUE(sheet->MergeCells(0, 0, 1, 0));
    EXPECT_TRUE(sheet->MergeCells(2, 0, 3, 0));
    EXPECT_FALSE(sheet->MergeCells(1, 0, 2, 0));  // overlaps both
    VxSheetRow row;
    ASSERT_TRUE(sheet->GetRow(4, row));
    row.SetRowHeightStyle(3);
    row.GetCell(2)->SetText(L"tall");
    VxGridStyle tall = style;
    tall.SetTextHeight(5);
    row.GetCell(2)->SetGridStyle(tall);
    ASSERT_TRUE(sheet->SetRowAt(4, row));
    sheet->CalculateRowHeight(0, 4);
    const double width0 = sheet->GetColumnWidth(0);  // widened to "层号"
    ASSERT_TRUE(sheet->RemoveRow(3, 0));  // the 2..3 merge loses a row and is no merge any more
    ASSERT_FALSE(AddToModelSpace(sheet).isNull());

    auto loaded = saveAndLoad();
    auto sheets = modelSpace<VxDbSheet>(*loaded);
    ASSERT_EQ(sheets.size(), 1u);
    VxDbSheet* back = sheets[0];
    EXPECT_EQ(back->GetRowNum(), 4);
    EXPECT_EQ(back->GetColumnNum(), 3);
    EXPECT_DOUBLE_EQ(back->GetColumnWidth(0), width0);
    EXPECT_EQ(back->GetCell(3, 0)->GetText(), L"2");
    EXPECT_EQ(back->GetCell(2, 1)->GetGridStyle().GetTextColor(), 1);
    EXPECT_EQ(back->GetCell(2, 1)->GetGridStyle().GetTextStyle(), L"TS_DIM");
    int r0, c0, r1, c1;
    back->GetMergeRange(1, 0, r0, c0, r1, c1);
    EXPECT_EQ(std::vector<int>({r0, c0, r1, c1}), std::vector<int>({0, 0, 1, 0}));
    back->GetMergeRange(2, 0, r0, c0, r1, c1);
    EXPECT_EQ(r1, 2);
    EXPECT_DOUBLE_EQ(back->GetHeight(), 7 * 3 + 10);  // the tall row grew to twice its text
    VxSheetTitle title;
    back->GetTitle(title);
    EXPECT_EQ(title.GetText(), L"窗日照分析表");

    std::string seen = runPython(
        "import sys, ezdxf; d = ezdxf.readfile(sys.argv[1]); r = d.modelspace()[0]; "
        "b = d.blocks[r.dxf.name]; "
        "print(r.dxftype(), len(b.query('TEXT')), sorted(t.dxf.text for t in b.query('TEXT'))[0], "
        "len(d.audit().errors))");
    EXPECT_EQ(seen, "INSERT 6 08:00~16:00 0\n");  // five cell texts and the title
}

}  // namespace
