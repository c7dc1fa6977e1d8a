// The host's growable array: a std::vector with the host's member names.
#pragma once

#include <algorithm>
#include <vector>

template <typename T>
class AcArray : public std::vector<T> {
public:
    using std::vector<T>::vector;
    int length() const { return static_cast<int>(this->size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return this->empty(); }
    int append(const T& value) {
        this->push_back(value);
        return length() - 1;
    }
    AcArray& removeAt(int index) {
        this->erase(this->begin() + index);
        return *this;
    }
    AcArray& insertAt(int index, const T& value) {
        this->insert(this->begin() + index, value);
        return *this;
    }
    AcArray& setLogicalLength(int n) {
        this->resize(static_cast<size_t>(n));
        return *this;
    }
    bool contains(const T& value) const { return find(value) >= 0; }
    int find(const T& value) const {
        auto it = std::find(this->begin(), this->end(), value);
        return it == this->end() ? -1 : static_cast<int>(it - this->begin());
    }
    const T& first() const { return this->front(); }
    const T& last() const { return this->back(); }
};
