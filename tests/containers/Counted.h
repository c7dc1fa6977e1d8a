#pragma once
// An element that counts live instances and remembers its own destruction, so leaks (live count
// left above zero) and double destructions (count below zero, or a dead object destroyed again)
// fail the test. key decides comparisons; tag tells equal elements apart in stability checks.

#include <gtest/gtest.h>

struct Counted {
    static inline long live = 0;
    static inline long doubleFrees = 0;
    static constexpr int kAlive = 0x5eed;

    int key = 0;
    int tag = 0;
    int state = kAlive;

    Counted() { ++live; }
    Counted(int k, int t = 0) : key(k), tag(t) { ++live; }
    Counted(const Counted& o) : key(o.key), tag(o.tag) { ++live; }
    Counted& operator=(const Counted& o) {
        key = o.key;
        tag = o.tag;
        return *this;
    }
    ~Counted() {
        if (state != kAlive) ++doubleFrees;
        state = 0;
        --live;
    }
    bool operator==(const Counted& o) const { return key == o.key; }
    bool operator!=(const Counted& o) const { return key != o.key; }
    bool operator>(const Counted& o) const { return key > o.key; }
    bool operator<(const Counted& o) const { return key < o.key; }
};

// Fixture base: every test must end with all elements destroyed exactly once.
class CountedTest : public ::testing::Test {
protected:
    void SetUp() override {
        Counted::live = 0;
        Counted::doubleFrees = 0;
    }
    void TearDown() override {
        EXPECT_EQ(Counted::live, 0) << "elements leaked or destroyed twice";
        EXPECT_EQ(Counted::doubleFrees, 0);
    }
};
