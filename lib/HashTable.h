// Table of values keyed by an int in 16 buckets (key & 15), with the string hash that makes
// the keys; each bucket is a small list whose nodes come from the table's shared pool.
#pragma once

#include "lib/List.h"

// Entries are identified by their key alone, which is what finding and removing compare.
template <class T>
struct HashEntry {
  int key;
  T value;
  bool operator==(const HashEntry& other) const { return key == other.key; }
};

// A list with one built-in walk and no pool of its own.
template <class T>
class BucketList : public PooledList<T, 1> {
 public:
  explicit BucketList(NodePool<T>* pool = nullptr) : PooledList<T, 1>(pool) {}
  using PooledList<T, 1>::setPool;
};

template <class T>
class HashTable : public AbstractContainer<HashEntry<T>> {
 public:
  enum { BucketCount = 16 };

  HashTable() {
    for (BucketList<HashEntry<T>>& bucket : buckets_) bucket.setPool(&pool_);
  }
  HashTable(const HashTable&) = delete;
  HashTable& operator=(const HashTable&) = delete;

  void clear() override {
    for (BucketList<HashEntry<T>>& bucket : buckets_) bucket.clear();
    count_ = 0;
  }

  bool isEmpty() const override { return count_ == 0; }

  // Bucket 15 down to bucket 0, each from its head.
  void forEach(const std::function<void(HashEntry<T>&)>& fn) override {
    for (int i = BucketCount - 1; i >= 0; --i) buckets_[i].forEach(fn);
  }

  // A key already present stays; the newer entry sits in front of it and is found first.
  int add(int key, const T& value) {
    bucketOf(key).add(HashEntry<T>{key, value}, true);
    return ++count_;
  }

  // The value of the first entry with that key, or null.
  T* find(int key) {
    for (ListNode<HashEntry<T>>* node = bucketOf(key).headNode(); node; node = node->next)
      if (node->value.key == key) return &node->value.value;
    return nullptr;
  }

  bool remove(int key) {
    if (!find(key)) return false;
    bucketOf(key).remove(HashEntry<T>{key, T()});
    --count_;
    return true;
  }

  int count() const { return count_; }

 private:
  BucketList<HashEntry<T>>& bucketOf(int key) { return buckets_[key & (BucketCount - 1)]; }

  NodePool<HashEntry<T>> pool_;
  BucketList<HashEntry<T>> buckets_[BucketCount];
  int count_ = 0;
};

// Hash of a text for the table's keys: each byte enters sign-extended; "" and null give 0.
int hashString(const char* text);
