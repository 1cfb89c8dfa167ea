// A small chained hash map from a handle value to a non-null pointer: 16 buckets by the low
// four bits of the key. The root window keeps its handle-to-window registry in one.
#pragma once

#include <cstdint>

class IdMap {
 public:
  enum { BucketCount = 16 };

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
  Node* buckets[BucketCount];

  static unsigned bucketOf(uintptr_t key) { return static_cast<unsigned>(key & 15); }
};
