#include "plugins/v2draw/ItemList.h"

namespace {

// The process-wide pool: nodes go back to the heap only when the module goes. Used from the
// GUI thread only.
struct NodePoolHead {
  ItemNode* free = nullptr;
  int count = 0;
  ~NodePoolHead() {
    while (free != nullptr) {
      ItemNode* next = free->next;
      delete free;
      free = next;
    }
  }
};

NodePoolHead& pool() {
  static NodePoolHead head;
  return head;
}

ItemNode* takeNode() {
  NodePoolHead& p = pool();
  if (p.free == nullptr) return new ItemNode();
  ItemNode* node = p.free;
  p.free = node->next;
  --p.count;
  node->next = nullptr;
  return node;
}

void giveBack(ItemNode* node) {
  NodePoolHead& p = pool();
  node->item = nullptr;
  node->next = p.free;
  p.free = node;
  ++p.count;
}

}  // namespace

int ItemNodeList::pooledNodes() { return pool().count; }

void ItemNodeList::append(void* item) {
  ItemNode* node = takeNode();
  node->item = item;
  if (tail != nullptr)
    tail->next = node;
  else
    head = node;
  tail = node;
  ++size;
}

void ItemNodeList::clear() {
  while (head != nullptr) {
    ItemNode* next = head->next;
    giveBack(head);
    head = next;
  }
  tail = nullptr;
  size = 0;
}

bool ItemNodeList::remove(const void* item) {
  ItemNode* previous = nullptr;
  for (ItemNode* node = head; node != nullptr; previous = node, node = node->next) {
    if (node->item != item) continue;
    (previous != nullptr ? previous->next : head) = node->next;
    if (tail == node) tail = previous;
    giveBack(node);
    --size;
    return true;
  }
  return false;
}

void* ItemNodeList::removeFirst() {
  if (head == nullptr) return nullptr;
  ItemNode* node = head;
  void* item = node->item;
  head = node->next;
  if (head == nullptr) tail = nullptr;
  giveBack(node);
  --size;
  return item;
}

void ItemNodeList::forEachItem(const std::function<void(void*)>& call) const {
  for (ItemNode* node = head; node != nullptr; node = node->next)
    if (node->item != nullptr) call(node->item);
}
