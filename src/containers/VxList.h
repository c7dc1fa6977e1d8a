#pragma once
// VxList<T>: a singly linked, circular cursor list with a sentinel node (the cursor rests on the
// sentinel, index -1, when out). Stepping forward is O(1); stepping back walks from the front.
//
// Splicing: Conbine moves nodes between lists without copying (SplitAt is Conbine seen from the
// other side). DetachAfterCur/DetachAfter/Detach cut the tail off and free the cut nodes (an
// owning list deletes their objects too): moving nodes elsewhere is Conbine's job, so nothing
// cut off is ever left without an owner.

#include "containers/VxDynArrayBase.h"
#include "containers/VxListNode.h"

template <class T>
class VxList : public VxDynArrayBase<T> {
public:
    using Base = VxDynArrayBase<T>;
    using Node = VxListNode<T>;
    using DNode = VxDListNode<T>;
    using Base::operator[];
    using Base::operator<<;
    static constexpr bool kIsList = true;

    // n default elements.
    explicit VxList(long n = 0) : doubleLinked(false) {
        head = new DNode;  // the sentinel always has room for a predecessor link
        CloseRing();
        ReAllocate(n);
    }
    VxList(const VxList& other) : VxList() { this->DeepCopy(other); }
    explicit VxList(const Base& other) : VxList() { this->DeepCopy(other); }
    VxList& operator=(const VxList& other) {
        this->DeepCopy(other);
        return *this;
    }
    VxList& operator=(const Base& other) {
        this->DeepCopy(other);
        return *this;
    }
    ~VxList() override {
        VxList::Reset();
        delete D(head);
    }

    // Appends default elements up to n (never shrinks); the cursor keeps its index.
    void ReAllocate(long n) override;
    // Cuts the tail down to n elements or appends defaults up to n; keep is implied.
    void SetLength(long n, bool keep) override;
    void Reset() override;
    T& GetCurData() override { return curNode->data; }
    void SetCurData(const T& x) override { curNode->data = x; }
    void MoveToFirst() override { Place(head->next, head->next == head ? -1 : 0); }
    void MoveToNext() override { Place(curNode->next, curNode->next == head ? -1 : this->cur + 1); }
    // From out, steps back to the last element.
    void MoveToPre() override;
    void MoveToLast() override { Place(tail, this->length - 1); }
    // An invalid index puts the cursor out.
    void MoveTo(long i) override;
    const T* GetFirst() const override { return head->next == head ? nullptr : &head->next->data; }
    const T* GetNext(const T* p) const override;
    const T* GetPre(const T* p) const override;
    const T* GetLast() const override { return tail == head ? nullptr : &tail->data; }
    const T& GetAt(long i) const override { return NodeAt(i)->data; }
    void InsertCur(const T& x) override {
        MoveToPre();
        InsertAfterCur(x);
    }
    long Append(const T& x) override {
        MoveToLast();
        InsertAfterCur(x);
        return this->length - 1;
    }
    // No-op with the cursor out.
    void DelCur() override;
    void Sort(typename Base::CompareFn cmp) override {
        SortKeepingCursor([cmp](const T& e, const T& x) { return cmp(e, x) > 0; });
    }
    void Sort(bool ascending) override {
        if constexpr (VxOrdered<T>) {
            SortKeepingCursor(
                [ascending](const T& e, const T& x) { return ascending ? e > x : x > e; });
        } else {
            assert(!"Sort(bool) needs an element type with operator>");
        }
    }

    // With the cursor out the new node goes to the front; the cursor moves onto it.
    virtual void InsertAfterCur(const T& x);
    virtual void DetachAfterCur();
    // Moves other's elements from..end to the end of this list; this cursor stays put.
    // Returns the new length; an invalid from moves nothing.
    virtual long Conbine(VxList& other, long from);
    virtual void ReverseList();
    // Reopens the ring so that the element at from lands on index to (cyclic order kept);
    // the cursor goes to the new first element.
    virtual void Rotate(long from, long to);

    // Cuts after element i (i < 0 cuts everything, i >= length nothing).
    void DetachAfter(long i);
    void Detach() { DetachAfter(-1); }
    void SplitAt(long i, VxList& other) {
        MoveTo(i);
        other.Conbine(*this, i);
    }
    void SplitAtCur(VxList& other) { other.Conbine(*this, this->cur); }
    Node* GetCurPos() const { return curNode; }

protected:
    struct DoubleLinked {};
    explicit VxList(DoubleLinked) : doubleLinked(true) {
        head = new DNode;  // the sentinel always has room for a predecessor link
        CloseRing();
    }

    Node* NewNode() { return doubleLinked ? new DNode : new Node; }
    void FreeNode(Node* n) {
        if (doubleLinked) {
            delete static_cast<DNode*>(n);
        } else {
            delete n;
        }
    }
    static DNode* D(Node* n) { return static_cast<DNode*>(n); }
    static Node* NodeOf(const T* p) { return reinterpret_cast<Node*>(const_cast<T*>(p)); }
    void Place(Node* n, long i) {
        curNode = n;
        this->cur = i;
    }
    void CloseRing() {
        head->next = head;
        tail = head;
        if (doubleLinked) D(head)->pre = D(head);
        this->length = 0;
        Place(head, -1);
    }
    void RebuildPre();
    // Node i, walking forward from the cursor when that is on the way, else from the front.
    Node* NodeAt(long i) const;
    // Stable insertion sort by relinking; after(e, x): e, standing before x, must come after it.
    // Leaves the cursor out.
    template <class After>
    void SortBy(After after);
    template <class After>
    void SortKeepingCursor(After after) {
        const long keep = this->cur;
        SortBy(after);
        MoveTo(keep);
    }
    void FreeChain(Node* first);

    Node* curNode = nullptr;
    Node* head = nullptr;  // the sentinel
    Node* tail = nullptr;
    bool doubleLinked;
    bool keepCut = false;  // DetachAfterCur hands the cut nodes to Conbine instead of freeing
};

#include "containers/VxListOps.h"
