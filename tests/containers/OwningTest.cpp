// Ownership of the pointer containers: every object deleted once, none lost.

#include <type_traits>
#include "ContainerTraits.h"

using std::vector;

static_assert(!std::is_copy_constructible_v<VxPDList<int>>);
static_assert(!std::is_copy_assignable_v<VxPXList<int>>);
static_assert(!std::is_copy_constructible_v<VxDynPArray<int>>);
static_assert(std::is_copy_constructible_v<VxDList<int*>>);

template <class Tr>
class Owning : public CountedTest {
protected:
    using C = typename Tr::Container;
};

using Owners = ::testing::Types<OwnerTraits<VxDynPArray<Counted>>, OwnerTraits<VxPDList<Counted>>,
                                OwnerTraits<SmallPXList>>;
TYPED_TEST_SUITE(Owning, Owners);

TYPED_TEST(Owning, PlaceInFillsTheFirstEmptyEntry) {
    typename TestFixture::C c;
    c.Append(new Counted(1));
    c.Append(nullptr);
    c.Append(new Counted(2));
    EXPECT_EQ(c.PlaceIn(new Counted(3)), 1);
    EXPECT_EQ(c.PlaceIn(new Counted(4)), 3);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{1, 3, 2, 4}));
}

TYPED_TEST(Owning, ReleaseAllKeepsTheEntries) {
    typename TestFixture::C c;
    Fill<TypeParam>(c, {1, 2, 3});
    c.Release(1);
    EXPECT_TRUE(c.IsEmptyData(1));
    EXPECT_EQ(c.GetDataNum(), 2);
    c.ReleaseAll();
    EXPECT_EQ(c.GetLength(), 3);
    EXPECT_EQ(c.GetDataNum(), 0);
    EXPECT_EQ(Counted::live, 0);
}

TYPED_TEST(Owning, SortPutsEmptyEntriesLast) {
    typename TestFixture::C c;
    c.Append(nullptr);
    c.Append(new Counted(3));
    c.Append(nullptr);
    c.Append(new Counted(1));
    c.Append(new Counted(2));
    c.Sort(true);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{1, 2, 3, -1, -1}));
    c.Sort(false);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{3, 2, 1, -1, -1}));
    c.Sort(+[](Counted* const& a, Counted* const& b) { return a->key % 2 - b->key % 2; });
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{2, 3, 1, -1, -1}));
}

TYPED_TEST(Owning, MoveAndExchangeKeepObjectsAlive) {
    typename TestFixture::C c;
    Fill<TypeParam>(c, {0, 1, 2, 3});
    EXPECT_TRUE(c.Move(0, 3));
    EXPECT_TRUE(c.Move(3, 0));
    c.Exchange(1, 2);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(Counted::live, 4);
}

TYPED_TEST(Owning, TakeOffHandsTheObjectBack) {
    typename TestFixture::C c;
    Fill<TypeParam>(c, {1, 2, 3});
    Counted* taken = c.TakeOff(1);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->key, 2);
    // Lists drop the entry, arrays keep it empty.
    EXPECT_EQ(c.GetDataNum(), 2);
    EXPECT_EQ(c.GetLength(), TypeParam::Container::kIsList ? 2 : 3);
    delete taken;
    c.MoveTo(-1);
    EXPECT_EQ(c.TakeOffCur(), nullptr);
}

TYPED_TEST(Owning, ShrinkingAndDeletingFreeObjects) {
    typename TestFixture::C c;
    Fill<TypeParam>(c, {1, 2, 3, 4, 5, 6});
    c.SetLength(4, true);
    EXPECT_EQ(Counted::live, 4);
    c.DelHead();
    EXPECT_EQ(c.FindDataDel(Counted(3)), 1);
    EXPECT_EQ(Counted::live, 2);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{2, 4}));
}

TYPED_TEST(Owning, SearchesCompareObjects) {
    typename TestFixture::C c;
    Fill<TypeParam>(c, {1, 4, 4, 9});
    EXPECT_EQ(c.FindData(Counted(4)), 1);
    VxListQuene<long> hits;
    EXPECT_EQ(c.FindData(Counted(4), hits), 2);
    Counted* dup = new Counted(9);
    EXPECT_EQ(c.FindDataOrAppend(dup), 3);  // not stored: still ours
    delete dup;
    EXPECT_EQ(c.FindDataOrInsertHead(new Counted(0)), 0);
    EXPECT_EQ(c.BFindData(Counted(9)), 4);
    EXPECT_TRUE(c.FindDataTo(Counted(4), 3));
    EXPECT_EQ(c.GetCur(), 3);
    const long n = c.GetLength();
    EXPECT_EQ(c.SafeAppend(nullptr), -1);
    EXPECT_EQ(c.GetLength(), n);
}

TEST(OwningLists, ConbineHandsObjectsOver) {
    Counted::live = 0;
    {
        VxPDList<Counted> a;
        VxPXList<Counted> b(0, 2);
        for (int k = 0; k < 5; ++k) b.Append(new Counted(k));
        a.Append(new Counted(9));
        a.Conbine(b, 2);
        EXPECT_EQ(a.GetLength(), 4);
        EXPECT_EQ(b.GetLength(), 2);
        EXPECT_EQ(Counted::live, 6);
        b.Detach();
        EXPECT_EQ(Counted::live, 4);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(OwningArray, SortExCompactsAndCanDropEmptyEntries) {
    VxDynPArray<int> a;
    for (int v : {0, 5, 0, 3, 0, 1}) a.Append(v ? new int(v) : nullptr);
    a.SortEx(false);
    ASSERT_EQ(a.GetLength(), 6);
    EXPECT_EQ(a(0) * 100 + a(1) * 10 + a(2), 531);
    EXPECT_TRUE(a.IsEmptyData(3) && a.IsEmptyData(5));
    a.SortEx(true);
    EXPECT_EQ(a.GetLength(), 3);
    a.Append(new int(7));  // reuses storage that must hold no stale pointers
    a.SetLength(6, true);
    EXPECT_EQ(a.GetDataNum(), 4);
}
