// What a view of the drawing relies on to follow it cheaply: the database's change count moves
// with every way a drawing changes (and not with reading it), and its set of highlighted
// entities follows highlight, unhighlight and the clearing at the end of a command.
#include <gtest/gtest.h>

#include <functional>

#include "DbTestSupport.h"

namespace {

class DbChanges : public solx::dbtest::DatabaseTest {
protected:
    // True when `change` moved the change count.
    bool Counted(const std::function<void()>& change) {
        const auto before = db_.changeCount();
        change();
        return db_.changeCount() != before;
    }
};

TEST_F(DbChanges, EveryWayOfChangingTheDrawingIsCounted) {
    const AcDbObjectId id = add(new AcDbLine({0, 0, 0}, {10, 0, 0}));
    AcDbLine* line = nullptr;
    EXPECT_FALSE(Counted([&] {
        ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
        line->close();
    })) << "reading";
    // A change made while the object stays open for write shows once it is closed: a view
    // that looked in between must look again.
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->setEndPoint({20, 0, 0});
    EXPECT_TRUE(Counted([&] { line->close(); })) << "closing after a write";
    EXPECT_TRUE(Counted([&] {
        ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
        line->upgradeOpen();
    })) << "upgrading";
    line->close();
    EXPECT_TRUE(Counted([&] { add(new AcDbLine({0, 1, 0}, {1, 1, 0})); })) << "adding";
    db_.startUndoGroup();
    EXPECT_TRUE(Counted([&] {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForWrite), Acad::eOk);
        e->erase();
        e->close();
    })) << "erasing";
    db_.endUndoGroup();
    EXPECT_TRUE(Counted([&] { db_.undoGroup(); })) << "undoing";
    const std::wstring path = (solx::dbtest::scratchDir("db-changes") / "changes.dxf").wstring();
    ASSERT_EQ(db_.dxfOut(path.c_str()), Acad::eOk);
    EXPECT_TRUE(Counted([&] { ASSERT_EQ(db_.readDxfFile(path.c_str()), Acad::eOk); })) << "loading";
}

TEST_F(DbChanges, HighlightedSetFollowsTheEntities) {
    const AcDbObjectId a = add(new AcDbLine({0, 0, 0}, {10, 0, 0}));
    const AcDbObjectId b = add(new AcDbLine({0, 1, 0}, {10, 1, 0}));
    auto* ea = dynamic_cast<AcDbEntity*>(a.object());
    auto* eb = dynamic_cast<AcDbEntity*>(b.object());
    const auto count0 = db_.highlightCount();
    const auto changes0 = db_.changeCount();
    ea->highlight();
    eb->highlight();
    ea->highlight();  // again: no change
    EXPECT_EQ(db_.highlightCount(), count0 + 2);
    EXPECT_EQ(db_.highlighted().size(), 2u);
    EXPECT_EQ(db_.changeCount(), changes0) << "a highlight does not change the drawing";
    ea->unhighlight();
    EXPECT_EQ(db_.highlighted().count(a.stub()), 0u);
    EXPECT_EQ(db_.highlighted().count(b.stub()), 1u);
    db_.unhighlightAll();
    EXPECT_TRUE(db_.highlighted().empty());
    EXPECT_FALSE(eb->isHighlighted());
    // An entity outside a database has nothing to tell.
    AcDbLine loose({0, 0, 0}, {1, 0, 0});
    loose.highlight();
    EXPECT_TRUE(loose.isHighlighted());
    EXPECT_TRUE(db_.highlighted().empty());
}

}  // namespace
