#pragma once
// Nodes of the linked cursor containers. A default node holds a default value and null links.

template <class T>
struct VxListNode {
    T data{};
    VxListNode* next = nullptr;
};

template <class T>
struct VxDListNode : VxListNode<T> {
    VxDListNode* pre = nullptr;
};
