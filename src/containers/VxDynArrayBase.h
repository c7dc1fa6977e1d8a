#pragma once
// VxDynArrayBase<T>: the common interface of the cursor containers.
//
// Every container carries a cursor (the current index). Loops walk it instead of using iterator
// objects:   for (c.MoveToFirst(); !c.IsOut(); c.MoveToNext()) use(c.GetCurData());
// Most edits act at the cursor: InsertCur puts the new element at the cursor's index (with the
// cursor out it appends), DelCur removes the current element and leaves the cursor on the one
// before it (out after deleting the first), so a delete inside such a loop is safe.
//
// Element types need a default constructor, copy assignment, ==, != and >. Linear searches use
// ==, binary searches and sorts only >, so two elements are equal there when neither is greater.
// Indexes are long. Containers that own pointed objects (VxDynPArray, VxPDList, VxPXList) cannot
// be copied, and nothing copies into them element-wise.

#include <cassert>
#include <concepts>
#include "containers/VxArray.h"
#include "containers/VxQuene.h"

// Element types that sorts can order. Sort(bool) is virtual and therefore compiled for every
// element type; records that are only ever sorted with a comparison function (windows, buildings)
// need no operator>, and calling Sort(bool) on them is a programming error caught by an assert.
template <class T>
concept VxOrdered = requires(const T& a, const T& b) {
    { a > b } -> std::convertible_to<bool>;
};

template <class T>
class VxDynArrayBase {
public:
    using CompareFn = int (*)(const T&, const T&);

    // The virtual operations, in their fixed order.
    virtual void ReAllocate(long n) = 0;
    virtual ~VxDynArrayBase() = default;
    virtual void SetLength(long n, bool keep) = 0;
    virtual void Reset() {
        length = 0;
        cur = -1;
    }
    virtual T& GetCurData() = 0;
    virtual void SetCurData(const T& x) = 0;
    virtual void MoveToFirst() { cur = 0; }
    virtual void MoveToNext() { ++cur; }
    virtual void MoveToPre() { --cur; }
    virtual void MoveToLast() { cur = length - 1; }
    virtual void MoveTo(long i) { cur = i; }
    // Writing past the end grows the container to i + 1 elements; the cursor moves to i.
    virtual T& operator[](long i);
    virtual const T* GetFirst() const = 0;
    virtual const T* GetNext(const T* p) const = 0;
    virtual const T* GetPre(const T* p) const = 0;
    virtual const T* GetLast() const = 0;
    virtual const T& GetAt(long i) const = 0;
    virtual void InsertCur(const T& x) = 0;
    virtual void Insert(long i, const T& x) {
        MoveTo(i);
        InsertCur(x);
    }
    virtual void InsertHead(const T& x) { Insert(0, x); }
    virtual long Append(const T& x) {
        MoveTo(length);
        InsertCur(x);
        return cur;
    }
    virtual void DelCur() = 0;
    virtual void Sort(CompareFn cmp) = 0;
    virtual void Sort(bool ascending) = 0;
    // Moves element from to stand before the element now at to (to == length: to the end).
    // False, changing nothing, for from == to, from == to - 1 or an index out of range.
    virtual bool Move(long from, long to);

    long GetLength() const { return length; }
    long GetCur() const { return cur; }
    long GetMaxIndex() const { return length - 1; }
    bool IsEmpty() const { return length == 0; }
    bool IsValidIndex(long i) const { return i >= 0 && i < length; }
    bool IsBegin() const { return cur < 0; }
    bool IsEnd() const { return cur >= length; }
    bool IsOut() const { return cur < 0 || cur >= length; }
    bool IsOwning() const { return owning; }
    const T& First() const { return *GetFirst(); }
    const T& Last() const { return *GetLast(); }
    const T* GetTo(long i) const { return IsValidIndex(i) ? &GetAt(i) : nullptr; }
    const T& operator[](long i) const { return GetAt(i); }

    void Del(long i) {
        MoveTo(i);
        DelCur();
    }
    void DelHead() { Del(0); }
    void DelTail() { Del(length - 1); }
    void Exchange(long i, long j);
    void Reverse(long from = 0, long to = -1);
    void SetAll(const T& x);
    void IncreaseSize(long n) { SetLength(length + n, true); }
    void DecreaseSize(long n) { SetLength(length - n, true); }
    // Copy n elements into out (which is resized to n first; it must not own its elements).
    void Left(long n, VxDynArrayBase& out) const { Mid(0, n, out); }
    void Right(long n, VxDynArrayBase& out) const { Mid(length - n, n, out); }
    void Mid(long from, long n, VxDynArrayBase& out) const;
    void DeepCopy(const VxDynArrayBase& other);
    void DeepCopy(const VxArray<T>& other);
    VxDynArrayBase& operator<<(const T& x) {
        Append(x);
        return *this;
    }
    VxDynArrayBase& operator<<(const VxDynArrayBase& other);
    VxDynArrayBase& operator<<(const VxArray<T>& other);

    // Equal lengths and pairwise equal elements; < and > compare lengths only.
    bool operator==(const VxDynArrayBase& o) const;
    bool operator!=(const VxDynArrayBase& o) const { return !(*this == o); }
    bool operator<(const VxDynArrayBase& o) const { return length < o.length; }
    bool operator>(const VxDynArrayBase& o) const { return length > o.length; }

    // Searches. A to that is negative or not below the length means the last index.
    long Find(const T& x, long from = 0, long to = -1) const;
    // Enqueues every matching index; returns the number of entries hits then holds.
    long Find(const T& x, VxQuene<long>& hits, long from = 0, long to = -1) const;
    // Cursor onto the first equal element at or after from; false leaves the cursor out.
    bool FindTo(const T& x, long from = 0);
    long FindDel(const T& x);
    long FindOrAppend(const T& x);
    long FindOrInsertHead(const T& x);
    // Binary searches of an ascending container.
    long BFind(const T& x, long from = 0, long to = -1) const;
    // Cursor on the element found (true) or on the position where x belongs (false).
    bool BFindTo(const T& x, long from = 0, long to = -1);
    // Inserts x keeping the container ascending, after its equals; with !allowEqual an x that
    // is already present is not inserted (false).
    bool SortInto(const T& x, bool allowEqual);

protected:
    VxDynArrayBase() = default;
    VxDynArrayBase(const VxDynArrayBase&) {}
    VxDynArrayBase& operator=(const VxDynArrayBase&) { return *this; }

    long ClampTo(long to) const { return (to < 0 || to >= length) ? length - 1 : to; }
    // Copies into an owning container would hand one object to two owners.
    bool RefuseCopyInto() const {
        assert(!owning && "element-wise copy into an owning container");
        return owning;
    }

    // The searches above with the comparison supplied, used by the owning containers too.
    // eq(e) says whether e matches; order(e) is negative when the searched value lies after e,
    // positive when it lies before e, 0 when e matches.
    template <class Eq>
    long FindWhere(Eq eq, long from, long to) const;
    template <class Eq>
    long FindAllWhere(Eq eq, VxQuene<long>& hits, long from, long to) const;
    template <class Eq>
    bool FindToWhere(Eq eq, long from);
    template <class Eq>
    long FindDelWhere(Eq eq);
    template <class Order>
    long BFindWhere(Order order, long from, long to) const;
    template <class Order>
    bool BFindToWhere(Order order, long from, long to);
    template <class Order>
    bool SortIntoWhere(Order order, const T& x, bool allowEqual);

    long length = 0;
    long cur = -1;
    bool owning = false;
};

#include "containers/VxDynArrayBaseOps.h"
#include "containers/VxDynArraySearch.h"
