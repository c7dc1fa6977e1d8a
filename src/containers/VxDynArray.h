#pragma once
// VxDynArray<T>: the contiguous cursor container. Storage grows by allocUnit elements beyond
// what is asked for; deleting keeps the storage. Slots beyond the length always hold default
// values, so growing within the storage exposes default elements, never stale ones.

#include "containers/VxDynArrayBase.h"
#include "containers/VxSortDetail.h"

template <class T>
class VxDynArray : public VxDynArrayBase<T> {
public:
    using Base = VxDynArrayBase<T>;
    using Base::operator[];
    using Base::operator<<;
    static constexpr bool kIsList = false;

    explicit VxDynArray(long space0 = 0, long unit = 32);
    VxDynArray(const VxDynArray& other) : VxDynArray(0, other.allocUnit) { this->DeepCopy(other); }
    explicit VxDynArray(const Base& other) : VxDynArray() { this->DeepCopy(other); }
    VxDynArray& operator=(const VxDynArray& other) {
        this->DeepCopy(other);
        return *this;
    }
    VxDynArray& operator=(const Base& other) {
        this->DeepCopy(other);
        return *this;
    }
    ~VxDynArray() override { delete[] data; }

    void ReAllocate(long n) override;
    void SetLength(long n, bool keep) override;
    void Reset() override {
        ClearSlots(0, this->length);
        Base::Reset();
    }
    T& GetCurData() override {
        assert(!this->IsOut() && "cursor out");
        return data[this->cur];
    }
    void SetCurData(const T& x) override { GetCurData() = x; }
    const T* GetFirst() const override { return this->length > 0 ? data : nullptr; }
    const T* GetNext(const T* p) const override {
        return (p && p + 1 < data + this->length) ? p + 1 : nullptr;
    }
    const T* GetPre(const T* p) const override { return (p && p > data) ? p - 1 : nullptr; }
    const T* GetLast() const override {
        return this->length > 0 ? data + this->length - 1 : nullptr;
    }
    const T& GetAt(long i) const override {
        assert(this->IsValidIndex(i) && "index out of range");
        return data[i];
    }
    // With the cursor out the element is appended; the cursor lands on the new element.
    void InsertCur(const T& x) override;
    // No-op with the cursor out.
    void DelCur() override;
    void Sort(typename Base::CompareFn cmp) override {
        SortBy([cmp](const T& a, const T& b) { return cmp(a, b) > 0; });
    }
    void Sort(bool ascending) override {
        if constexpr (VxOrdered<T>) {
            SortBy([ascending](const T& a, const T& b) { return ascending ? a > b : b > a; });
        } else {
            assert(!"Sort(bool) needs an element type with operator>");
        }
    }

    // Storage size: false when n is below the length.
    bool SetSpaceSize(long n);
    long GetSpaceSize() const { return space; }
    long GetAllocUnit() const { return allocUnit; }
    void SetAllocUnit(long u) { allocUnit = u < 0 ? 0 : u; }
    T* GetDataBuffer() { return data; }
    // Adopts buffer (allocated with new T[n]()) as the storage; the old storage is freed.
    void Attach(long n, T* buffer);
    // Hands the storage (free it with delete[]) to the caller and leaves the array empty.
    T* Detach();

protected:
    // Stable rank sort; after(a, b): a, standing before b, must come after it.
    template <class After>
    void SortBy(After after) {
        vxdetail::RankSort(data, this->length, after);
    }
    void ClearSlots(long from, long to) {
        for (long i = from; i < to; ++i) data[i] = T();
    }
    void Replace(T* fresh, long n, long copy);

    T* data = nullptr;
    long space = 0;
    long allocUnit;
};

template <class T>
VxDynArray<T>::VxDynArray(long space0, long unit) : allocUnit(unit < 0 ? 0 : unit) {
    if (space0 >= 1) {
        data = new T[space0]();
        space = space0;
    }
}

template <class T>
void VxDynArray<T>::Replace(T* fresh, long n, long copy) {
    for (long i = 0; i < copy; ++i) fresh[i] = data[i];
    delete[] data;
    data = fresh;
    space = n;
}

template <class T>
void VxDynArray<T>::ReAllocate(long n) {
    if (n < 0) n = 0;
    if (n <= space) {
        ClearSlots(n, this->length);
    } else {
        const long grown = n + allocUnit;
        Replace(new T[grown](), grown, this->length);
    }
    this->length = n;
}

template <class T>
void VxDynArray<T>::SetLength(long n, bool keep) {
    if (n < 0) n = 0;
    if (n == space) {
        ClearSlots(n, this->length);
    } else {
        const long copy = keep ? (n < this->length ? n : this->length) : 0;
        Replace(n > 0 ? new T[n]() : nullptr, n, copy);
    }
    this->length = n;
}

template <class T>
bool VxDynArray<T>::SetSpaceSize(long n) {
    if (n < this->length) return false;
    if (n != space) Replace(n > 0 ? new T[n]() : nullptr, n, this->length);
    return true;
}

template <class T>
void VxDynArray<T>::InsertCur(const T& x) {
    if (this->IsOut()) this->cur = this->length;
    VxDynArray::ReAllocate(this->length + 1);
    for (long i = this->length - 1; i > this->cur; --i) data[i] = data[i - 1];
    data[this->cur] = x;
}

template <class T>
void VxDynArray<T>::DelCur() {
    if (this->IsOut()) return;
    for (long i = this->cur; i + 1 < this->length; ++i) data[i] = data[i + 1];
    // Not the virtual one: an owning array would delete the object that was just shifted down.
    VxDynArray::ReAllocate(this->length - 1);
    --this->cur;
}

template <class T>
void VxDynArray<T>::Attach(long n, T* buffer) {
    delete[] data;
    data = buffer;
    space = this->length = (buffer && n > 0) ? n : 0;
    this->cur = -1;
}

template <class T>
T* VxDynArray<T>::Detach() {
    T* out = data;
    data = nullptr;
    space = this->length = 0;
    this->cur = -1;
    return out;
}
