#pragma once
// The queue interface of the container family. Searches report their hits through it, so it
// is kept free of any container implementation.

template <class T>
class VxQuene {
public:
    explicit VxQuene(long maxLen = -1) : maxLength(maxLen) {}

    // Virtual operations, in this order on purpose (the implementations rely on the layout).
    virtual void Reset() = 0;
    virtual long GetLength() const = 0;
    virtual T& operator[](long i) = 0;
    virtual bool GetHeadData(T& x) const = 0;
    virtual bool GetTailData(T& x) const = 0;
    virtual bool EnQuene(const T& x) = 0;
    virtual bool DeQuene(T& x) = 0;
    virtual ~VxQuene() = default;

    void SetMaxLength(long n) { maxLength = n; }
    long GetMaxLength() const { return maxLength; }
    bool IsLengthLimited() const { return maxLength >= 0; }
    bool IsEmpty() const { return GetLength() == 0; }

protected:
    long maxLength;  // negative: unlimited
};
