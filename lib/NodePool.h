// List nodes and the pool they come from: nodes are allocated in blocks and reused after
// removal, so adding to a list rarely calls the heap; blocks are freed only with the pool.
#pragma once

template <class T>
class AbstractList;

template <class T>
struct ListNode {
  AbstractList<T>* owner = nullptr;
  T value = T();
  ListNode* next = nullptr;
  ListNode* prev = nullptr;
  ListNode* freeNext = nullptr;  // link while the node waits in the pool
};

template <class T>
class NodePool {
 public:
  explicit NodePool(int nodesPerBlock = 10) : perBlock_(nodesPerBlock > 0 ? nodesPerBlock : 10) {}
  NodePool(const NodePool&) = delete;
  NodePool& operator=(const NodePool&) = delete;

  ~NodePool() {
    while (blocks_) {
      Block* block = blocks_;
      blocks_ = block->next;
      delete[] block->nodes;
      delete block;
    }
  }

  ListNode<T>* allocNode() {
    if (!free_) addBlock();
    ListNode<T>* node = free_;
    free_ = node->freeNext;
    node->freeNext = nullptr;
    return node;
  }

  // The value is reset at once so whatever it holds is released now, not at reuse.
  void freeNode(ListNode<T>* node) {
    node->value = T();
    node->owner = nullptr;
    node->next = nullptr;
    node->prev = nullptr;
    node->freeNext = free_;
    free_ = node;
  }

  int blockCount() const {
    int count = 0;
    for (Block* block = blocks_; block; block = block->next) ++count;
    return count;
  }

  int nodesPerBlock() const { return perBlock_; }

 private:
  struct Block {
    ListNode<T>* nodes;
    Block* next;
  };

  // Pushed from last to first so the nodes are handed out in array order.
  void addBlock() {
    blocks_ = new Block{new ListNode<T>[perBlock_], blocks_};
    for (int i = perBlock_ - 1; i >= 0; --i) {
      blocks_->nodes[i].freeNext = free_;
      free_ = &blocks_->nodes[i];
    }
  }

  int perBlock_;
  Block* blocks_ = nullptr;
  ListNode<T>* free_ = nullptr;
};
