// Randomized model test: a VxXList and a plain VxDList receive the same operations; after each
// one their contents must agree, and positioning through the group index (MoveTo, GetAt) must
// land on the same elements as the plain walk.

#include <random>
#include <vector>
#include "containers/VxDList.h"
#include "containers/VxXList.h"
#include <gtest/gtest.h>

namespace {

struct Pair {
    VxXList<int> x;
    VxDList<int> d;
    explicit Pair(long groupSize) : x(0, groupSize, 2) {}
};

std::vector<int> Walk(const VxDynArrayBase<int>& c) {
    std::vector<int> out;
    for (const int* p = c.GetFirst(); p; p = c.GetNext(p)) out.push_back(*p);
    return out;
}

void ExpectSame(Pair& p, std::mt19937& rng, int step) {
    ASSERT_EQ(Walk(p.x), Walk(p.d)) << "step " << step;
    const long n = p.d.GetLength();
    const long g = p.x.GetGroupSize();
    ASSERT_EQ(p.x.GetGroupCount(), (n + g - 1) / g) << "step " << step;
    for (int probe = 0; probe < 6 && n > 0; ++probe) {
        const long i = static_cast<long>(rng() % n);
        ASSERT_EQ(p.x.GetAt(i), p.d.GetAt(i)) << "step " << step << " index " << i;
        p.x.MoveTo(i);
        p.d.MoveTo(i);
        ASSERT_EQ(p.x.GetCurData(), p.d.GetCurData()) << "step " << step << " index " << i;
    }
    if (n > 0) {
        p.x.MoveToLast();
        p.x.MoveToPre();
        p.d.MoveToLast();
        p.d.MoveToPre();
        ASSERT_EQ(p.x.GetCur(), p.d.GetCur());
    }
}

// One random operation applied to both lists of a and, for splices, between a and b.
void Step(Pair& a, Pair& b, std::mt19937& rng, int value) {
    const long n = a.d.GetLength();
    auto pick = [&](long bound) { return bound > 0 ? static_cast<long>(rng() % bound) : 0L; };
    switch (rng() % 11) {
        case 0:
        case 1: {
            const long i = pick(n + 1);
            a.x.Insert(i, value);
            a.d.Insert(i, value);
            break;
        }
        case 2:
        case 3: {
            const long i = pick(n);
            a.x.Del(i);
            a.d.Del(i);
            break;
        }
        case 4: {
            const long i = pick(n);
            a.x.MoveTo(i);
            a.d.MoveTo(i);
            a.x.InsertAfterCur(value);
            a.d.InsertAfterCur(value);
            break;
        }
        case 5: {
            const long from = pick(b.d.GetLength() + 1);
            a.x.Conbine(b.x, from);
            a.d.Conbine(b.d, from);
            break;
        }
        case 6: {
            const long i = pick(n + 1);
            a.x.SplitAt(i, b.x);
            a.d.SplitAt(i, b.d);
            break;
        }
        case 7: {
            const long from = pick(n), to = pick(n);
            a.x.Rotate(from, to);
            a.d.Rotate(from, to);
            break;
        }
        case 8:
            a.x.ReverseList();
            a.d.ReverseList();
            break;
        case 9:
            a.x.Sort(value % 2 == 0);
            a.d.Sort(value % 2 == 0);
            break;
        default: {
            const long i = pick(n + 2) - 1;
            a.x.DetachAfter(i);
            a.d.DetachAfter(i);
            break;
        }
    }
}

}  // namespace

TEST(XListModel, GroupIndexFollowsEveryEdit) {
    for (long groupSize : {1L, 3L, 8L}) {
        std::mt19937 rng(static_cast<unsigned>(groupSize * 101));
        Pair a(groupSize), b(groupSize + 1);
        for (int v = 0; v < 20; ++v) {
            a.x.Append(v);
            a.d.Append(v);
            b.x.Append(100 + v);
            b.d.Append(100 + v);
        }
        for (int step = 0; step < 1500; ++step) {
            const bool swap = rng() % 3 == 0;
            Step(swap ? b : a, swap ? a : b, rng, static_cast<int>(rng() % 50));
            ExpectSame(a, rng, step);
            ExpectSame(b, rng, step);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}
