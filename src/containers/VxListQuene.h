#pragma once
// VxListQuene<T>: a first-in first-out queue over a VxList, optionally limited in length.

#include "containers/VxList.h"
#include "containers/VxQuene.h"

template <class T>
class VxListQuene : public VxQuene<T> {
public:
    explicit VxListQuene(long maxLen = -1) : VxQuene<T>(maxLen) {}

    void Reset() override { list.Reset(); }
    long GetLength() const override { return list.GetLength(); }
    T& operator[](long i) override { return list[i]; }
    bool GetHeadData(T& x) const override {
        if (list.IsEmpty()) return false;
        x = list.First();
        return true;
    }
    bool GetTailData(T& x) const override {
        if (list.IsEmpty()) return false;
        x = list.Last();
        return true;
    }
    // False, storing nothing, when the length limit is reached.
    bool EnQuene(const T& x) override {
        if (this->IsLengthLimited() && list.GetLength() >= this->maxLength) return false;
        list.Append(x);
        return true;
    }
    // False, leaving x untouched, when empty.
    bool DeQuene(T& x) override {
        if (list.IsEmpty()) return false;
        list.MoveToFirst();
        x = list.GetCurData();
        list.DelCur();
        return true;
    }

private:
    VxList<T> list;
};
