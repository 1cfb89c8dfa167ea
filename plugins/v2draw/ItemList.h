// A singly linked list of item pointers whose nodes come from one pool shared by the whole
// process: removed nodes wait there for the next append instead of going back to the heap.
#pragma once

#include <functional>

struct ItemNode {
  void* item = nullptr;
  ItemNode* next = nullptr;
};

// The untyped list; ItemList gives it its item type.
class ItemNodeList {
 public:
  ItemNodeList() = default;
  ~ItemNodeList() { clear(); }
  ItemNodeList(const ItemNodeList&) = delete;
  ItemNodeList& operator=(const ItemNodeList&) = delete;

  int count() const { return size; }
  void append(void* item);
  // Every node goes back to the pool; the items are not touched.
  void clear();
  // Takes out the first node holding item; false when none does.
  bool remove(const void* item);
  // Takes out the first node and answers its item (null on an empty list).
  void* removeFirst();
  void* first() const { return head != nullptr ? head->item : nullptr; }
  void forEachItem(const std::function<void(void*)>& call) const;

  // Nodes waiting in the process-wide pool (tests).
  static int pooledNodes();

 private:
  int size = 0;
  ItemNode* head = nullptr;
  ItemNode* tail = nullptr;
};

template <class T>
class ItemList {
 public:
  int count() const { return nodes.count(); }
  void append(T* item) { nodes.append(item); }
  void clear() { nodes.clear(); }
  bool remove(const T* item) { return nodes.remove(item); }
  T* removeFirst() { return static_cast<T*>(nodes.removeFirst()); }
  T* first() const { return static_cast<T*>(nodes.first()); }
  // Calls fn for each non-null item, in order of appending.
  template <class Fn>
  void forEach(Fn fn) const {
    nodes.forEachItem([&fn](void* item) { fn(static_cast<T*>(item)); });
  }
  // The first item for which match holds, or null.
  template <class Match>
  T* find(Match match) const {
    T* found = nullptr;
    forEach([&](T* item) {
      if (found == nullptr && match(item)) found = item;
    });
    return found;
  }

 private:
  ItemNodeList nodes;
};
