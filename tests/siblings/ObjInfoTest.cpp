// Info rows stored on entities as extended data and read back, through a saved drawing too.

#include <gtest/gtest.h>

#include <memory>

#include "acad/AcDbDatabase.h"
#include "acad/AcDbPolyline.h"
#include "solx/SolxObjInfo.h"

namespace {

// Writes the rows (an owning list, so filled in place).
int Write(AcDbEntity* e, std::initializer_list<IObjInfoUnit> units) {
    SolxObjInfoRows rows;
    for (const IObjInfoUnit& u : units) rows.Append(new IObjInfoUnit(u));
    return WriteXData(e, rows);
}

std::vector<std::pair<std::wstring, std::wstring>> Read(const AcDbEntity& e) {
    SolxObjInfoRows rows;
    ReadXData(&e, rows);
    std::vector<std::pair<std::wstring, std::wstring>> out;
    for (auto* const* p = rows.GetFirst(); p; p = rows.GetNext(p))
        out.emplace_back((*p)->name, (*p)->value);
    return out;
}

TEST(ObjInfo, RowsAreWrittenReplacedAndRemoved) {
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    AcDbPolyline outline;  // not in a drawing yet: the working drawing registers the name
    ASSERT_TRUE(Write(&outline, {{L"日照时刻", L"9:00"}, {L"总有效日照", L"2:30"}}));
    EXPECT_FALSE(db.symbolId(L"APPID", kSolxInfoApp).isNull());
    using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(Read(outline), (Pairs{{L"日照时刻", L"9:00"}, {L"总有效日照", L"2:30"}}));
    // The raw data: the application, then label and value strings in row order.
    resbuf* raw = outline.xData(kSolxInfoApp);
    ASSERT_NE(raw, nullptr);
    int strings = 0;
    for (const resbuf* rb = raw->rbnext; rb; rb = rb->rbnext) strings += rb->restype == 1000;
    EXPECT_EQ(strings, 4);
    acutRelRb(raw);
    ASSERT_TRUE(Write(&outline, {{L"日照时刻", L"10:00"}}));
    EXPECT_EQ(Read(outline), (Pairs{{L"日照时刻", L"10:00"}}));
    ASSERT_TRUE(Write(&outline, {}));
    EXPECT_TRUE(Read(outline).empty());
    EXPECT_FALSE(Write(nullptr, {}));
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

}  // namespace
