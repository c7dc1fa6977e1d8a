#pragma once
// VxStack<T>: the stack interface. Besides Push and Pop it keeps a browsable history: GoBack
// lowers the top without removing anything, GoAhead raises it again up to aheadDepth, the depth
// reached by the last Push or Pop (an undo/redo walk).

template <class T>
class VxStack {
public:
    explicit VxStack(long maxDepth0 = -1) : maxDepth(maxDepth0) {}

    // Virtual operations, in this order on purpose.
    virtual ~VxStack() = default;
    virtual void Reset() = 0;
    virtual bool Push(const T& x) = 0;
    virtual bool Pop(T& x) = 0;
    virtual bool GetTopData(T& x) = 0;
    virtual long GetDepth() const = 0;
    virtual T& operator[](long i) = 0;
    virtual void GoBack() = 0;
    virtual void GoAhead() = 0;

    bool CanGoBack() const { return GetDepth() > 0; }
    bool CanGoAhead() const { return aheadDepth > GetDepth(); }
    void SetMaxDepth(long n) { maxDepth = n; }
    long GetMaxDepth() const { return maxDepth; }
    bool IsDepthLimited() const { return maxDepth >= 0; }
    bool IsEmpty() const { return GetDepth() == 0; }

protected:
    long maxDepth;        // negative: unlimited
    long aheadDepth = 0;  // how far GoAhead may raise the top
};
