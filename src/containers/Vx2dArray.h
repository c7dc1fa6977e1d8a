#pragma once
// Vx2dArray<T>: a rectangular array kept as an array of rows, a(row)[column].

#include "containers/VxArray.h"

template <class T>
class Vx2dArray : public VxArray<VxArray<T>> {
public:
    Vx2dArray(long rows = 0, long columns = 0) { ReAllocate(rows, columns, false); }
    Vx2dArray(const Vx2dArray&) = default;
    Vx2dArray& operator=(const Vx2dArray&) = default;

    // Resizes the row array, then every row, each keeping its old content when keep is set.
    void ReAllocate(long rows, long columns, bool keep) {
        VxArray<VxArray<T>>::ReAllocate(rows, keep);
        for (long r = 0; r < this->GetLength(); ++r) (*this)[r].ReAllocate(columns, keep);
    }
    long GetRowCount() const { return this->GetLength(); }
    long GetColumnCount() const { return this->IsEmpty() ? 0 : this->GetAt(0).GetLength(); }
    void SetAll(const T& x) {
        for (long r = 0; r < this->GetLength(); ++r) (*this)[r].SetAll(x);
    }
};
