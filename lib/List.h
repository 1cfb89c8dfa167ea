// Doubly linked list of values whose nodes come from a block pool, with built-in iterators
// that survive removals; the abstract interfaces every collection of the program derives from.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "lib/NodePool.h"

template <class T>
class AbstractContainer {
 public:
  virtual ~AbstractContainer() {}
  virtual void clear() = 0;
  virtual bool isEmpty() const = 0;
  virtual void forEach(const std::function<void(T&)>& fn) = 0;
};

template <class T>
class ListIteratorBase;

template <class T>
class AbstractList : public AbstractContainer<T> {
 public:
  virtual ListIteratorBase<T>* iterator() = 0;
  virtual ListNode<T>* add(const T& value, bool atFront) = 0;
  virtual T frontValue(bool front) const = 0;
  virtual void remove(const T& value) = 0;
  virtual void removeEnd(bool front) = 0;
  virtual void moveUp(const T& value) = 0;
  virtual void moveDown(const T& value) = 0;
  virtual ListIteratorBase<T>* reverseIterator() = 0;
  virtual ListNode<T>* headNode() const = 0;
  virtual ListNode<T>* tailNode() const = 0;
};

// A walk over a list. The owner of a walk calls reset when done, which frees it for reuse.
template <class T>
class ListIteratorBase {
 public:
  enum { Forward = 0, Backward = 1 };
  virtual void reset() = 0;
  virtual void first() = 0;
  virtual bool hasNext() const = 0;
  // Returns the current value and moves on in the walk's direction.
  virtual T& next() = 0;
  virtual T& current() = 0;
  virtual ~ListIteratorBase() {}
  virtual bool isBusy() const = 0;
  virtual void onNodeRemoved(ListNode<T>* node) = 0;
  virtual void start(AbstractList<T>* list, int direction) = 0;
};

template <class T>
class ListIterator : public ListIteratorBase<T> {
 public:
  ListIterator() = default;
  ListIterator(const ListIterator&) = delete;
  ListIterator& operator=(const ListIterator&) = delete;

  void reset() override {
    list_ = nullptr;
    current_ = nullptr;
  }

  void first() override {
    if (!list_)
      current_ = nullptr;
    else
      current_ = direction_ == this->Forward ? list_->headNode() : list_->tailNode();
  }

  bool hasNext() const override { return current_ != nullptr; }

  T& next() override {
    if (!current_) return spare();
    ListNode<T>* node = current_;
    current_ = step(node);
    return node->value;
  }

  T& current() override { return current_ ? current_->value : spare(); }

  bool isBusy() const override { return list_ != nullptr; }

  // A walk standing on a node that goes away moves on to the node after it.
  void onNodeRemoved(ListNode<T>* node) override {
    if (list_ && current_ == node) current_ = step(node);
  }

  void start(AbstractList<T>* list, int direction) override {
    list_ = list;
    direction_ = direction;
    first();
  }

 private:
  ListNode<T>* step(ListNode<T>* node) const {
    return direction_ == this->Forward ? node->next : node->prev;
  }

  // What a walk past its end hands out: a default value, never a stale node.
  T& spare() {
    spare_ = T();
    return spare_;
  }

  AbstractList<T>* list_ = nullptr;
  ListNode<T>* current_ = nullptr;
  int direction_ = 0;
  T spare_ = T();
};

// The list itself, with a fixed number of built-in walks; its nodes come from a pool it is given.
template <class T, int Walks>
class PooledList : public AbstractList<T> {
 public:
  explicit PooledList(NodePool<T>* pool) : pool_(pool) {}
  PooledList(const PooledList&) = delete;
  PooledList& operator=(const PooledList&) = delete;

  void clear() override {
    while (head_) removeEnd(true);
  }

  bool isEmpty() const override { return head_ == nullptr; }

  // Walks with an iterator, so fn may remove values, the current one included.
  void forEach(const std::function<void(T&)>& fn) override {
    ListIteratorBase<T>* walk = iterator();
    while (walk->hasNext()) fn(walk->next());
    walk->reset();
  }

  ListIteratorBase<T>* iterator() override { return startWalk(ListIteratorBase<T>::Forward); }

  ListNode<T>* add(const T& value, bool atFront) override {
    ListNode<T>* node = allocNode();
    node->owner = this;
    node->value = value;
    if (!head_) {
      head_ = tail_ = node;
    } else if (atFront) {
      node->next = head_;
      head_->prev = node;
      head_ = node;
    } else {
      node->prev = tail_;
      tail_->next = node;
      tail_ = node;
    }
    return node;
  }

  // An empty list answers a default value.
  T frontValue(bool front) const override {
    ListNode<T>* node = front ? head_ : tail_;
    return node ? node->value : T();
  }

  void remove(const T& value) override {
    if (ListNode<T>* node = findNode(value)) removeNode(node);
  }

  void removeEnd(bool front) override {
    if (ListNode<T>* node = front ? head_ : tail_) removeNode(node);
  }

  void moveUp(const T& value) override {
    ListNode<T>* node = findNode(value);
    if (node && node->prev) swapWithNext(node->prev);
  }

  void moveDown(const T& value) override {
    ListNode<T>* node = findNode(value);
    if (node && node->next) swapWithNext(node);
  }

  ListIteratorBase<T>* reverseIterator() override {
    return startWalk(ListIteratorBase<T>::Backward);
  }

  ListNode<T>* headNode() const override { return head_; }
  ListNode<T>* tailNode() const override { return tail_; }

  // How many walks beyond the built-in ones were ever needed at the same time.
  int extraWalkCount() const { return (int)extraWalks_.size(); }

 protected:
  virtual ListNode<T>* allocNode() { return pool_->allocNode(); }
  virtual void freeNode(ListNode<T>* node) { pool_->freeNode(node); }

  virtual void onNodeRemoved(ListNode<T>* node) {
    for (ListIterator<T>& walk : walks_) walk.onNodeRemoved(node);
    for (auto& walk : extraWalks_) walk->onNodeRemoved(node);
  }

  void setPool(NodePool<T>* pool) { pool_ = pool; }

 private:
  // A free built-in walk if there is one; otherwise an extra walk the list keeps for reuse,
  // so a busy walk is never taken over.
  ListIteratorBase<T>* startWalk(int direction) {
    ListIterator<T>* walk = idleWalk();
    walk->start(this, direction);
    return walk;
  }

  ListIterator<T>* idleWalk() {
    for (ListIterator<T>& walk : walks_)
      if (!walk.isBusy()) return &walk;
    for (auto& walk : extraWalks_)
      if (!walk->isBusy()) return walk.get();
    extraWalks_.push_back(std::unique_ptr<ListIterator<T>>(new ListIterator<T>));
    return extraWalks_.back().get();
  }

  ListNode<T>* findNode(const T& value) const {
    for (ListNode<T>* node = head_; node; node = node->next)
      if (node->value == value) return node;
    return nullptr;
  }

  void removeNode(ListNode<T>* node) {
    onNodeRemoved(node);
    (node->prev ? node->prev->next : head_) = node->next;
    (node->next ? node->next->prev : tail_) = node->prev;
    freeNode(node);
  }

  // Exchanges node with its successor.
  void swapWithNext(ListNode<T>* node) {
    ListNode<T>* after = node->next;
    ListNode<T>* before = node->prev;
    ListNode<T>* beyond = after->next;
    (before ? before->next : head_) = after;
    (beyond ? beyond->prev : tail_) = node;
    after->prev = before;
    after->next = node;
    node->prev = after;
    node->next = beyond;
  }

  ListNode<T>* head_ = nullptr;
  ListNode<T>* tail_ = nullptr;
  ListIterator<T> walks_[Walks];
  std::vector<std::unique_ptr<ListIterator<T>>> extraWalks_;
  NodePool<T>* pool_;
};

// The general list: four built-in walks and a pool of its own.
template <class T>
class List : public PooledList<T, 4> {
 public:
  explicit List(int nodesPerBlock = 10) : PooledList<T, 4>(nullptr), pool_(nodesPerBlock) {
    this->setPool(&pool_);
  }

  int blockCount() const { return pool_.blockCount(); }

 private:
  NodePool<T> pool_;
};
