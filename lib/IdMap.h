// A chained hash map from a handle value to a non-null pointer, its buckets doubling as it
// fills so a look-up stays short with thousands of windows. The root window's registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class IdMap {
 public:
  enum { FirstBucketCount = 16 };

  IdMap();
  IdMap(const IdMap&) = delete;
  IdMap& operator=(const IdMap&) = delete;

  // The virtual operations, in the order of the virtual table.
  virtual ~IdMap();
  // False for a null value or a key already present (the first value keeps the key).
  virtual bool add(uintptr_t key, void* value);
  virtual void* find(uintptr_t key);
  virtual bool remove(uintptr_t key);
  virtual bool isEmpty();

 private:
  struct Node {
    uintptr_t key;
    void* value;
    Node* next;
  };
  size_t bucketOf(uintptr_t key) const;
  void grow();

  std::vector<Node*> buckets;  // a power of two of them
  unsigned bits;               // log2 of their number
  size_t count;
};
