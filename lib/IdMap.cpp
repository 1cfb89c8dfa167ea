// Nodes are plain heap records; a new one goes to the front of its bucket. The buckets double
// once they hold two keys each on average.
#include "lib/IdMap.h"

IdMap::IdMap() : buckets(FirstBucketCount, nullptr), bits(4), count(0) {}

IdMap::~IdMap() {
  for (Node*& bucket : buckets) {
    while (bucket) {
      Node* next = bucket->next;
      delete bucket;
      bucket = next;
    }
  }
}

// Fibonacci hashing: handle values of any spacing spread over every bucket.
size_t IdMap::bucketOf(uintptr_t key) const {
  return static_cast<size_t>((static_cast<uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

void IdMap::grow() {
  std::vector<Node*> old(static_cast<size_t>(1) << (bits + 1), nullptr);
  old.swap(buckets);
  ++bits;
  for (Node* node : old) {
    while (node) {
      Node* next = node->next;
      Node*& bucket = buckets[bucketOf(node->key)];
      node->next = bucket;
      bucket = node;
      node = next;
    }
  }
}

bool IdMap::add(uintptr_t key, void* value) {
  if (!value || find(key)) return false;
  if (count >= 2 * buckets.size()) grow();
  Node*& bucket = buckets[bucketOf(key)];
  bucket = new Node{key, value, bucket};
  ++count;
  return true;
}

void* IdMap::find(uintptr_t key) {
  for (Node* node = buckets[bucketOf(key)]; node; node = node->next) {
    if (node->key == key) return node->value;
  }
  return nullptr;
}

bool IdMap::remove(uintptr_t key) {
  for (Node** link = &buckets[bucketOf(key)]; *link; link = &(*link)->next) {
    Node* node = *link;
    if (node->key == key) {
      *link = node->next;
      delete node;
      --count;
      return true;
    }
  }
  return false;
}

bool IdMap::isEmpty() { return count == 0; }
