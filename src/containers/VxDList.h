#pragma once
// VxDList<T>: the doubly linked cursor list. Same behaviour as VxList, but stepping back is O(1)
// and MoveTo walks from whichever of the cursor, the front and the back is nearest.

#include <cstdlib>
#include "containers/VxList.h"

template <class T>
class VxDList : public VxList<T> {
public:
    using Base = VxList<T>;
    using Node = typename Base::Node;
    using Base::operator[];
    using Base::operator<<;

    explicit VxDList(long n = 0) : Base(typename Base::DoubleLinked{}) { this->ReAllocate(n); }
    VxDList(const VxDList& other) : VxDList() { this->DeepCopy(other); }
    explicit VxDList(const VxDynArrayBase<T>& other) : VxDList() { this->DeepCopy(other); }
    VxDList& operator=(const VxDList& other) {
        this->DeepCopy(other);
        return *this;
    }
    VxDList& operator=(const VxDynArrayBase<T>& other) {
        this->DeepCopy(other);
        return *this;
    }

    void MoveToPre() override {
        Node* p = Base::D(this->curNode)->pre;
        this->Place(p, p == this->head ? -1 : (this->cur < 0 ? this->length - 1 : this->cur - 1));
    }
    void MoveTo(long i) override;
    const T* GetPre(const T* p) const override {
        if (!p) return nullptr;
        Node* n = Base::D(Base::NodeOf(p))->pre;
        return n == this->head ? nullptr : &n->data;
    }
    const T& GetAt(long i) const override { return NearestNode(i)->data; }
    void DelCur() override {
        if (this->IsOut()) return;
        Base::DelCur();
        Base::D(this->curNode->next)->pre = Base::D(this->curNode);
    }
    void InsertAfterCur(const T& x) override {
        Base::InsertAfterCur(x);
        LinkPre(this->curNode);
    }
    void DetachAfterCur() override {
        Base::DetachAfterCur();
        Base::D(this->head)->pre = Base::D(this->curNode);
    }
    long Conbine(Base& other, long from) override;
    void ReverseList() override {
        Base::ReverseList();
        this->RebuildPre();
    }
    void Rotate(long from, long to) override {
        Base::Rotate(from, to);
        this->RebuildPre();
    }

protected:
    // Sets the predecessor links on both sides of n from the forward links around it.
    void LinkPre(Node* n) {
        // n->next still names the node n was inserted after as its predecessor.
        Base::D(n)->pre = Base::D(n->next)->pre;
        Base::D(n->next)->pre = Base::D(n);
    }
    Node* NearestNode(long i) const;
};

template <class T>
void VxDList<T>::MoveTo(long i) {
    if (!this->IsValidIndex(i)) {
        this->Place(this->head, -1);
    } else if (i == 0) {
        this->MoveToFirst();
    } else if (i == this->length - 1) {
        this->MoveToLast();
    } else {
        if (this->cur < 0) {
            // From out, enter at the nearer end.
            if (i < this->length / 2) {
                this->MoveToFirst();
            } else {
                this->MoveToLast();
            }
        }
        while (this->cur > i) MoveToPre();
        while (this->cur < i) this->Place(this->curNode->next, this->cur + 1);
    }
}

template <class T>
typename VxDList<T>::Node* VxDList<T>::NearestNode(long i) const {
    if (!this->IsValidIndex(i)) return this->head;
    Node* n = this->head->next;
    long at = 0;
    if (this->cur >= 0 && std::labs(this->cur - i) < i) {
        n = this->curNode;
        at = this->cur;
    }
    if (this->length - 1 - i < std::labs(at - i)) {
        n = this->tail;
        at = this->length - 1;
    }
    for (; at < i; ++at) n = n->next;
    for (; at > i; --at) n = Base::D(n)->pre;
    return n;
}

template <class T>
long VxDList<T>::Conbine(Base& other, long from) {
    Node* oldTail = this->tail;
    const long before = this->length;
    Base::Conbine(other, from);
    if (this->length != before) {
        Base::D(oldTail->next)->pre = Base::D(oldTail);
        Base::D(this->head)->pre = Base::D(this->tail);
    }
    return this->length;
}
