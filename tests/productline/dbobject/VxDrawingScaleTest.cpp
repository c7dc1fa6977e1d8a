// The drawing scale record: defaults, refusals, and keys of later versions kept on a set.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "acad/acdb.h"
#include "brel/VxDrawingScale.h"

namespace {

// The pairs of the record, or null when the drawing has none.
resbuf* Record(AcDbDatabase& db) {
    AcDbDictionary* root = nullptr;
    if (acdbOpenObject(root, db.namedObjectsDictionaryId(), AcDb::kForRead) != Acad::eOk)
        return nullptr;
    AcDbObjectId id;
    const bool found = root->getAt(L"SOLX_DRAWINGSCALE", id) == Acad::eOk;
    root->close();
    AcDbXrecord* record = nullptr;
    if (!found || acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) return nullptr;
    resbuf* list = nullptr;
    record->rbChain(&list);
    record->close();
    return list;
}

TEST(VxDrawingScale, DefaultsAndRefusalsLeaveTheDrawingAlone) {
    AcDbDatabase db(true);
    EXPECT_EQ(VxDrawingScale(&db), kVxDefaultDrawingScale);
    for (double bad : {0.0, -500.0, 0.5, 100001.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()})
        EXPECT_EQ(VxSetDrawingScale(bad, &db), Acad::eInvalidInput) << bad;
    EXPECT_EQ(Record(db), nullptr) << "nothing written";
    ASSERT_EQ(VxSetDrawingScale(1000.0, &db), Acad::eOk);
    EXPECT_EQ(VxDrawingScale(&db), 1000.0);
    EXPECT_EQ(VxDrawingScaleText(1250.5), L"1250.5");
}

TEST(VxDrawingScale, SettingKeepsOtherKeysAndAnUnusableValueReadsAsTheDefault) {
    AcDbDatabase db(true);
    ASSERT_EQ(VxSetDrawingScale(200.0, &db), Acad::eOk);
    // A later version's key beside ours, and our value spoiled.
    AcDbDictionary* root = nullptr;
    ASSERT_EQ(acdbOpenObject(root, db.namedObjectsDictionaryId(), AcDb::kForRead), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(root->getAt(L"SOLX_DRAWINGSCALE", id), Acad::eOk);
    root->close();
    AcDbXrecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    resbuf* list = acutBuildList(300, L"PAPER", 1, L"A3", 300, L"SCALE", 40, -3.0, 0);
    record->setFromRbChain(list);
    acutRelRb(list);
    record->close();
    EXPECT_EQ(VxDrawingScale(&db), kVxDefaultDrawingScale);
    ASSERT_EQ(VxSetDrawingScale(750.0, &db), Acad::eOk);
    EXPECT_EQ(VxDrawingScale(&db), 750.0);
    resbuf* stored = Record(db);
    ASSERT_NE(stored, nullptr);
    int pairs = 0;
    bool paperKept = false;
    for (resbuf* rb = stored; rb; rb = rb->rbnext, ++pairs)
        if (rb->restype == 1 && std::wstring(rb->resval.rstring) == L"A3") paperKept = true;
    acutRelRb(stored);
    EXPECT_TRUE(paperKept);
    EXPECT_EQ(pairs, 4) << "the scale replaced in place, not appended";
}

}  // namespace
