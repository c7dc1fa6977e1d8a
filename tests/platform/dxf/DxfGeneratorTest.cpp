// The district generator used for samples and benchmarks writes drawings other readers accept:
// unique handles, owners that exist, windows with their attributes.
#include <gtest/gtest.h>

#include <set>

#include "CityGenerator.h"
#include "DxfTestSupport.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

namespace solx::dxf {
namespace {

Document district(int buildings, int floors) {
    dxfgen::DrawingSkeleton drawing;
    dxfgen::addCity(drawing, {buildings, floors, 3});
    return drawing.finish();
}

void collectHandles(const Record& r, std::set<std::string>& handles, int& duplicates) {
    for (const Tag& t : r.tags) {
        if ((t.code == 5 || t.code == 105) && !handles.insert(t.value).second) ++duplicates;
    }
}

TEST(DxfGenerator, HandlesAreUniqueAndWindowsCarryTheirAttributes) {
    Document doc = parseDocument(serializeDocument(district(3, 2)), "district.dxf");
    std::set<std::string> handles;
    int duplicates = 0;
    for (const Table& t : doc.tables) {
        collectHandles(t.head, handles, duplicates);
        for (const Record& r : t.entries) collectHandles(r, handles, duplicates);
    }
    int windows = 0;
    for (const Entity& e : doc.entities) {
        collectHandles(e.record, handles, duplicates);
        for (const Record& c : e.children) collectHandles(c, handles, duplicates);
        if (e.record.type != "INSERT") continue;
        ++windows;
        ASSERT_EQ(e.children.size(), 4u);  // FLOOR, NUMBER, LABEL, SEQEND
        EXPECT_EQ(e.children[2].type, "ATTRIB");
        EXPECT_EQ(e.children[3].type, "SEQEND");
    }
    for (const Record& r : doc.objects) collectHandles(r, handles, duplicates);
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(windows, 3 * 2 * 2 * 3);  // buildings x floors x facades x windows per floor
}

TEST(DxfGenerator, IndependentReaderAuditsItClean) {
    if (!test::haveEzdxf()) GTEST_SKIP() << "/usr/bin/python3 cannot import ezdxf";
    test::TempDir dir;
    std::string path = dir.file("district.dxf");
    writeDocument(district(2, 3), path);
    std::string report;
    EXPECT_EQ(test::runPython("ezdxf_check.py", {path}, report), 0) << report;
}

}  // namespace
}  // namespace solx::dxf
