#pragma once
// Algorithms shared by the contiguous containers (VxDynArray, VxArray).

#include <vector>

namespace vxdetail {

// Moves data[i] to position rank[i], one permutation cycle at a time with one temporary.
template <class T>
void ApplyRanks(T* data, const std::vector<long>& rank) {
    const long n = static_cast<long>(rank.size());
    std::vector<long> source(n);
    for (long i = 0; i < n; ++i) source[rank[i]] = i;
    for (long start = 0; start < n; ++start) {
        if (source[start] == start) continue;
        T temp;
        temp = data[start];
        long k = start;
        while (source[k] != start) {
            const long from = source[k];
            data[k] = data[from];
            source[k] = k;
            k = from;
        }
        data[k] = temp;
        source[k] = k;
    }
}

// Stable rank sort: after(a, b) says that a, standing before b, must come after it. Every pair
// is compared once (n(n-1)/2 comparisons) and nothing is swapped until the ranks are known,
// so the element type only needs copy assignment.
template <class T, class After>
void RankSort(T* data, long n, After after) {
    if (n < 2) return;
    std::vector<long> rank(n);
    for (long i = 0; i < n; ++i) rank[i] = i;
    for (long i = 0; i + 1 < n; ++i) {
        for (long j = i + 1; j < n; ++j) {
            if (after(data[i], data[j])) {
                ++rank[i];
                --rank[j];
            }
        }
    }
    ApplyRanks(data, rank);
}

// Three-way order of element e against the searched x using only operator>:
// negative when x > e (x lies further on), positive when e > x, 0 when neither is greater.
template <class T>
int OrderOf(const T& e, const T& x) {
    if (x > e) return -1;
    return e > x ? 1 : 0;
}

// Binary search over at(i) for from..to (inclusive, already clamped); order(e) as OrderOf.
template <class At, class Order>
long BinaryFind(At at, Order order, long from, long to) {
    if (from < 0 || from > to) return -1;
    if (order(at(from)) > 0 || order(at(to)) < 0) return -1;
    long lo = from, hi = to;
    while (lo <= hi) {
        const long mid = (lo + hi) / 2;
        const int o = order(at(mid));
        if (o < 0) {
            lo = mid + 1;
        } else if (o > 0) {
            hi = mid - 1;
        } else {
            return mid;
        }
    }
    return -1;
}

}  // namespace vxdetail
