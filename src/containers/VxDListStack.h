#pragma once
// VxDListStack<T>: a stack over a VxDList whose cursor marks the top. Entries above the top that
// were gone back over stay in the list until a Push overwrites them.

#include "containers/VxDList.h"
#include "containers/VxStack.h"

template <class T>
class VxDListStack : public VxStack<T> {
public:
    explicit VxDListStack(long limit = -1) : VxStack<T>(limit) {}

    void Reset() override {
        list.Reset();
        this->aheadDepth = 0;
    }
    // False when the depth limit is reached; otherwise x becomes the top (overwriting an entry
    // that was gone back over) and GoAhead has nowhere left to go.
    bool Push(const T& x) override {
        const long depth = GetDepth();
        if (this->IsDepthLimited() && depth >= this->maxDepth) return false;
        if (depth < list.GetLength()) {
            list.MoveTo(depth);
            list.SetCurData(x);
        } else {
            list.Append(x);
        }
        this->aheadDepth = depth + 1;
        return true;
    }
    bool Pop(T& x) override {
        if (GetDepth() == 0) return false;
        x = list.GetCurData();
        list.DelCur();
        this->aheadDepth = GetDepth();
        return true;
    }
    bool GetTopData(T& x) override {
        if (GetDepth() == 0) return false;
        x = list.GetCurData();
        return true;
    }
    long GetDepth() const override { return list.GetCur() + 1; }
    T& operator[](long i) override { return list[i]; }
    void GoBack() override {
        if (GetDepth() > 0) list.MoveToPre();
    }
    void GoAhead() override {
        if (this->aheadDepth > GetDepth()) list.MoveToNext();
    }

private:
    VxDList<T> list;
};
