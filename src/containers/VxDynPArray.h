#pragma once
// VxDynPArray<T>: a contiguous array of owned pointers (see VxOwning.h for the ownership rules).
// Shrinking the length deletes the objects of the entries cut off.

#include <utility>
#include "containers/VxDynArray.h"
#include "containers/VxOwning.h"

template <class T>
class VxDynPArray : public VxOwning<T, VxDynArray<T*>> {
    using Owner = VxOwning<T, VxDynArray<T*>>;

public:
    explicit VxDynPArray(long space0 = 0, long unit = 32) : Owner(std::in_place, space0, unit) {}

    void ReAllocate(long n) override {
        DeleteFrom(n);
        VxDynArray<T*>::ReAllocate(n);
    }
    void SetLength(long n, bool keep) override {
        DeleteFrom(keep ? n : 0);
        VxDynArray<T*>::SetLength(n, keep);
    }
    // Adopts buffer as storage after deleting the own objects.
    void Attach(long n, T** buffer) {
        this->Reset();
        VxDynArray<T*>::Attach(n, buffer);
    }
    // Moves every empty entry behind the non-empty ones, whose order is kept. With dropEmpty
    // the empty entries are removed as well, leaving only objects.
    void SortEx(bool dropEmpty);

private:
    void DeleteFrom(long n) {
        for (long i = n < 0 ? 0 : n; i < this->length; ++i) {
            delete this->data[i];
            this->data[i] = nullptr;
        }
    }
};

template <class T>
void VxDynPArray<T>::SortEx(bool dropEmpty) {
    long filled = 0;
    for (long i = 0; i < this->length; ++i) {
        if (!this->data[i]) continue;
        if (i != filled) {
            this->data[filled] = this->data[i];
            this->data[i] = nullptr;
        }
        ++filled;
    }
    if (dropEmpty) VxDynArray<T*>::ReAllocate(filled);
    if (this->cur >= this->length) this->cur = -1;
}
