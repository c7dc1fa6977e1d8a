// The database's programming interface: ids, open and erase, extended data, dictionaries with
// xrecords and groups, system variables, polyline conversions, result-buffer lists.
#include <gtest/gtest.h>

#include <cwchar>

#include "DbTestSupport.h"

namespace {

class DbApi : public solx::dbtest::DatabaseTest {
protected:
    // Saves and loads into `loaded`.
    void reload(AcDbDatabase& loaded, const char* name) {
        std::wstring path = acdbWide(scratch_ + name);
        ASSERT_EQ(db_.dxfOut(path.c_str()), Acad::eOk) << acdbUtf8(db_.lastError());
        ASSERT_EQ(loaded.readDxfFile(path.c_str()), Acad::eOk) << acdbUtf8(loaded.lastError());
    }
    std::string scratch_ = solx::dbtest::scratchDir("api").string() + "/";
};

TEST_F(DbApi, IdsOpenEraseAndAdsNames) {
    AcDbObjectId id = add(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    ads_name name;
    ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
    AcDbObjectId back;
    ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
    EXPECT_EQ(back, id);
    EXPECT_EQ(db_.idOf(id.handle()), id);

    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(line->isWriteEnabled());
    EXPECT_EQ(line->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(line->erase(), Acad::eOk);
    line->close();
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eWasErased);
    EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead, true), Acad::eOk);
    AcDbCircle* circle = nullptr;
    EXPECT_EQ(acdbOpenObject(circle, id, AcDb::kForRead, true), Acad::eNotThatKindOfClass);
    AcDbBlockTableRecordIterator it(modelSpace());
    EXPECT_TRUE(it.done());  // erased entities are skipped
}

TEST_F(DbApi, ExtendedDataNeedsARegisteredAppAndSurvivesSave) {
    AcDbObjectId id = add(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    AcDbObject* line = id.object();
    double pt[3] = {1, 2, 3};
    resbuf* rb =
        acutBuildList(1001, L"SUN_INFO", 1000, L"日照时刻", 1040, 2.5, 1070, 7, 1010, pt, 0);
    EXPECT_EQ(line->setXData(rb), Acad::eRegappIdNotFound);
    db_.registerApp(L"SUN_INFO");
    EXPECT_EQ(line->setXData(rb), Acad::eOk);
    acutRelRb(rb);

    AcDbDatabase loaded(false);
    reload(loaded, "xdata.dxf");
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(loaded.modelSpaceId().object());
    resbuf* got = ms->entityIds()[0].object()->xData(L"SUN_INFO");
    ASSERT_NE(got, nullptr);
    std::vector<short> types;
    for (resbuf* r = got; r; r = r->rbnext) types.push_back(r->restype);
    EXPECT_EQ(types, (std::vector<short>{1001, 1000, 1040, 1070, 1010}));
    EXPECT_STREQ(got->rbnext->resval.rstring, L"日照时刻");
    EXPECT_DOUBLE_EQ(got->rbnext->rbnext->resval.rreal, 2.5);
    EXPECT_DOUBLE_EQ(got->rbnext->rbnext->rbnext->rbnext->resval.rpoint[2], 3);
    acutRelRb(got);
}

TEST_F(DbApi, DictionariesXrecordsAndAnonymousGroups) {
    auto* root = dynamic_cast<AcDbDictionary*>(db_.namedObjectsDictionaryId().object());
    auto* settings = new AcDbDictionary();
    AcDbObjectId settingsId;
    ASSERT_EQ(root->setAt(L"SOLX_SETTINGS", settings, settingsId), Acad::eOk);
    auto* xrec = new AcDbXrecord();
    resbuf* data = acutBuildList(1, L"北京", 40, 39.9, 70, 3, 0);
    xrec->setFromRbChain(data);
    acutRelRb(data);
    AcDbObjectId xrecId;
    ASSERT_EQ(settings->setAt(L"PLACE", xrec, xrecId), Acad::eOk);

    AcDbObjectIdArray members = {add(new AcDbLine({0, 0, 0}, {1, 0, 0})),
                                 add(new AcDbPoint({1, 1, 0}))};
    auto* groups = dynamic_cast<AcDbDictionary*>(db_.groupDictionaryId().object());
    auto* group = new AcDbGroup(L"shadow outlines");
    group->setAnonymous();
    AcDbObjectId groupId;
    ASSERT_EQ(groups->setAt(L"*", group, groupId), Acad::eOk);
    ASSERT_EQ(group->append(members), Acad::eOk);
    EXPECT_EQ(group->name(), L"*A1");

    AcDbDatabase loaded(false);
    reload(loaded, "dict.dxf");
    auto* lroot = dynamic_cast<AcDbDictionary*>(loaded.namedObjectsDictionaryId().object());
    AcDbObjectId id;
    ASSERT_EQ(lroot->getAt(L"solx_settings", id), Acad::eOk);  // keys ignore case
    auto* lsettings = dynamic_cast<AcDbDictionary*>(id.object());
    ASSERT_EQ(lsettings->getAt(L"PLACE", id), Acad::eOk);
    resbuf* chain = nullptr;
    dynamic_cast<AcDbXrecord*>(id.object())->rbChain(&chain);
    ASSERT_NE(chain, nullptr);
    EXPECT_STREQ(chain->resval.rstring, L"北京");
    EXPECT_DOUBLE_EQ(chain->rbnext->resval.rreal, 39.9);
    EXPECT_EQ(chain->rbnext->rbnext->resval.rint, 3);
    acutRelRb(chain);
    auto* lgroups = dynamic_cast<AcDbDictionary*>(loaded.groupDictionaryId().object());
    ASSERT_EQ(lgroups->getAt(L"*A1", id), Acad::eOk);
    auto* lgroup = dynamic_cast<AcDbGroup*>(id.object());
    EXPECT_TRUE(lgroup->isAnonymous());
    EXPECT_EQ(lgroup->numEntities(), 2);
}

TEST_F(DbApi, SystemVariables) {
    resbuf rb;
    ASSERT_EQ(db_.getSysVar(L"PICKBOX", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 3);
    EXPECT_EQ(db_.getSysVar(L"NOSUCHVAR", &rb), RTERROR);
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<wchar_t*>(L"SUN-SHADOW");
    EXPECT_EQ(db_.setSysVar(L"CLAYER", &rb), RTERROR);  // the layer does not exist yet
    db_.ensureSymbol(L"LAYER", L"SUN-SHADOW");
    EXPECT_EQ(db_.setSysVar(L"clayer", &rb), RTNORM);
    auto* layer = dynamic_cast<AcDbLayerTableRecord*>(db_.clayer().object());
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->getName(), L"SUN-SHADOW");
    rb.restype = RTREAL;
    EXPECT_EQ(db_.setSysVar(L"INSUNITS", &rb), RTERROR);  // wrong type
    db_.setInsunits(6);
    db_.setThickness(2.5);
    AcDbDatabase loaded(false);
    reload(loaded, "vars.dxf");
    EXPECT_EQ(loaded.insunits(), 6);
    EXPECT_DOUBLE_EQ(loaded.thickness(), 2.5);
    EXPECT_EQ(loaded.clayer(), loaded.symbolId(L"LAYER", L"SUN-SHADOW"));
}

// A new entity takes the current layer, colour and linetype unless its maker set them; an
// entity read from a file keeps what the file says (no colour there means "by layer").
TEST_F(DbApi, NewEntitiesTakeTheCurrentPropertiesUnlessSet) {
    db_.ensureSymbol(L"LAYER", L"WORK");
    db_.ensureSymbol(L"LTYPE", L"DASHED");
    resbuf rb;
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<wchar_t*>(L"WORK");
    ASSERT_EQ(db_.setSysVar(L"CLAYER", &rb), RTNORM);
    rb.resval.rstring = const_cast<wchar_t*>(L"DASHED");
    ASSERT_EQ(db_.setSysVar(L"CELTYPE", &rb), RTNORM);
    rb.restype = RTSHORT;
    rb.resval.rint = 3;
    ASSERT_EQ(db_.setSysVar(L"CECOLOR", &rb), RTNORM);

    auto* plain = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    auto* own = new AcDbLine(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0));
    own->setLayer(L"0");
    own->setColorIndex(256);
    add(plain);
    add(own);
    EXPECT_EQ(plain->layer(), L"WORK");
    EXPECT_EQ(plain->colorIndex(), 3);
    EXPECT_EQ(plain->linetype(), L"DASHED");
    EXPECT_EQ(own->layer(), L"0");
    EXPECT_EQ(own->colorIndex(), 256);
    EXPECT_EQ(own->linetype(), L"DASHED");  // only the linetype was left to the defaults

    AcDbDatabase loaded(false);
    reload(loaded, "defaults.dxf");
    auto* space = dynamic_cast<AcDbBlockTableRecord*>(loaded.modelSpaceId().object());
    ASSERT_NE(space, nullptr);
    ASSERT_EQ(space->entityIds().length(), 2);
    // A copy of a loaded entity added again keeps its properties under other current values.
    rb.resval.rint = 5;
    ASSERT_EQ(loaded.setSysVar(L"CECOLOR", &rb), RTNORM);
    auto* copy = static_cast<AcDbEntity*>(space->entityIds()[1].object()->clone());
    AcDbObjectId copyId;
    ASSERT_EQ(space->appendAcDbEntity(copyId, copy), Acad::eOk);
    EXPECT_EQ(copy->layer(), L"0");
    EXPECT_EQ(copy->colorIndex(), 256);
}

TEST_F(DbApi, PolylineConvertsToA2dPolylineThatTakesItsId) {
    auto* pl = new AcDbPolyline();
    for (auto [x, y] : {std::pair{0.0, 0.0}, {10.0, 0.0}, {10.0, 10.0}, {0.0, 10.0}})
        pl->addVertexAt(pl->numVerts(), AcGePoint2d(x, y));
    pl->setClosed(true);
    pl->setElevation(5);
    AcDbObjectId id = add(pl);
    AcDb2dPolyline* p2d = nullptr;
    ASSERT_EQ(pl->convertTo(p2d, true), Acad::eOk);
    EXPECT_EQ(p2d->objectId(), id);
    EXPECT_FALSE(pl->objectId().isValid());
    delete pl;
    ASSERT_EQ(p2d->splineFit(), Acad::eOk);
    AcGePoint3dArray drawn = p2d->drawnPoints();
    EXPECT_GT(drawn.length(), 8);
    for (const auto& p : drawn) {  // a closed cubic B-spline stays inside its control hull
        EXPECT_GT(p.x, 0);
        EXPECT_LT(p.x, 10);
        EXPECT_DOUBLE_EQ(p.z, 5);
    }
    p2d->close();
    AcDbDatabase loaded(false);
    reload(loaded, "fit.dxf");
    auto* back = dynamic_cast<AcDb2dPolyline*>(loaded.idOf(id.handle()).object());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->polyType(), AcDb::k2dCubicSplinePoly);
    EXPECT_EQ(back->drawnPoints().length(), drawn.length());
}

TEST(DbResbuf, BuildListRejectsUnknownTypes) {
    resbuf* ok = acutBuildList(RTDXF0, L"INSERT", 8, L"SUN-WINDOW", 2, L"_SUNWD", 0);
    ASSERT_NE(ok, nullptr);
    EXPECT_STREQ(ok->rbnext->rbnext->resval.rstring, L"_SUNWD");
    EXPECT_EQ(ok->rbnext->rbnext->rbnext, nullptr);
    resbuf* copy = acutDuplicateRb(ok);
    acutRelRb(ok);
    EXPECT_STREQ(copy->resval.rstring, L"INSERT");  // a deep copy outlives the original
    acutRelRb(copy);
    EXPECT_EQ(acutBuildList(RTNORM, 0), nullptr);
}

}  // namespace
