// The cursor contract that every container of the family keeps, run over each of them.

#include <algorithm>
#include "ContainerTraits.h"

using std::vector;

template <class Tr>
class CursorContract : public CountedTest {};

using AllContainers = ::testing::Types<ValueTraits<VxDynArray<Counted>>, ValueTraits<TightArray>,
                                       ValueTraits<VxList<Counted>>, ValueTraits<VxDList<Counted>>,
                                       ValueTraits<SmallXList>, OwnerTraits<VxDynPArray<Counted>>,
                                       OwnerTraits<VxPDList<Counted>>, OwnerTraits<SmallPXList>>;
TYPED_TEST_SUITE(CursorContract, AllContainers);

TYPED_TEST(CursorContract, EmptyContainerStaysOutAndSearchesPointAtZero) {
    typename TypeParam::Container c;
    c.MoveToFirst();
    EXPECT_TRUE(c.IsOut());
    c.DelCur();
    c.Sort(true);
    EXPECT_EQ(c.GetFirst(), nullptr);
    EXPECT_FALSE(TypeParam::BFindTo(c, 5));
    EXPECT_TRUE(c.IsOut());
    EXPECT_EQ(c.GetLength(), 0);
}

TYPED_TEST(CursorContract, WalksForwardBackwardAndByIndexAgree) {
    typename TypeParam::Container c;
    for (int k = 0; k < 10; ++k) EXPECT_EQ(c.Append(TypeParam::Make(k)), k);
    vector<int> forward, backward, indexed;
    for (c.MoveToFirst(); !c.IsOut(); c.MoveToNext())
        forward.push_back(TypeParam::Key(c.GetCurData()));
    for (c.MoveToLast(); !c.IsOut(); c.MoveToPre())
        backward.push_back(TypeParam::Key(c.GetCurData()));
    for (long i : {7L, 2L, 9L, 0L, 5L, 4L}) {
        c.MoveTo(i);
        EXPECT_EQ(c.GetCur(), i);
        indexed.push_back(TypeParam::Key(c.GetCurData()));
        EXPECT_EQ(TypeParam::Key(c.GetAt(9 - i)), 9 - i);
    }
    EXPECT_EQ(forward, (vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(backward, (vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(indexed, (vector<int>{7, 2, 9, 0, 5, 4}));
    EXPECT_EQ(TypeParam::Key(*c.GetPre(c.GetLast())), 8);
    EXPECT_EQ(c.GetPre(c.GetFirst()), nullptr);
}

TYPED_TEST(CursorContract, InsertCurTakesTheCursorIndex) {
    struct Case {
        const char* name;
        long cursor;  // -1: out
        vector<int> keys;
        long newCur;
    };
    const Case cases[] = {
        {"on first", 0, {9, 1, 2, 3}, 0},
        {"in middle", 1, {1, 9, 2, 3}, 1},
        {"on last", 2, {1, 2, 9, 3}, 2},
        {"cursor out appends", -1, {1, 2, 3, 9}, 3},
    };
    for (const Case& k : cases) {
        typename TypeParam::Container c;
        Fill<TypeParam>(c, {1, 2, 3});
        c.MoveTo(k.cursor);
        c.InsertCur(TypeParam::Make(9));
        EXPECT_EQ(Keys<TypeParam>(c), k.keys) << k.name;
        EXPECT_EQ(c.GetCur(), k.newCur) << k.name;
        EXPECT_EQ(TypeParam::Key(c.GetCurData()), 9) << k.name;
    }
}

TYPED_TEST(CursorContract, DelCurLeavesCursorOnPredecessor) {
    typename TypeParam::Container c;
    Fill<TypeParam>(c, {1, 2, 3, 4});
    c.MoveToFirst();
    c.DelCur();
    EXPECT_EQ(c.GetCur(), -1);
    c.MoveToNext();
    EXPECT_EQ(TypeParam::Key(c.GetCurData()), 2);
    c.MoveTo(2);
    c.DelCur();
    EXPECT_EQ(c.GetCur(), 1);
    EXPECT_EQ(TypeParam::Key(c.GetCurData()), 3);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{2, 3}));
    c.MoveTo(5);  // out: nothing to delete
    c.DelCur();
    EXPECT_EQ(c.GetLength(), 2);
    c.DelHead();
    c.DelTail();
    EXPECT_TRUE(c.IsEmpty());
    c.MoveToFirst();
    EXPECT_TRUE(c.IsOut());
}

TYPED_TEST(CursorContract, DeletingInsideAWalkVisitsEveryElement) {
    typename TypeParam::Container c;
    Fill<TypeParam>(c, {2, 2, 1, 2, 3, 2, 2});
    for (c.MoveToFirst(); !c.IsOut(); c.MoveToNext()) {
        if (TypeParam::Key(c.GetCurData()) == 2) c.DelCur();
    }
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{1, 3}));
}

TYPED_TEST(CursorContract, MoveRelocatesOneElement) {
    struct Case {
        const char* name;
        long from, to;
        bool moved;
        vector<int> keys;
        long cur;
    };
    const Case cases[] = {
        {"onto itself", 3, 3, false, {0, 1, 2, 3}, -2},
        {"before its successor", 3, 4, false, {0, 1, 2, 3}, -2},
        {"forward", 0, 3, true, {1, 2, 0, 3}, 2},
        {"to the end", 1, 4, true, {0, 2, 3, 1}, 3},
        {"backward", 3, 0, true, {3, 0, 1, 2}, 0},
        {"target out of range", 0, 9, false, {0, 1, 2, 3}, -2},
    };
    for (const Case& k : cases) {
        typename TypeParam::Container c;
        Fill<TypeParam>(c, {0, 1, 2, 3});
        EXPECT_EQ(c.Move(k.from, k.to), k.moved) << k.name;
        EXPECT_EQ(Keys<TypeParam>(c), k.keys) << k.name;
        if (k.cur != -2) {
            EXPECT_EQ(c.GetCur(), k.cur) << k.name;
        }
    }
}

TYPED_TEST(CursorContract, WritingPastTheEndGrows) {
    typename TypeParam::Container c;
    c[10] = TypeParam::Make(7);
    EXPECT_EQ(c.GetLength(), 11);
    EXPECT_EQ(c.GetCur(), 10);
    EXPECT_EQ(TypeParam::Key(c.GetAt(10)), 7);
    EXPECT_EQ(TypeParam::Key(c.GetAt(3)), TypeParam::Key(typename TypeParam::Elem()));
    c.SetLength(4, true);
    c.IncreaseSize(2);
    EXPECT_EQ(c.GetLength(), 6);
    EXPECT_EQ(TypeParam::Key(c.GetAt(5)), TypeParam::Key(typename TypeParam::Elem()));
}

TYPED_TEST(CursorContract, SortsAreStable) {
    typename TypeParam::Container c;
    Fill<TypeParam>(c, {2, 1, 2, 1, 0});
    c.Sort(true);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{0, 1, 1, 2, 2}));
    EXPECT_EQ(Tags<TypeParam>(c), (vector<int>{4, 1, 3, 0, 2}));
    c.Sort(false);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{2, 2, 1, 1, 0}));
    EXPECT_EQ(Tags<TypeParam>(c), (vector<int>{0, 2, 1, 3, 4}));
}

TYPED_TEST(CursorContract, SortIntoKeepsOrderAndPlacesAfterEquals) {
    typename TypeParam::Container c;
    const int keys[] = {5, 3, 8, 3, 1, 9, 5, 0, 5};
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(TypeParam::SortInto(c, keys[i], i, true));
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{0, 1, 3, 3, 5, 5, 5, 8, 9}));
    EXPECT_EQ(Tags<TypeParam>(c), (vector<int>{7, 4, 1, 3, 0, 6, 8, 2, 5}));
    EXPECT_FALSE(TypeParam::SortInto(c, 3, 99, false));
    EXPECT_EQ(c.GetLength(), 9);
    EXPECT_TRUE(TypeParam::SortInto(c, 4, 99, false));
    EXPECT_EQ(TypeParam::Key(c.GetAt(4)), 4);
}

TYPED_TEST(CursorContract, BFindToFindsOrPointsAtTheInsertionPlace) {
    struct Case {
        int x;
        bool found;
        long insertAt;  // where InsertCur then puts x
    };
    const Case cases[] = {{0, false, 0}, {1, true, 0},  {2, false, 1}, {4, false, 2},
                          {5, true, 2},  {6, false, 3}, {7, true, 3},  {8, false, 4}};
    for (const Case& k : cases) {
        typename TypeParam::Container c;
        Fill<TypeParam>(c, {1, 3, 5, 7});
        EXPECT_EQ(TypeParam::BFindTo(c, k.x), k.found) << k.x;
        EXPECT_EQ(TypeParam::BFind(c, k.x), k.found ? k.insertAt : -1) << k.x;
        if (k.found) {
            EXPECT_EQ(TypeParam::Key(c.GetCurData()), k.x);
            continue;
        }
        c.InsertCur(TypeParam::Make(k.x));
        EXPECT_EQ(TypeParam::Key(c.GetAt(k.insertAt)), k.x) << k.x;
        const vector<int> keys = Keys<TypeParam>(c);
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << k.x;
    }
}

TYPED_TEST(CursorContract, ExchangeAndReverseRearrangeInPlace) {
    typename TypeParam::Container c;
    Fill<TypeParam>(c, {0, 1, 2, 3, 4, 5});
    c.Exchange(0, 5);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{5, 1, 2, 3, 4, 0}));
    c.Reverse(1, 3);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{5, 3, 2, 1, 4, 0}));
    c.Reverse(0, -1);
    EXPECT_EQ(Keys<TypeParam>(c), (vector<int>{0, 4, 1, 2, 3, 5}));
}

TYPED_TEST(CursorContract, ResetEmptiesAndTheContainerIsReusable) {
    typename TypeParam::Container c;
    Fill<TypeParam>(c, {1, 2, 3});
    c.Reset();
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_TRUE(c.IsOut());
    Fill<TypeParam>(c, {7});
    EXPECT_EQ(Keys<TypeParam>(c), vector<int>{7});
    c.SetLength(0, false);
    EXPECT_EQ(c.GetFirst(), nullptr);
}
