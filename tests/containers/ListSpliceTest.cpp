// Splicing and cursor behaviour of the linked lists, over the singly, doubly and indexed forms.

#include "ContainerTraits.h"

using std::vector;

template <class Tr>
class ListSplice : public CountedTest {
protected:
    using List = typename Tr::Container;
    // Forward keys, checked against a backward walk so broken predecessor links show.
    static vector<int> Checked(List& l) {
        vector<int> forward = Keys<Tr>(l);
        vector<int> backward;
        for (l.MoveToLast(); !l.IsOut(); l.MoveToPre()) backward.push_back(Tr::Key(l.GetCurData()));
        EXPECT_EQ(vector<int>(backward.rbegin(), backward.rend()), forward);
        EXPECT_EQ(static_cast<long>(forward.size()), l.GetLength());
        return forward;
    }
};

using Lists = ::testing::Types<ValueTraits<VxList<Counted>>, ValueTraits<VxDList<Counted>>,
                               ValueTraits<SmallXList>, OwnerTraits<VxPDList<Counted>>,
                               OwnerTraits<SmallPXList>>;
TYPED_TEST_SUITE(ListSplice, Lists);

TYPED_TEST(ListSplice, RotateKeepsCyclicOrder) {
    struct Case {
        long from, to;
        vector<int> keys;
    };
    const Case cases[] = {{3, 0, {3, 4, 0, 1, 2}},
                          {0, 3, {2, 3, 4, 0, 1}},
                          {4, 1, {3, 4, 0, 1, 2}},
                          {2, 2, {0, 1, 2, 3, 4}},
                          {1, 7, {0, 1, 2, 3, 4}}};
    for (const Case& k : cases) {
        typename TestFixture::List l;
        Fill<TypeParam>(l, {0, 1, 2, 3, 4});
        l.Rotate(k.from, k.to);
        const bool rotated = k.from != k.to && k.to < 5;
        if (rotated) {  // cursor on the new first element
            EXPECT_EQ(l.GetCur(), 0);
            EXPECT_EQ(TypeParam::Key(l.GetCurData()), k.keys[0]);
        }
        EXPECT_EQ(TestFixture::Checked(l), k.keys) << k.from << "->" << k.to;
        if (rotated) {
            l.MoveTo(k.to);
            EXPECT_EQ(TypeParam::Key(l.GetCurData()), k.from);
        }
    }
}

TYPED_TEST(ListSplice, ConbineMovesTheTailOfTheOther) {
    typename TestFixture::List mine;
    Fill<TypeParam>(mine, {1, 2});
    typename TestFixture::List other;
    Fill<TypeParam>(other, {10, 11, 12, 13});
    mine.MoveTo(1);
    EXPECT_EQ(mine.Conbine(other, 2), 4);
    EXPECT_EQ(TestFixture::Checked(mine), (vector<int>{1, 2, 12, 13}));
    EXPECT_EQ(TestFixture::Checked(other), (vector<int>{10, 11}));
    EXPECT_EQ(mine.Conbine(other, 7), 4);
    EXPECT_EQ(other.GetLength(), 2);
    EXPECT_EQ(mine.Conbine(other, 0), 6);
    EXPECT_TRUE(other.IsEmpty());
    EXPECT_EQ(TestFixture::Checked(mine), (vector<int>{1, 2, 12, 13, 10, 11}));
    other.Append(TypeParam::Make(5));  // the emptied list must still work
    EXPECT_EQ(TestFixture::Checked(other), vector<int>{5});
}

TYPED_TEST(ListSplice, ConbineKeepsThisCursor) {
    typename TestFixture::List mine;
    Fill<TypeParam>(mine, {1, 2, 3});
    typename TestFixture::List other;
    Fill<TypeParam>(other, {7, 8});
    mine.MoveTo(1);
    mine.Conbine(other, 0);
    EXPECT_EQ(mine.GetCur(), 1);
    EXPECT_EQ(TypeParam::Key(mine.GetCurData()), 2);
    mine.MoveToNext();
    EXPECT_EQ(TypeParam::Key(mine.GetCurData()), 3);
}

TYPED_TEST(ListSplice, SplitAtMovesTheRestToTheOther) {
    typename TestFixture::List mine;
    Fill<TypeParam>(mine, {0, 1, 2, 3, 4, 5, 6});
    typename TestFixture::List other;
    Fill<TypeParam>(other, {9});
    mine.SplitAt(4, other);
    EXPECT_EQ(TestFixture::Checked(mine), (vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(TestFixture::Checked(other), (vector<int>{9, 4, 5, 6}));
    mine.MoveTo(1);
    mine.SplitAtCur(other);
    EXPECT_EQ(TestFixture::Checked(mine), (vector<int>{0}));
    EXPECT_EQ(TestFixture::Checked(other), (vector<int>{9, 4, 5, 6, 1, 2, 3}));
}

TYPED_TEST(ListSplice, DetachFreesWhatIsCutOff) {
    typename TestFixture::List l;
    Fill<TypeParam>(l, {0, 1, 2, 3, 4});
    const long before = Counted::live;
    l.DetachAfter(1);
    EXPECT_EQ(TestFixture::Checked(l), (vector<int>{0, 1}));
    EXPECT_EQ(Counted::live, before - 3);
    l.Append(TypeParam::Make(8));
    EXPECT_EQ(TestFixture::Checked(l), (vector<int>{0, 1, 8}));
    l.DetachAfter(3);  // past the end: nothing
    EXPECT_EQ(l.GetLength(), 3);
    l.Detach();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_TRUE(TestFixture::Checked(l).empty());
}

TYPED_TEST(ListSplice, ReverseListKeepsTheCurrentNode) {
    typename TestFixture::List l;
    Fill<TypeParam>(l, {0, 1, 2, 3, 4});
    l.MoveTo(1);
    l.ReverseList();
    EXPECT_EQ(TypeParam::Key(l.GetCurData()), 1);
    EXPECT_EQ(l.GetCur(), 3);
    l.MoveToNext();
    EXPECT_EQ(TypeParam::Key(l.GetCurData()), 0);
    EXPECT_EQ(TestFixture::Checked(l), (vector<int>{4, 3, 2, 1, 0}));
    l.InsertHead(TypeParam::Make(9));
    EXPECT_EQ(TestFixture::Checked(l), (vector<int>{9, 4, 3, 2, 1, 0}));
}

TYPED_TEST(ListSplice, MoveToPreFromOutWrapsToLast) {
    typename TestFixture::List empty;
    empty.MoveToPre();
    EXPECT_TRUE(empty.IsOut());
    typename TestFixture::List l;
    Fill<TypeParam>(l, {0, 1, 2});
    l.MoveTo(-1);
    l.MoveToPre();
    EXPECT_EQ(l.GetCur(), 2);
    l.MoveToFirst();
    l.MoveToPre();
    EXPECT_EQ(l.GetCur(), -1);
}

TYPED_TEST(ListSplice, DeletingTheOnlyElementEmptiesTheRing) {
    typename TestFixture::List l;
    Fill<TypeParam>(l, {5});
    l.MoveToFirst();
    l.DelCur();
    EXPECT_TRUE(l.IsOut());
    EXPECT_EQ(l.GetLast(), nullptr);
    l.Append(TypeParam::Make(6));
    l.InsertHead(TypeParam::Make(4));
    EXPECT_EQ(TestFixture::Checked(l), (vector<int>{4, 6}));
}

TEST(ListSpliceMixed, ConbineBetweenSinglyAndDoublyLinkedCopiesValues) {
    VxList<int> single;
    VxDList<int> dbl;
    for (int k : {1, 2, 3}) single.Append(k);
    for (int k : {7, 8}) dbl.Append(k);
    EXPECT_EQ(dbl.Conbine(single, 1), 4);
    EXPECT_EQ(single.GetLength(), 1);
    vector<int> back;
    for (dbl.MoveToLast(); !dbl.IsOut(); dbl.MoveToPre()) back.push_back(dbl.GetCurData());
    EXPECT_EQ(back, (vector<int>{3, 2, 8, 7}));
}
