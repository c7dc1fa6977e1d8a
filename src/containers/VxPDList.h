#pragma once
// VxPDList<T>: a doubly linked list of owned pointers (ownership rules in VxOwning.h), and
// VxPXList<T>, the same over the indexed VxXList. Cutting the tail off (DetachAfterCur,
// DetachAfter, Detach, SetLength) deletes the objects of the cut entries; Conbine and SplitAt
// hand the objects over to the receiving list.

#include <utility>
#include "containers/VxDList.h"
#include "containers/VxOwning.h"
#include "containers/VxXList.h"

template <class T, class ListBase>
class VxOwningList : public VxOwning<T, ListBase> {
    using Owner = VxOwning<T, ListBase>;

public:
    void DetachAfterCur() override {
        if (!this->keepCut) DeleteAfterCur();
        ListBase::DetachAfterCur();
    }

protected:
    using Owner::Owner;

    void DeleteAfterCur() {
        for (auto* n = this->curNode->next; n != this->head; n = n->next) {
            delete n->data;
            n->data = nullptr;
        }
    }
};

template <class T>
class VxPDList : public VxOwningList<T, VxDList<T*>> {
public:
    explicit VxPDList(long n = 0) : VxOwningList<T, VxDList<T*>>(std::in_place, n) {}
};

template <class T>
class VxPXList : public VxOwningList<T, VxXList<T*>> {
public:
    explicit VxPXList(long n = 0, long group = 32, long unit = 64)
        : VxOwningList<T, VxXList<T*>>(std::in_place, n, group, unit) {}
};
