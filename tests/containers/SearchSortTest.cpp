// Searches, sorts and whole-container copies, checked against the standard library on random data.

#include <algorithm>
#include <random>
#include <utility>
#include "containers/VxContainers.h"
#include <gtest/gtest.h>

using std::vector;

namespace {

using Pair = std::pair<int, int>;  // (key, position); ordered by key only in the comparisons

int g_comparisons = 0;
int ByKey(const Pair& a, const Pair& b) {
    ++g_comparisons;
    return a.first - b.first;
}

template <class C>
vector<Pair> Contents(const C& c) {
    vector<Pair> out;
    for (const Pair* p = c.GetFirst(); p; p = c.GetNext(p)) out.push_back(*p);
    return out;
}

template <class C>
void ExpectStableSortMatchesStd(C& c, std::mt19937& rng, int n) {
    vector<Pair> input;
    for (int i = 0; i < n; ++i) input.emplace_back(static_cast<int>(rng() % 7), i);
    c.Reset();
    for (const Pair& p : input) c.Append(p);
    c.Sort(ByKey);
    std::stable_sort(input.begin(), input.end(),
                     [](const Pair& a, const Pair& b) { return a.first < b.first; });
    EXPECT_EQ(Contents(c), input) << n << " elements";
}

}  // namespace

TEST(Sorting, EveryContainerSortsStablyLikeTheStandardLibrary) {
    std::mt19937 rng(7);
    VxDynArray<Pair> array(0, 3);
    VxList<Pair> list;
    VxDList<Pair> dlist;
    VxXList<Pair> xlist(0, 4);
    for (int n : {0, 1, 2, 5, 31, 200}) {
        ExpectStableSortMatchesStd(array, rng, n);
        ExpectStableSortMatchesStd(list, rng, n);
        ExpectStableSortMatchesStd(dlist, rng, n);
        ExpectStableSortMatchesStd(xlist, rng, n);
        const vector<Pair> sorted = Contents(xlist);
        for (long i = xlist.GetLength() - 1; i >= 0; i -= 3) {  // the group index follows
            xlist.MoveTo(i);
            EXPECT_EQ(xlist.GetCurData(), sorted[i]);
        }
    }
}

TEST(Sorting, RankSortComparesEachPairOnce) {
    for (long n : {1L, 2L, 10L, 57L}) {
        VxDynArray<Pair> a;
        VxArray<Pair> fixed(n);
        for (long i = 0; i < n; ++i) {
            a.Append({static_cast<int>((i * 37) % 11), static_cast<int>(i)});
            fixed[i] = a.GetAt(i);
        }
        g_comparisons = 0;
        a.Sort(ByKey);
        EXPECT_EQ(g_comparisons, n * (n - 1) / 2);
        g_comparisons = 0;
        fixed.Sort(ByKey);
        EXPECT_EQ(g_comparisons, n * (n - 1) / 2);
        EXPECT_EQ(Contents(a), vector<Pair>(fixed.GetDataBuffer(), fixed.GetDataBuffer() + n));
    }
}

TEST(Searching, HitsQueueAndCursorSearches) {
    VxDList<int> l;
    for (int v : {3, 1, 3, 2, 3}) l.Append(v);
    VxListQuene<long> hits;
    EXPECT_EQ(l.Find(3, 1, 1), -1);
    EXPECT_EQ(l.Find(3, 1, 99), 2);
    EXPECT_EQ(l.Find(3, 7, -1), -1);
    EXPECT_EQ(l.Find(3, hits, 1, -1), 2);
    long first = -1;
    ASSERT_TRUE(hits.GetHeadData(first));
    EXPECT_EQ(first, 2);
    EXPECT_TRUE(l.FindTo(2, 0));
    EXPECT_EQ(l.GetCur(), 3);
    EXPECT_FALSE(l.FindTo(7, 0));
    EXPECT_TRUE(l.IsOut());
    EXPECT_EQ(l.FindOrAppend(2), 3);
    EXPECT_EQ(l.FindOrAppend(9), 5);
    EXPECT_EQ(l.FindOrInsertHead(0), 0);
    EXPECT_EQ(l.FindOrInsertHead(9), 6);
    EXPECT_EQ(l.FindDel(3), 3);
    EXPECT_EQ(l.GetLength(), 4);
}

TEST(Searching, BinarySearchWithEqualRunsStaysInRange) {
    VxDynArray<int> a;
    for (int v : {1, 2, 2, 2, 2, 5, 8}) a.Append(v);
    const long i = a.BFind(2);
    EXPECT_TRUE(i >= 1 && i <= 4);
    EXPECT_EQ(a.BFind(2, 5, -1), -1);
    EXPECT_EQ(a.BFind(5, 2, 5), 5);
    EXPECT_EQ(a.BFind(9), -1);
    EXPECT_EQ(a.BFind(0), -1);
    EXPECT_EQ(a.BFind(3), -1);
}

TEST(Copying, WholeContainerCopiesAreIndependent) {
    VxDList<int> l;
    for (int v : {1, 2, 3, 4, 5}) l.Append(v);
    VxDynArray<int> a(l);
    VxXList<int> x;
    x = a;
    EXPECT_TRUE(x == l);
    x.Append(6);
    EXPECT_TRUE(x != l);
    EXPECT_TRUE(l < x);
    VxList<int> part;
    l.Mid(1, 3, part);
    VxArray<int> fixed(part);
    VxDList<int> back;
    back.DeepCopy(fixed);
    EXPECT_TRUE(back == part);
    EXPECT_EQ(part.GetAt(0) * 100 + part.GetAt(1) * 10 + part.GetAt(2), 234);
    l.Right(2, a);
    EXPECT_EQ(a.GetLength(), 2);
    EXPECT_EQ(a.GetAt(0), 4);
    l << l;
    EXPECT_EQ(l.GetLength(), 10);
    EXPECT_EQ(l.GetAt(5), 1);
}

// Records with no operator> (windows, buildings) live in every container and sort through a
// comparison function; only Sort(bool) needs the ordering.
struct Unordered {
    int key = 0;
    bool operator==(const Unordered& o) const { return key == o.key; }
};
int ByUnorderedKey(const Unordered& a, const Unordered& b) {
    return a.key - b.key;
}
int ByUnorderedPtr(Unordered* const& a, Unordered* const& b) {
    return a->key - b->key;
}

TEST(SearchSort, RecordsWithoutOrderingSortByFunction) {
    VxDList<Unordered> values;
    VxPDList<Unordered> owned;
    for (int k : {3, 1, 2}) {
        values.Append(Unordered{k});
        owned.Append(new Unordered{k});
    }
    values.Sort(ByUnorderedKey);
    owned.Sort(ByUnorderedPtr);
    for (long i = 0; i < 3; ++i) {
        EXPECT_EQ(values.GetAt(i).key, i + 1);
        EXPECT_EQ(owned.GetAt(i)->key, i + 1);
    }
}
