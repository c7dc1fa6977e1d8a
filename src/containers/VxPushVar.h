#pragma once
// VxPushVar<T>: sets a variable for the lifetime of a scope and writes the old value back when
// the scope ends, also when it is left by an exception (a mode switched on around one call).

template <class T>
class VxPushVar {
public:
    VxPushVar(T& variable, T value) : saved(variable), target(&variable) { variable = value; }
    ~VxPushVar() { *target = saved; }
    VxPushVar(const VxPushVar&) = delete;
    VxPushVar& operator=(const VxPushVar&) = delete;

private:
    T saved;
    T* target;
};
