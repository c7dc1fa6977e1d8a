#pragma once
// Operations of VxDynArrayBase built from its virtual primitives (included by VxDynArrayBase.h).

#include <cassert>
#include <cstddef>
#include <vector>

#include "containers/VxDynArrayBase.h"

template <class T>
T& VxDynArrayBase<T>::operator[](long i) {
    assert(i >= 0 && "negative container index");
    if (i >= length) ReAllocate(i + 1);
    MoveTo(i);
    return GetCurData();
}

template <class T>
bool VxDynArrayBase<T>::Move(long from, long to) {
    if (from == to || from == to - 1) return false;
    if (!IsValidIndex(from) || to < 0 || to > length) return false;
    T item;
    item = GetAt(from);
    Insert(to, item);
    // Empty the old slot before removing it: an owning container would otherwise delete the
    // object that now also sits at the new place.
    MoveTo(from < to ? from : from + 1);
    SetCurData(T());
    DelCur();
    MoveTo(from < to ? to - 1 : to);
    return true;
}

template <class T>
void VxDynArrayBase<T>::Exchange(long i, long j) {
    if (i == j || !IsValidIndex(i) || !IsValidIndex(j)) return;
    T a, b;
    a = GetAt(i);
    MoveTo(j);
    b = GetCurData();
    SetCurData(a);
    MoveTo(i);
    SetCurData(b);
}

template <class T>
void VxDynArrayBase<T>::Reverse(long from, long to) {
    to = ClampTo(to);
    if (from < 0 || from >= to) return;
    // One walk to copy the run and one to write it back: linear on every container.
    std::vector<T> run;
    run.reserve(static_cast<size_t>(to - from + 1));
    for (const T* p = &GetAt(from); p && static_cast<long>(run.size()) <= to - from;
         p = GetNext(p)) {
        run.push_back(*p);
    }
    MoveTo(from);
    for (auto it = run.rbegin(); it != run.rend(); ++it, MoveToNext()) SetCurData(*it);
    MoveTo(from);
}

template <class T>
void VxDynArrayBase<T>::SetAll(const T& x) {
    if (RefuseCopyInto()) return;
    for (MoveToFirst(); !IsOut(); MoveToNext()) SetCurData(x);
}

template <class T>
void VxDynArrayBase<T>::Mid(long from, long n, VxDynArrayBase& out) const {
    if (out.RefuseCopyInto() || &out == this) return;
    if (from < 0) from = 0;
    if (n > length - from) n = length - from;
    if (n < 0) n = 0;
    out.SetLength(n, false);
    out.MoveToFirst();
    const T* p = n > 0 ? &GetAt(from) : nullptr;
    for (long k = 0; k < n; ++k, p = GetNext(p), out.MoveToNext()) out.SetCurData(*p);
    out.MoveTo(-1);
}

template <class T>
void VxDynArrayBase<T>::DeepCopy(const VxDynArrayBase& other) {
    if (&other == this || RefuseCopyInto()) return;
    SetLength(other.GetLength(), false);
    MoveToFirst();
    for (const T* p = other.GetFirst(); p; p = other.GetNext(p), MoveToNext()) SetCurData(*p);
    MoveTo(-1);
}

template <class T>
void VxDynArrayBase<T>::DeepCopy(const VxArray<T>& other) {
    if (RefuseCopyInto()) return;
    SetLength(other.GetLength(), false);
    MoveToFirst();
    for (long i = 0; i < other.GetLength(); ++i, MoveToNext()) SetCurData(other[i]);
    MoveTo(-1);
}

template <class T>
VxDynArrayBase<T>& VxDynArrayBase<T>::operator<<(const VxDynArrayBase& other) {
    if (RefuseCopyInto()) return *this;
    if (&other == this) return *this << VxArray<T>(other);
    for (const T* p = other.GetFirst(); p; p = other.GetNext(p)) Append(*p);
    return *this;
}

template <class T>
VxDynArrayBase<T>& VxDynArrayBase<T>::operator<<(const VxArray<T>& other) {
    if (RefuseCopyInto()) return *this;
    for (long i = 0; i < other.GetLength(); ++i) Append(other[i]);
    return *this;
}

template <class T>
bool VxDynArrayBase<T>::operator==(const VxDynArrayBase& o) const {
    if (length != o.length) return false;
    for (const T *a = GetFirst(), *b = o.GetFirst(); a && b; a = GetNext(a), b = o.GetNext(b)) {
        if (*a != *b) return false;
    }
    return true;
}
