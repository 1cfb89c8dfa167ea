// Nodes are plain heap records; a new one goes to the front of its bucket.
#include "lib/IdMap.h"

IdMap::IdMap() {
  for (Node*& bucket : buckets) bucket = nullptr;
}

IdMap::~IdMap() {
  for (Node*& bucket : buckets) {
    while (bucket) {
      Node* next = bucket->next;
      delete bucket;
      bucket = next;
    }
  }
}

bool IdMap::add(uintptr_t key, void* value) {
  if (!value || find(key)) return false;
  Node*& bucket = buckets[bucketOf(key)];
  bucket = new Node{key, value, bucket};
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
      return true;
    }
  }
  return false;
}

bool IdMap::isEmpty() {
  for (Node* bucket : buckets) {
    if (bucket) return false;
  }
  return true;
}
