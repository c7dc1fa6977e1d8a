#pragma once
// Searches of VxDynArrayBase (included by VxDynArrayBase.h). The linear ones walk element
// pointers (GetNext) so they cost one step per element on every container and leave the cursor
// alone; the ...To forms position the cursor.

#include "containers/VxDynArrayBase.h"
#include "containers/VxSortDetail.h"

template <class T>
template <class Eq>
long VxDynArrayBase<T>::FindWhere(Eq eq, long from, long to) const {
    to = ClampTo(to);
    if (!IsValidIndex(from)) return -1;
    const T* p = &GetAt(from);
    for (long i = from; i <= to && p; ++i, p = GetNext(p)) {
        if (eq(*p)) return i;
    }
    return -1;
}

template <class T>
template <class Eq>
long VxDynArrayBase<T>::FindAllWhere(Eq eq, VxQuene<long>& hits, long from, long to) const {
    to = ClampTo(to);
    if (IsValidIndex(from)) {
        const T* p = &GetAt(from);
        for (long i = from; i <= to && p; ++i, p = GetNext(p)) {
            if (eq(*p)) hits.EnQuene(i);
        }
    }
    return hits.GetLength();
}

template <class T>
template <class Eq>
bool VxDynArrayBase<T>::FindToWhere(Eq eq, long from) {
    if (!IsValidIndex(from)) {
        MoveTo(-1);
        return false;
    }
    for (MoveTo(from); !IsOut(); MoveToNext()) {
        if (eq(GetCurData())) return true;
    }
    MoveTo(-1);
    return false;
}

template <class T>
template <class Eq>
long VxDynArrayBase<T>::FindDelWhere(Eq eq) {
    long deleted = 0;
    for (MoveToFirst(); !IsOut(); MoveToNext()) {
        if (eq(GetCurData())) {
            DelCur();  // the cursor falls back one, so the next step lands on the successor
            ++deleted;
        }
    }
    return deleted;
}

template <class T>
template <class Order>
long VxDynArrayBase<T>::BFindWhere(Order order, long from, long to) const {
    if (length == 0) return -1;
    auto at = [this](long i) -> const T& { return GetAt(i); };
    return vxdetail::BinaryFind(at, order, from, ClampTo(to));
}

template <class T>
template <class Order>
bool VxDynArrayBase<T>::BFindToWhere(Order order, long from, long to) {
    if (length == 0) {
        MoveTo(0);
        return false;
    }
    to = ClampTo(to);
    if (from < 0) from = 0;
    if (from > to || order(GetAt(from)) > 0) {
        MoveTo(from);
        return false;
    }
    if (order(GetAt(to)) < 0) {
        MoveTo(to + 1);
        return false;
    }
    long lo = from, hi = to;
    while (lo < hi) {
        const long mid = (lo + hi) / 2;
        MoveTo(mid);
        const int o = order(GetCurData());
        if (o < 0) {
            lo = mid + 1;
        } else if (o > 0) {
            hi = mid - 1;
        } else {
            return true;
        }
    }
    MoveTo(lo);
    const int o = order(GetCurData());
    if (o < 0) MoveToNext();
    return o == 0;
}

template <class T>
template <class Order>
bool VxDynArrayBase<T>::SortIntoWhere(Order order, const T& x, bool allowEqual) {
    if (BFindToWhere(order, 0, -1)) {
        if (!allowEqual) return false;
        while (!IsOut() && order(GetCurData()) == 0) MoveToNext();
    }
    InsertCur(x);
    return true;
}

template <class T>
long VxDynArrayBase<T>::Find(const T& x, long from, long to) const {
    return FindWhere([&x](const T& e) { return e == x; }, from, to);
}

template <class T>
long VxDynArrayBase<T>::Find(const T& x, VxQuene<long>& hits, long from, long to) const {
    return FindAllWhere([&x](const T& e) { return e == x; }, hits, from, to);
}

template <class T>
bool VxDynArrayBase<T>::FindTo(const T& x, long from) {
    return FindToWhere([&x](const T& e) { return e == x; }, from);
}

template <class T>
long VxDynArrayBase<T>::FindDel(const T& x) {
    return FindDelWhere([&x](const T& e) { return e == x; });
}

template <class T>
long VxDynArrayBase<T>::FindOrAppend(const T& x) {
    const long i = Find(x, 0, -1);
    return i >= 0 ? i : Append(x);
}

template <class T>
long VxDynArrayBase<T>::FindOrInsertHead(const T& x) {
    const long i = Find(x, 0, -1);
    if (i >= 0) return i;
    InsertHead(x);
    return 0;
}

template <class T>
long VxDynArrayBase<T>::BFind(const T& x, long from, long to) const {
    return BFindWhere([&x](const T& e) { return vxdetail::OrderOf(e, x); }, from, to);
}

template <class T>
bool VxDynArrayBase<T>::BFindTo(const T& x, long from, long to) {
    return BFindToWhere([&x](const T& e) { return vxdetail::OrderOf(e, x); }, from, to);
}

template <class T>
bool VxDynArrayBase<T>::SortInto(const T& x, bool allowEqual) {
    return SortIntoWhere([&x](const T& e) { return vxdetail::OrderOf(e, x); }, x, allowEqual);
}
