#include "lib/List.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Walks with a list's own iterator, backward too, so broken prev links show up.
std::vector<int> values(List<int>& list, bool backward = false) {
  std::vector<int> out;
  ListIteratorBase<int>* walk = backward ? list.reverseIterator() : list.iterator();
  while (walk->hasNext()) out.push_back(walk->next());
  walk->reset();
  return out;
}

void fill(List<int>& list, std::initializer_list<int> values) {
  for (int v : values) list.add(v, false);
}

TEST(ListTest, AddAndRemoveAtBothEnds) {
  List<int> list;
  list.add(2, false);
  list.add(1, true);
  fill(list, {5, 3, 5});
  list.remove(5);  // the first from the head
  list.removeEnd(true);
  list.remove(42);
  EXPECT_EQ((std::vector<int>{2, 3, 5}), values(list));
  EXPECT_EQ((std::vector<int>{5, 3, 2}), values(list, true));
  EXPECT_EQ(5, list.frontValue(false));

  list.clear();
  list.removeEnd(true);  // empty: nothing happens
  list.removeEnd(false);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(0, list.frontValue(true));  // an empty list answers a default value
  EXPECT_EQ(0, list.frontValue(false));
}

TEST(ListTest, MovesSwapNeighboursAndFixEnds) {
  const struct {
    void (List<int>::*move)(const int&);
    int value;
    std::vector<int> order;
  } cases[] = {
      {&List<int>::moveUp, 1, {1, 2, 3, 4}},   {&List<int>::moveDown, 4, {1, 2, 3, 4}},
      {&List<int>::moveUp, 2, {2, 1, 3, 4}},   {&List<int>::moveDown, 3, {1, 2, 4, 3}},
      {&List<int>::moveDown, 2, {1, 3, 2, 4}}, {&List<int>::moveUp, 9, {1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    List<int> list;
    fill(list, {1, 2, 3, 4});
    (list.*c.move)(c.value);
    std::vector<int> reversed(c.order.rbegin(), c.order.rend());
    EXPECT_EQ(c.order, values(list)) << c.value;
    EXPECT_EQ(reversed, values(list, true)) << c.value;
  }
}

TEST(ListTest, PoolReusesNodesAndReleasesValues) {
  List<int> list;
  for (int i = 0; i < 11; ++i) list.add(i, false);
  EXPECT_EQ(2, list.blockCount());
  list.clear();
  for (int i = 0; i < 20; ++i) list.add(i, true);
  EXPECT_EQ(2, list.blockCount());

  List<std::shared_ptr<int>> pointers;
  auto value = std::make_shared<int>(1);
  pointers.add(value, false);
  pointers.remove(value);
  EXPECT_EQ(1, value.use_count());  // at once, not when the node is reused
}

TEST(ListTest, WalkStandingOnRemovedNodeMovesOn) {
  List<int> list;
  fill(list, {1, 2, 3, 4});
  ListIteratorBase<int>* ahead = list.iterator();
  ListIteratorBase<int>* back = list.reverseIterator();
  EXPECT_EQ(1, ahead->next());  // now on 2
  EXPECT_EQ(4, back->next());   // now on 3
  list.remove(2);
  list.remove(3);
  EXPECT_EQ(4, ahead->current());
  EXPECT_EQ(1, back->current());
  list.remove(1);  // behind the forward walk: no effect on it
  EXPECT_EQ(4, ahead->next());
  EXPECT_EQ(0, ahead->next());  // past the end: a default value
  list.clear();
  EXPECT_FALSE(back->hasNext());
  ahead->reset();
  back->reset();
}

TEST(ListTest, ForEachMayRemoveCurrentValue) {
  List<int> list;
  fill(list, {1, 2, 3, 4, 5});
  std::vector<int> seen;
  list.forEach([&](int& v) {
    seen.push_back(v);
    if (v % 2) list.remove(v);
  });
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), seen);
  EXPECT_EQ((std::vector<int>{2, 4}), values(list));
}

// Six walks at once: the extra ones must never take over a busy one.
TEST(ListTest, ConcurrentWalksBeyondBuiltInsStayIndependent) {
  List<int> list;
  fill(list, {10, 20, 30, 40, 50, 60});
  std::vector<ListIteratorBase<int>*> walks;
  for (int i = 0; i < 6; ++i) {
    walks.push_back(list.iterator());
    for (int step = 0; step < i; ++step) walks[i]->next();
  }
  list.remove(50);  // the fifth walk stands here
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(i == 4 ? 60 : 10 * (i + 1), walks[i]->current()) << "walk " << i;
  for (ListIteratorBase<int>* walk : walks) walk->reset();
  // Idle walks are reused: the built-in ones first, then the extra ones.
  for (int i = 0; i < 6; ++i) EXPECT_EQ(walks[i], list.iterator());
  EXPECT_EQ(2, list.extraWalkCount());
}

}  // namespace
