#pragma once
// VxXList<T>: a VxDList that also indexes every groupSize-th node, so MoveTo and GetAt reach any
// index in at most groupSize steps after one jump. Inserting or deleting at index p updates the
// entries after p (O(length / groupSize)); appending is O(1). Splices, rotations, reversals and
// sorts rebuild the index.

#include <cstdlib>
#include "containers/VxDList.h"
#include "containers/VxDynArray.h"

template <class T>
class VxXList : public VxDList<T> {
public:
    using Base = VxDList<T>;
    using Node = typename Base::Node;
    using Base::operator[];
    using Base::operator<<;

    explicit VxXList(long n = 0, long group = 32, long unit = 64)
        : Base(n), groups(0, unit), groupSize(group < 1 ? 1 : group) {
        UpdateGroup(0);
    }
    VxXList(const VxXList& other) : VxXList(0, other.groupSize, other.groups.GetAllocUnit()) {
        this->DeepCopy(other);
    }
    explicit VxXList(const VxDynArrayBase<T>& other) : VxXList() { this->DeepCopy(other); }
    VxXList& operator=(const VxXList& other) {
        this->DeepCopy(other);
        return *this;
    }
    VxXList& operator=(const VxDynArrayBase<T>& other) {
        this->DeepCopy(other);
        return *this;
    }

    void Reset() override {
        groups.Reset();
        Base::Reset();
    }
    void MoveTo(long i) override;
    const T& GetAt(long i) const override;
    void DelCur() override;
    void Sort(typename VxDynArrayBase<T>::CompareFn cmp) override {
        SortKeeping([cmp](const T& e, const T& x) { return cmp(e, x) > 0; });
    }
    void Sort(bool ascending) override {
        if constexpr (VxOrdered<T>) {
            SortKeeping([ascending](const T& e, const T& x) { return ascending ? e > x : x > e; });
        } else {
            assert(!"Sort(bool) needs an element type with operator>");
        }
    }
    void InsertAfterCur(const T& x) override;
    void DetachAfterCur() override {
        Base::DetachAfterCur();
        const long need = (this->length + groupSize - 1) / groupSize;
        if (groups.GetLength() > need) groups.ReAllocate(need);
    }
    long Conbine(VxList<T>& other, long from) override {
        const long had = groups.GetLength();
        Base::Conbine(other, from);
        UpdateGroup(had);
        return this->length;
    }
    void ReverseList() override {
        Base::ReverseList();
        UpdateGroup(0);
    }
    void Rotate(long from, long to) override {
        Base::Rotate(from, to);
        UpdateGroup(0);
    }

    // Rebuilds the index from group k on (entries before k are kept).
    void UpdateGroup(long k);
    long GetGroupSize() const { return groupSize; }
    long GetGroupCount() const { return groups.GetLength(); }

protected:
    template <class After>
    void SortBy(After after) {
        Base::SortBy(after);
        UpdateGroup(0);
    }
    template <class After>
    void SortKeeping(After after) {
        const long keep = this->cur;
        SortBy(after);
        MoveTo(keep);
    }

    VxDynArray<Node*> groups;  // groups[k]: the node at index k * groupSize
    long groupSize;
};

template <class T>
void VxXList<T>::UpdateGroup(long k) {
    if (k < 0) k = 0;
    if (k > groups.GetLength()) k = groups.GetLength();
    groups.ReAllocate(k);
    long i = k * groupSize;
    if (i >= this->length) return;
    Node* n = k > 0 ? groups.GetAt(k - 1) : this->head->next;
    long at = k > 0 ? (k - 1) * groupSize : 0;
    for (; i < this->length; i += groupSize) {
        for (; at < i; ++at) n = n->next;
        groups.Append(n);
    }
}

template <class T>
void VxXList<T>::MoveTo(long i) {
    if (!this->IsValidIndex(i)) {
        this->Place(this->head, -1);
        return;
    }
    const long k = i / groupSize;
    // Jump to the group unless the cursor is at least as close already.
    const bool near = this->cur >= 0 && std::labs(i - this->cur) <= i - k * groupSize;
    if (!near && k < groups.GetLength()) this->Place(groups.GetAt(k), k * groupSize);
    Base::MoveTo(i);
}

template <class T>
const T& VxXList<T>::GetAt(long i) const {
    const long k = i / groupSize;
    if (i < 0 || i >= this->length || k >= groups.GetLength()) return Base::GetAt(i);
    Node* n = groups.GetAt(k);
    for (long at = k * groupSize; at < i; ++at) n = n->next;
    return n->data;
}

template <class T>
void VxXList<T>::InsertAfterCur(const T& x) {
    Base::InsertAfterCur(x);
    // Every indexed node at or after the new index now stands one further on.
    Node** g = groups.GetDataBuffer();
    for (long k = (this->cur + groupSize - 1) / groupSize; k < groups.GetLength(); ++k) {
        g[k] = Base::D(g[k])->pre;
    }
    if (groups.GetLength() * groupSize < this->length) groups.Append(this->tail);
}

template <class T>
void VxXList<T>::DelCur() {
    if (this->IsOut()) return;
    const long need = (this->length - 1 + groupSize - 1) / groupSize;
    if (groups.GetLength() > need) groups.ReAllocate(need);
    Node** g = groups.GetDataBuffer();
    for (long k = (this->cur + groupSize - 1) / groupSize; k < groups.GetLength(); ++k) {
        g[k] = g[k]->next;
    }
    Base::DelCur();
}
