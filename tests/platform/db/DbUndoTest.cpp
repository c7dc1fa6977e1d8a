// Undo groups of the database: everything one group changed comes back at once (objects added,
// opened for write, erased, table and dictionary entries, attributes of block references, the
// header), ids stay valid, and handles given out in an undone group can be given out again.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbXrecord.h"

namespace {

class DbUndo : public solx::dbtest::DatabaseTest {
protected:
    AcDbObjectId addBlockReference() {
        AcDbObjectId block = db_.addBlock(L"DOOR");
        auto* ref = new AcDbBlockReference({5, 5, 0}, block);
        const AcDbObjectId id = add(ref);
        ref->appendAttribute(new AcDbAttribute({5, 6, 0}, L"D1", L"LABEL"));
        return id;
    }
    size_t liveEntities() {
        size_t n = 0;
        for (AcDbObjectId id : modelSpace()->entityIds()) n += id.isValid() && !id.isErased();
        return n;
    }
};

TEST_F(DbUndo, OneGroupComesBackWhole) {
    const AcDbObjectId kept = add(new AcDbLine({0, 0, 0}, {10, 0, 0}));
    const AcDbObjectId gone = add(new AcDbLine({0, 1, 0}, {10, 1, 0}));
    const AcDbObjectId refId = addBlockReference();
    const AcDbHandle seed = db_.handseed();
    const size_t before = liveEntities();

    db_.startUndoGroup();
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, kept, AcDb::kForWrite), Acad::eOk);
    line->setEndPoint({20, 0, 0});
    line->close();
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, gone, AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
    const AcDbObjectId added = add(new AcDbLine({0, 2, 0}, {10, 2, 0}));
    const AcDbObjectId layer = db_.ensureSymbol(L"LAYER", L"NEW-LAYER");
    AcDbObjectId xrec;
    auto* root = dynamic_cast<AcDbDictionary*>(db_.namedObjectsDictionaryId().object());
    ASSERT_EQ(root->setAt(L"SOLX_TEST", new AcDbXrecord, xrec), Acad::eOk);
    AcDbBlockReference* ref = nullptr;
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForWrite), Acad::eOk);
    ref->setPosition({50, 50, 0});
    ref->attributes()[0]->setTextString(L"CHANGED");
    ref->close();
    db_.setThickness(3.0);
    EXPECT_TRUE(db_.endUndoGroup());
    EXPECT_TRUE(db_.isModified());

    ASSERT_TRUE(db_.undoGroup());
    ASSERT_EQ(acdbOpenObject(line, kept, AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(line->endPoint().x, 10.0) << "the change is taken back, same id";
    line->close();
    EXPECT_FALSE(gone.isErased());
    EXPECT_FALSE(added.isValid()) << "an object the group added leaves the database";
    EXPECT_FALSE(layer.isValid());
    EXPECT_TRUE(db_.symbolId(L"LAYER", L"NEW-LAYER").isNull());
    AcDbObjectId found;
    EXPECT_NE(root->getAt(L"SOLX_TEST", found), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(ref->position().x, 5.0);
    ASSERT_EQ(ref->attributes().size(), 1u);
    EXPECT_EQ(ref->attributes()[0]->textString(), L"D1");
    EXPECT_EQ(ref->attributes()[0]->objectId(), ref->attributeIds()[0])
        << "the reference points at the attribute the database holds";
    ref->close();
    EXPECT_DOUBLE_EQ(db_.thickness(), 0.0);
    EXPECT_EQ(db_.handseed().value(), seed.value());
    EXPECT_EQ(liveEntities(), before);

    // The handles of the undone objects are free again, without a clash.
    const AcDbObjectId again = add(new AcDbLine({0, 3, 0}, {1, 3, 0}));
    EXPECT_TRUE(again.isValid());
    EXPECT_EQ(db_.idOf(again.handle()), again);
    EXPECT_FALSE(db_.undoGroup()) << "nothing left to undo";
}

TEST_F(DbUndo, GroupsUndoLastFirstAndEmptyOnesAreNotKept) {
    const AcDbObjectId line = add(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    db_.startUndoGroup();
    AcDbEntity* opened = nullptr;
    ASSERT_EQ(acdbOpenObject(opened, line, AcDb::kForWrite), Acad::eOk);
    opened->close();  // opened for write, left as it was
    AcDbObject* layers = nullptr;
    ASSERT_EQ(acdbOpenObject(layers, db_.layerTableId(), AcDb::kForWrite), Acad::eOk);
    layers->close();
    EXPECT_FALSE(db_.endUndoGroup()) << "a command that changed nothing";
    EXPECT_FALSE(db_.isModified());
    db_.startUndoGroup();
    const AcDbObjectId first = add(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    db_.endUndoGroup();
    db_.startUndoGroup();
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, first, AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
    db_.endUndoGroup();
    EXPECT_EQ(db_.undoGroups(), 2u);

    db_.setModified(false);  // saved after both
    ASSERT_TRUE(db_.undoGroup());
    EXPECT_TRUE(first.isValid());
    EXPECT_FALSE(first.isErased()) << "the erase is taken back first";
    EXPECT_TRUE(db_.isModified()) << "differs from the saved file";
    ASSERT_TRUE(db_.undoGroup());
    EXPECT_FALSE(first.isValid());
    EXPECT_EQ(db_.undoGroups(), 0u);

    db_.startUndoGroup();
    add(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    db_.endUndoGroup();
    db_.setModified(false);
    db_.startUndoGroup();
    add(new AcDbLine({0, 0, 0}, {2, 0, 0}));
    db_.endUndoGroup();
    ASSERT_TRUE(db_.undoGroup());
    EXPECT_FALSE(db_.isModified()) << "back to what was saved";
}

TEST_F(DbUndo, ChangesOutsideAGroupAreNotRecorded) {
    const AcDbObjectId id = add(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    EXPECT_FALSE(db_.undoGroup());
    EXPECT_TRUE(id.isValid());
    EXPECT_FALSE(db_.isModified()) << "building a drawing in code is not a user's change";
}

TEST_F(DbUndo, ErasedBlockReferenceGetsItsAttributesBack) {
    const AcDbObjectId refId = addBlockReference();
    AcDbBlockReference* ref = nullptr;
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
    const AcDbObjectId attId = ref->attributeIds()[0];
    ref->close();
    db_.startUndoGroup();
    ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForWrite), Acad::eOk);
    ref->erase();
    ref->close();
    db_.endUndoGroup();
    EXPECT_TRUE(attId.isErased());
    ASSERT_TRUE(db_.undoGroup());
    EXPECT_FALSE(refId.isErased());
    EXPECT_FALSE(attId.isErased());
}

}  // namespace
