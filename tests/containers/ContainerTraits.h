#pragma once
// Adapters that let one typed suite drive value containers (elements are Counted) and owning
// containers (elements are Counted*, objects owned by the container) alike.

#include <initializer_list>
#include <vector>
#include "Counted.h"
#include "containers/VxContainers.h"

template <class C>
struct ValueTraits {
    using Container = C;
    using Elem = Counted;
    static Elem Make(int k, int t = 0) { return Counted(k, t); }
    static int Key(const Elem& e) { return e.key; }
    static int Tag(const Elem& e) { return e.tag; }
    static bool SortInto(C& c, int k, int t, bool allowEqual) {
        return c.SortInto(Counted(k, t), allowEqual);
    }
    static bool BFindTo(C& c, int k) { return c.BFindTo(Counted(k)); }
    static long BFind(const C& c, int k) { return c.BFind(Counted(k)); }
    static long Find(const C& c, int k, long from = 0, long to = -1) {
        return c.Find(Counted(k), from, to);
    }
};

template <class C>
struct OwnerTraits {
    using Container = C;
    using Elem = Counted*;
    static Elem Make(int k, int t = 0) { return new Counted(k, t); }
    static int Key(const Elem& e) { return e ? e->key : -1; }
    static int Tag(const Elem& e) { return e ? e->tag : -1; }
    static bool SortInto(C& c, int k, int t, bool allowEqual) {
        Counted* p = new Counted(k, t);
        if (c.SortInto(p, allowEqual)) return true;
        delete p;  // not stored: still ours
        return false;
    }
    static bool BFindTo(C& c, int k) { return c.BFindDataTo(Counted(k)); }
    static long BFind(const C& c, int k) { return c.BFindData(Counted(k)); }
    static long Find(const C& c, int k, long from = 0, long to = -1) {
        return c.FindData(Counted(k), from, to);
    }
};

// Indexed lists with tiny groups and an array growing one slot at a time, so that group
// boundaries and reallocations are crossed by small tests.
struct SmallXList : VxXList<Counted> {
    SmallXList() : VxXList<Counted>(0, 3, 2) {}
};
struct SmallPXList : VxPXList<Counted> {
    SmallPXList() : VxPXList<Counted>(0, 3, 2) {}
};
struct TightArray : VxDynArray<Counted> {
    TightArray() : VxDynArray<Counted>(0, 0) {}
};

template <class Tr>
void Fill(typename Tr::Container& c, std::initializer_list<int> keys) {
    int tag = 0;
    for (int k : keys) c.Append(Tr::Make(k, tag++));
}

// Keys by a pointer walk that does not touch the cursor.
template <class Tr>
std::vector<int> Keys(const typename Tr::Container& c) {
    std::vector<int> out;
    for (auto* p = c.GetFirst(); p; p = c.GetNext(p)) out.push_back(Tr::Key(*p));
    return out;
}

template <class Tr>
std::vector<int> Tags(const typename Tr::Container& c) {
    std::vector<int> out;
    for (auto* p = c.GetFirst(); p; p = c.GetNext(p)) out.push_back(Tr::Tag(*p));
    return out;
}
