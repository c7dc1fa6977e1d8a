#pragma once
// VxOwning<T, Base>: what the owning containers (VxDynPArray, VxPDList, VxPXList) share. Base is
// a cursor container of T*; every non-null entry points to a heap object that the container
// deletes when the entry is deleted, released or the container is reset or destroyed.
//
// Ownership rules:
// - Entries may be null (empty); empty entries count in the length.
// - Owning containers cannot be copied or assigned, and element-wise copies into them (DeepCopy,
//   <<, SetAll) are unavailable, so no object ever has two owners.
// - Storing over a non-null entry (SetCurData, operator[]) does not delete the old object;
//   use ReleaseCur or TakeOffCur first, or PlaceIn to fill an empty entry.
// - When SortInto, FindDataOrAppend or FindDataOrInsertHead do not store p, the caller keeps it.
// - Searches named ...Data and the sorts compare the pointed objects; empty entries match
//   nothing and sort after every object. FindDel(p) compares pointers.

#include <type_traits>
#include <utility>
#include "containers/VxDynArrayBase.h"

template <class T, class Base>
class VxOwning : public Base {
public:
    using Base::operator[];
    using CompareFn = typename VxDynArrayBase<T*>::CompareFn;

    VxOwning(const VxOwning&) = delete;
    VxOwning& operator=(const VxOwning&) = delete;
    void DeepCopy(const VxDynArrayBase<T*>&) = delete;
    void DeepCopy(const VxArray<T*>&) = delete;
    VxOwning& operator<<(const VxDynArrayBase<T*>&) = delete;
    VxOwning& operator<<(const VxArray<T*>&) = delete;
    void SetAll(T*) = delete;
    VxOwning& operator<<(T* p) {
        this->Append(p);
        return *this;
    }
    ~VxOwning() override { DeleteObjects(); }

    void Reset() override {
        DeleteObjects();
        Base::Reset();
    }
    void DelCur() override {
        ReleaseCur();
        Base::DelCur();
    }
    void Sort(CompareFn cmp) override {
        SortKeepingCursor([cmp](T* e, T* x) { return x && (!e || cmp(e, x) > 0); });
    }
    void Sort(bool ascending) override {
        if constexpr (VxOrdered<T>) {
            SortKeepingCursor([ascending](T* e, T* x) {
                if (!x || !e) return x && !e;
                return ascending ? *e > *x : Less(*e, *x);
            });
        } else {
            assert(!"Sort(bool) needs an element type with operator>");
        }
    }

    void ReleaseCur() {
        if (this->IsOut()) return;
        T*& p = this->GetCurData();
        delete p;
        p = nullptr;
    }
    void Release(long i) {
        this->MoveTo(i);
        ReleaseCur();
    }
    void ReleaseAll() { DeleteObjects(); }
    // The current pointer, given up without deleting the object (null with the cursor out).
    // Lists remove the entry; arrays keep it empty.
    T* TakeOffCur();
    T* TakeOff(long i) {
        this->MoveTo(i);
        return TakeOffCur();
    }
    T* TakeOffHead() { return TakeOff(0); }
    T* TakeOffTail() { return TakeOff(this->length - 1); }
    // Stores p in the first empty entry, else appends it; returns its index.
    long PlaceIn(T* p);
    long SafeAppend(T* p) { return p ? this->Append(p) : -1; }

    bool IsCurEmpty() { return this->IsOut() || !this->GetCurData(); }
    bool IsEmptyData(long i) const { return !this->IsValidIndex(i) || !this->GetAt(i); }
    long GetDataNum() const;
    T& GetCurPData() { return *this->GetCurData(); }
    T& GetPData(long i) const { return *this->GetAt(i); }
    T& operator()(long i) const { return *this->GetAt(i); }

    long FindData(const T& x, long from = 0, long to = -1) const {
        return this->FindWhere(Matches(x), from, to);
    }
    long FindData(const T& x, VxQuene<long>& hits, long from = 0, long to = -1) const {
        return this->FindAllWhere(Matches(x), hits, from, to);
    }
    bool FindDataTo(const T& x, long from = 0) { return this->FindToWhere(Matches(x), from); }
    long FindDataDel(const T& x) { return this->FindDelWhere(Matches(x)); }
    long FindDataOrAppend(T* p);
    long FindDataOrInsertHead(T* p);
    long BFindData(const T& x, long from = 0, long to = -1) const {
        return this->BFindWhere(OrderAgainst(&x), from, to);
    }
    bool BFindDataTo(const T& x, long from = 0, long to = -1) {
        return this->BFindToWhere(OrderAgainst(&x), from, to);
    }
    bool SortInto(T* p, bool allowEqual) {
        return this->SortIntoWhere(OrderAgainst(p), p, allowEqual);
    }

    bool operator==(const VxOwning& o) const;
    bool operator!=(const VxOwning& o) const { return !(*this == o); }

protected:
    template <class... A>
    explicit VxOwning(std::in_place_t, A... args) : Base(args...) {
        this->owning = true;
    }

    // Descending sorts use < where the type has it, else > reversed: records that only
    // define > can still live in an owning list.
    static bool Less(const T& a, const T& b) {
        if constexpr (requires { a < b; }) {
            return a < b;
        } else {
            return b > a;
        }
    }
    static auto Matches(const T& x) {
        return [&x](T* const& e) { return e && *e == x; };
    }
    // Order of entry e against object x, empty entries counting as greater than any object.
    static auto OrderAgainst(const T* x) {
        return [x](T* const& e) {
            if (!e || !x) return (e ? 0 : 1) - (x ? 0 : 1);
            return vxdetail::OrderOf(*e, *x);
        };
    }
    template <class After>
    void SortKeepingCursor(After after) {
        const long keep = this->cur;
        this->SortBy(after);
        this->MoveTo(keep);
    }
    void DeleteObjects() {
        for (this->MoveToFirst(); !this->IsOut(); this->MoveToNext()) ReleaseCur();
        this->MoveTo(-1);
    }
};

template <class T, class Base>
T* VxOwning<T, Base>::TakeOffCur() {
    if (this->IsOut()) return nullptr;
    T* p = this->GetCurData();
    this->GetCurData() = nullptr;
    if constexpr (Base::kIsList) Base::DelCur();
    return p;
}

template <class T, class Base>
long VxOwning<T, Base>::PlaceIn(T* p) {
    const long i = this->FindWhere([](T* const& e) { return !e; }, 0, -1);
    if (i < 0) return this->Append(p);
    this->MoveTo(i);
    this->SetCurData(p);
    return i;
}

template <class T, class Base>
long VxOwning<T, Base>::GetDataNum() const {
    long n = 0;
    for (T* const* e = this->GetFirst(); e; e = this->GetNext(e)) n += *e ? 1 : 0;
    return n;
}

template <class T, class Base>
long VxOwning<T, Base>::FindDataOrAppend(T* p) {
    const long i = p ? FindData(*p) : -1;
    return i >= 0 ? i : this->Append(p);
}

template <class T, class Base>
long VxOwning<T, Base>::FindDataOrInsertHead(T* p) {
    const long i = p ? FindData(*p) : -1;
    if (i >= 0) return i;
    this->InsertHead(p);
    return 0;
}

template <class T, class Base>
bool VxOwning<T, Base>::operator==(const VxOwning& o) const {
    if (this->length != o.length) return false;
    for (T *const *a = this->GetFirst(), *const *b = o.GetFirst(); a && b;
         a = this->GetNext(a), b = o.GetNext(b)) {
        if (!*a || !*b) {
            if (*a != *b) return false;
        } else if (**a != **b) {
            return false;
        }
    }
    return true;
}
