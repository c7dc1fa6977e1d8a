#pragma once
// Member definitions of VxList (included by VxList.h).

#include "containers/VxList.h"

template <class T>
void VxList<T>::ReAllocate(long n) {
    if (this->length >= n) return;
    const long keep = this->cur;
    while (this->length < n) {
        MoveToLast();
        InsertAfterCur(T());
    }
    MoveTo(keep);
}

template <class T>
void VxList<T>::SetLength(long n, bool) {
    if (n >= this->length) {
        ReAllocate(n);
        return;
    }
    const long keep = this->cur;
    DetachAfter(n - 1);
    MoveTo(keep);
}

template <class T>
void VxList<T>::Reset() {
    FreeChain(head->next);
    CloseRing();
}

template <class T>
void VxList<T>::FreeChain(Node* first) {
    while (first != head) {
        Node* next = first->next;
        FreeNode(first);
        first = next;
    }
}

template <class T>
void VxList<T>::MoveToPre() {
    if (this->cur < 0) {
        MoveToLast();
    } else {
        MoveTo(this->cur - 1);
    }
}

template <class T>
void VxList<T>::MoveTo(long i) {
    if (!this->IsValidIndex(i)) {
        Place(head, -1);
        return;
    }
    if (i == this->length - 1) {
        MoveToLast();
        return;
    }
    if (i < this->cur || this->cur < 0) MoveToFirst();
    while (this->cur < i) Place(curNode->next, this->cur + 1);
}

template <class T>
typename VxList<T>::Node* VxList<T>::NodeAt(long i) const {
    if (!this->IsValidIndex(i)) return head;
    if (i == this->length - 1) return tail;
    Node* n = curNode;
    long at = this->cur;
    if (at < 0 || i < at) {
        n = head->next;
        at = 0;
    }
    for (; at < i; ++at) n = n->next;
    return n;
}

template <class T>
const T* VxList<T>::GetNext(const T* p) const {
    if (!p) return nullptr;
    Node* n = NodeOf(p)->next;
    return n == head ? nullptr : &n->data;
}

template <class T>
const T* VxList<T>::GetPre(const T* p) const {
    if (!p) return nullptr;
    Node* target = NodeOf(p);
    Node* n = head;
    while (n->next != target && n->next != head) n = n->next;
    return (n == head || n->next != target) ? nullptr : &n->data;
}

template <class T>
void VxList<T>::InsertAfterCur(const T& x) {
    Node* n = NewNode();
    n->data = x;
    n->next = curNode->next;
    curNode->next = n;
    if (curNode == tail) tail = n;
    ++this->length;
    Place(n, this->cur + 1);
}

template <class T>
void VxList<T>::DelCur() {
    if (this->IsOut()) return;
    MoveToPre();
    Node* gone = curNode->next;
    curNode->next = gone->next;
    if (gone == tail) tail = curNode;
    FreeNode(gone);
    --this->length;
}

template <class T>
void VxList<T>::DetachAfterCur() {
    Node* first = curNode->next;
    curNode->next = head;
    tail = curNode;
    this->length = this->cur + 1;
    if (!keepCut) FreeChain(first);
}

template <class T>
void VxList<T>::DetachAfter(long i) {
    if (i >= this->length) return;
    MoveTo(i);
    DetachAfterCur();
}

template <class T>
long VxList<T>::Conbine(VxList& other, long from) {
    if (&other == this || !other.IsValidIndex(from)) return this->length;
    const long count = other.length - from;
    other.MoveTo(from - 1);
    Node* first = other.curNode->next;
    Node* last = other.tail;
    other.keepCut = true;
    other.DetachAfterCur();
    other.keepCut = false;
    last->next = head;
    if (other.doubleLinked == doubleLinked) {
        tail->next = first;
        tail = last;
        this->length += count;
        return this->length;
    }
    // Node kinds differ (singly and doubly linked lists): move the values instead.
    const long keep = this->cur;
    for (Node* n = first; n != head;) {
        Append(n->data);
        Node* next = n->next;
        other.FreeNode(n);
        n = next;
    }
    MoveTo(keep);
    return this->length;
}

template <class T>
void VxList<T>::ReverseList() {
    if (this->length < 2) return;
    Node* oldFirst = head->next;
    Node* prev = head;
    for (Node* n = head->next; n != head;) {
        Node* next = n->next;
        n->next = prev;
        prev = n;
        n = next;
    }
    head->next = prev;
    tail = oldFirst;
    // The node under the cursor stays current; its index is mirrored.
    if (this->cur >= 0) this->cur = this->length - 1 - this->cur;
}

template <class T>
void VxList<T>::Rotate(long from, long to) {
    if (from == to || !this->IsValidIndex(from) || !this->IsValidIndex(to)) return;
    const long k = ((from - to) % this->length + this->length) % this->length;
    if (k != 0) {
        Node* newTail = NodeAt(k - 1);
        Node* newFirst = newTail->next;
        tail->next = head->next;
        newTail->next = head;
        head->next = newFirst;
        tail = newTail;
    }
    MoveToFirst();
}

template <class T>
void VxList<T>::RebuildPre() {
    Node* prev = head;
    for (Node* n = head->next; n != head; n = n->next) {
        D(n)->pre = D(prev);
        prev = n;
    }
    D(head)->pre = D(prev);
}

template <class T>
template <class After>
void VxList<T>::SortBy(After after) {
    Place(head, -1);
    if (this->length < 2) return;
    Node* prevX = head->next;
    for (Node* x = prevX->next; x != head;) {
        Node* next = x->next;
        // The prefix before x is sorted: x goes in front of the first element that must come
        // after it, so equal elements keep their order.
        Node* before = head;
        Node* e = head->next;
        while (e != x && !after(e->data, x->data)) {
            before = e;
            e = e->next;
        }
        if (e != x) {
            prevX->next = next;
            before->next = x;
            x->next = e;
            if (x == tail) tail = prevX;
        } else {
            prevX = x;
        }
        x = next;
    }
    if (doubleLinked) RebuildPre();
}
