#pragma once
// VxArray<T>: an array whose storage always holds exactly GetLength() elements. No cursor and no
// spare capacity: every Insert/Del reallocates, so it suits small tables that rarely change size.
// Indexing does no bounds check and never grows the array.

#include <cassert>
#include "containers/VxQuene.h"
#include "containers/VxSortDetail.h"

template <class T>
class VxDynArrayBase;

template <class T>
class VxArray {
public:
    explicit VxArray(long n = 0) { ReAllocate(n, false); }
    VxArray(const VxArray& other) { CopyFrom(other); }
    explicit VxArray(const VxDynArrayBase<T>& src);
    VxArray& operator=(const VxArray& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    virtual ~VxArray() { delete[] data; }

    // Resizes to exactly n elements (n <= 0 frees the storage); keep copies min(n, length) old
    // ones.
    void ReAllocate(long n, bool keep);
    void Insert(long i, const T& x);
    void InsertHead(const T& x) { Insert(0, x); }
    long Append(const T& x) {
        Insert(length, x);
        return length - 1;
    }
    void Del(long i);
    void DelHead() { Del(0); }
    void DelTail() { Del(length - 1); }

    const T& GetAt(long i) const { return data[i]; }
    T& operator[](long i) { return data[i]; }
    const T& operator[](long i) const { return data[i]; }
    void SetAt(long i, const T& x) { data[i] = x; }
    void SetAll(const T& x) {
        for (long i = 0; i < length; ++i) data[i] = x;
    }
    T* GetDataBuffer() { return data; }
    const T* GetDataBuffer() const { return data; }
    long GetLength() const { return length; }
    long GetMaxIndex() const { return length - 1; }
    bool IsEmpty() const { return length == 0; }
    bool IsValidIndex(long i) const { return i >= 0 && i < length; }
    void Reset() { ReAllocate(0, false); }

    // Searches as on the cursor containers: to < 0 or to >= length means the last index.
    long Find(const T& x, long from = 0, long to = -1) const;
    long Find(const T& x, VxQuene<long>& hits, long from = 0, long to = -1) const;
    long FindDel(const T& x);
    long FindOrAppend(const T& x);
    long FindOrInsertHead(const T& x);
    long BFind(const T& x, long from = 0, long to = -1) const;
    void Reverse(long from = 0, long to = -1);
    void Sort(bool ascending = true);
    void Sort(int (*cmp)(const T&, const T&));

    bool operator==(const VxArray& o) const;
    bool operator!=(const VxArray& o) const { return !(*this == o); }
    bool operator<(const VxArray& o) const { return length < o.length; }
    bool operator>(const VxArray& o) const { return length > o.length; }

private:
    void CopyFrom(const VxArray& other);
    long ClampTo(long to) const { return (to < 0 || to >= length) ? length - 1 : to; }

    T* data = nullptr;
    long length = 0;
};

template <class T>
VxArray<T>::VxArray(const VxDynArrayBase<T>& src) {
    ReAllocate(src.GetLength(), false);
    long i = 0;
    for (const T* p = src.GetFirst(); p && i < length; p = src.GetNext(p)) data[i++] = *p;
}

template <class T>
void VxArray<T>::CopyFrom(const VxArray& other) {
    ReAllocate(other.length, false);
    for (long i = 0; i < length; ++i) data[i] = other.data[i];
}

template <class T>
void VxArray<T>::ReAllocate(long n, bool keep) {
    if (n == length) return;
    T* fresh = n > 0 ? new T[n]() : nullptr;
    if (keep) {
        for (long i = 0; i < n && i < length; ++i) fresh[i] = data[i];
    }
    delete[] data;
    data = fresh;
    length = n > 0 ? n : 0;
}

template <class T>
void VxArray<T>::Insert(long i, const T& x) {
    assert(i >= 0 && i <= length && "VxArray::Insert index out of range");
    T* fresh = new T[length + 1]();
    for (long k = 0; k < i; ++k) fresh[k] = data[k];
    fresh[i] = x;
    for (long k = i; k < length; ++k) fresh[k + 1] = data[k];
    delete[] data;
    data = fresh;
    ++length;
}

template <class T>
void VxArray<T>::Del(long i) {
    if (!IsValidIndex(i)) return;
    T* fresh = length > 1 ? new T[length - 1]() : nullptr;
    for (long k = 0, o = 0; k < length; ++k) {
        if (k != i) fresh[o++] = data[k];
    }
    delete[] data;
    data = fresh;
    --length;
}

template <class T>
long VxArray<T>::Find(const T& x, long from, long to) const {
    to = ClampTo(to);
    for (long i = from < 0 ? 0 : from; i <= to; ++i) {
        if (data[i] == x) return i;
    }
    return -1;
}

template <class T>
long VxArray<T>::Find(const T& x, VxQuene<long>& hits, long from, long to) const {
    to = ClampTo(to);
    for (long i = from < 0 ? 0 : from; i <= to; ++i) {
        if (data[i] == x) hits.EnQuene(i);
    }
    return hits.GetLength();
}

template <class T>
long VxArray<T>::FindDel(const T& x) {
    long kept = 0;
    for (long i = 0; i < length; ++i) {
        if (data[i] != x) ++kept;
    }
    const long gone = length - kept;
    if (gone == 0) return 0;
    T* fresh = kept > 0 ? new T[kept]() : nullptr;
    for (long i = 0, o = 0; i < length; ++i) {
        if (data[i] != x) fresh[o++] = data[i];
    }
    delete[] data;
    data = fresh;
    length = kept;
    return gone;
}

template <class T>
long VxArray<T>::FindOrAppend(const T& x) {
    const long i = Find(x);
    return i >= 0 ? i : Append(x);
}

template <class T>
long VxArray<T>::FindOrInsertHead(const T& x) {
    const long i = Find(x);
    if (i >= 0) return i;
    InsertHead(x);
    return 0;
}

template <class T>
long VxArray<T>::BFind(const T& x, long from, long to) const {
    if (length == 0) return -1;
    auto at = [this](long i) -> const T& { return data[i]; };
    auto order = [&x](const T& e) { return vxdetail::OrderOf(e, x); };
    return vxdetail::BinaryFind(at, order, from, ClampTo(to));
}

template <class T>
void VxArray<T>::Reverse(long from, long to) {
    to = ClampTo(to);
    for (T temp; from < to; ++from, --to) {
        temp = data[from];
        data[from] = data[to];
        data[to] = temp;
    }
}

template <class T>
void VxArray<T>::Sort(bool ascending) {
    vxdetail::RankSort(data, length,
                       [ascending](const T& a, const T& b) { return ascending ? a > b : b > a; });
}

template <class T>
void VxArray<T>::Sort(int (*cmp)(const T&, const T&)) {
    vxdetail::RankSort(data, length, [cmp](const T& a, const T& b) { return cmp(a, b) > 0; });
}

template <class T>
bool VxArray<T>::operator==(const VxArray& o) const {
    if (length != o.length) return false;
    for (long i = 0; i < length; ++i) {
        if (data[i] != o.data[i]) return false;
    }
    return true;
}
