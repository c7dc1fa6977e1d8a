// Exact-size arrays, the browsable stack, the queue and scoped variables.

#include <stdexcept>
#include "containers/VxContainers.h"
#include <gtest/gtest.h>

TEST(FixedArray, StorageAlwaysMatchesTheLength) {
    VxArray<int> a(1);
    a[0] = 4;
    a.Del(0);
    EXPECT_EQ(a.GetLength(), 0);
    EXPECT_EQ(a.GetDataBuffer(), nullptr);
    a.Append(1);
    a.Append(3);
    a.Insert(1, 2);
    a.InsertHead(0);
    EXPECT_EQ(a.GetAt(0) * 1000 + a.GetAt(1) * 100 + a.GetAt(2) * 10 + a.GetAt(3), 123);
    a.ReAllocate(2, true);
    EXPECT_EQ(a.GetAt(1), 1);
    a.ReAllocate(0, true);
    EXPECT_EQ(a.GetDataBuffer(), nullptr);
    EXPECT_EQ(a.Append(8), 0);
    EXPECT_EQ(a.GetLength(), 1);
}

TEST(FixedArray, SearchesAndRemoval) {
    VxArray<int> a;
    for (int v : {5, 1, 5, 3, 5}) a.Append(v);
    VxListQuene<long> hits;
    EXPECT_EQ(a.Find(5, hits), 3);
    EXPECT_EQ(a.FindDel(5), 3);
    EXPECT_EQ(a.GetLength(), 2);
    EXPECT_EQ(a.FindOrInsertHead(4), 0);
    EXPECT_EQ(a.FindOrAppend(1), 1);
    EXPECT_EQ(a.FindOrAppend(2), 3);
    a.Sort(true);
    EXPECT_EQ(a.BFind(3), 2);
    a.Reverse();
    EXPECT_EQ(a.GetAt(0), 4);
}

TEST(FixedArray, TwoDimensionalResizeKeepsCells) {
    Vx2dArray<int> g(2, 3);
    g.SetAll(7);
    g[1][2] = 9;
    g.ReAllocate(3, 4, true);
    EXPECT_EQ(g.GetRowCount(), 3);
    EXPECT_EQ(g.GetColumnCount(), 4);
    EXPECT_EQ(g[1][2], 9);
    EXPECT_EQ(g[0][0], 7);
    Vx2dArray<int> copy(g);
    copy[1][2] = 0;
    EXPECT_EQ(g[1][2], 9);
}

TEST(Stack, DepthLimitAndOverwriteAfterGoingBack) {
    VxDListStack<char> s(2);
    EXPECT_TRUE(s.Push('a'));
    EXPECT_TRUE(s.Push('b'));
    EXPECT_FALSE(s.Push('c'));
    s.GoBack();
    EXPECT_TRUE(s.CanGoAhead());
    EXPECT_TRUE(s.Push('d'));
    EXPECT_FALSE(s.CanGoAhead());
    EXPECT_EQ(s.GetDepth(), 2);
    EXPECT_EQ(s[0], 'a');
    EXPECT_EQ(s[1], 'd');
    char top = 0;
    EXPECT_TRUE(s.Pop(top));
    EXPECT_EQ(top, 'd');
    EXPECT_TRUE(s.GetTopData(top));
    EXPECT_EQ(top, 'a');
}

TEST(Stack, GoBackAndAheadBrowseWithoutRemoving) {
    VxDListStack<int> s;
    s.Push(1);
    s.Push(2);
    s.GoBack();
    s.GoBack();
    EXPECT_EQ(s.GetDepth(), 0);
    EXPECT_FALSE(s.CanGoBack());
    int top = -1;
    EXPECT_FALSE(s.GetTopData(top));
    EXPECT_FALSE(s.Pop(top));
    EXPECT_EQ(top, -1);
    s.GoAhead();
    EXPECT_EQ(s.GetDepth(), 1);
    EXPECT_TRUE(s.CanGoAhead());
    s.GoAhead();
    s.GoAhead();  // nothing further ahead
    EXPECT_EQ(s.GetDepth(), 2);
    EXPECT_TRUE(s.GetTopData(top));
    EXPECT_EQ(top, 2);
}

TEST(Queue, FirstInFirstOutWithLimit) {
    VxListQuene<int> q(2);
    int out = 42;
    EXPECT_FALSE(q.DeQuene(out));
    EXPECT_EQ(out, 42);
    EXPECT_FALSE(q.GetHeadData(out));
    EXPECT_TRUE(q.EnQuene(1));
    EXPECT_TRUE(q.EnQuene(2));
    EXPECT_FALSE(q.EnQuene(3));
    EXPECT_TRUE(q.GetTailData(out));
    EXPECT_EQ(out, 2);
    EXPECT_TRUE(q.DeQuene(out));
    EXPECT_EQ(out, 1);
    EXPECT_TRUE(q.EnQuene(3));
    EXPECT_EQ(q[1], 3);
    q.SetMaxLength(-1);
    for (int i = 0; i < 5; ++i) q.EnQuene(i);
    EXPECT_EQ(q.GetLength(), 7);
}

TEST(PushVar, RestoresOnScopeExitAndOnException) {
    int mode = 0;
    bool flag = false;
    {
        VxPushVar<int> push(mode, 1);
        VxPushVar<bool> pushFlag(flag, true);
        EXPECT_EQ(mode, 1);
        EXPECT_TRUE(flag);
    }
    EXPECT_EQ(mode, 0);
    EXPECT_FALSE(flag);
    try {
        VxPushVar<int> push(mode, 5);
        throw std::runtime_error("sibling call failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(mode, 0);
}
