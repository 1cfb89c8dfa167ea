#include "lib/List.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<int> forward(List<int>& list)
{
    std::vector<int> out;
    list.forEach([&](int& v) { out.push_back(v); });
    return out;
}

// Walks backward too, so broken prev links show up.
std::vector<int> backward(List<int>& list)
{
    std::vector<int> out;
    ListIteratorBase<int>* walk = list.reverseIterator();
    while (walk->hasNext())
        out.push_back(walk->next());
    walk->reset();
    return out;
}

void fill(List<int>& list, std::initializer_list<int> values)
{
    for (int v : values)
        list.add(v, false);
}

TEST(ListTest, AddAndRemoveAtBothEnds)
{
    List<int> list;
    list.add(2, false);
    list.add(1, true);
    fill(list, {5, 3, 5});
    list.remove(5); // the first from the head
    EXPECT_EQ((std::vector<int>{1, 2, 3, 5}), forward(list));
    EXPECT_EQ((std::vector<int>{5, 3, 2, 1}), backward(list));
    list.removeEnd(true);
    list.removeEnd(false);
    list.remove(42);
    EXPECT_EQ((std::vector<int>{2, 3}), forward(list));
    EXPECT_EQ((std::vector<int>{3, 2}), backward(list));
    EXPECT_EQ(2, list.frontValue(true));
    EXPECT_EQ(3, list.frontValue(false));

    list.clear();
    list.removeEnd(true); // empty: nothing happens
    list.removeEnd(false);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(0, list.frontValue(true));
    EXPECT_EQ(0, list.frontValue(false));
}

TEST(ListTest, MovesSwapNeighboursAndFixEnds)
{
    struct Case {
        const char* name;
        void (List<int>::*move)(const int&);
        int value;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"up at head", &List<int>::moveUp, 1, {1, 2, 3, 4}},
        {"down at tail", &List<int>::moveDown, 4, {1, 2, 3, 4}},
        {"up to head", &List<int>::moveUp, 2, {2, 1, 3, 4}},
        {"down to tail", &List<int>::moveDown, 3, {1, 2, 4, 3}},
        {"up inside", &List<int>::moveUp, 3, {1, 3, 2, 4}},
        {"down inside", &List<int>::moveDown, 2, {1, 3, 2, 4}},
        {"up absent", &List<int>::moveUp, 9, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        List<int> list;
        fill(list, {1, 2, 3, 4});
        (list.*c.move)(c.value);
        EXPECT_EQ(c.order, forward(list)) << c.name;
        EXPECT_EQ(std::vector<int>(c.order.rbegin(), c.order.rend()), backward(list)) << c.name;
        EXPECT_EQ(c.order.front(), list.frontValue(true)) << c.name;
        EXPECT_EQ(c.order.back(), list.frontValue(false)) << c.name;
    }
}

TEST(ListTest, PoolHandsOutBlocksOfTenAndReusesNodes)
{
    List<int> list;
    ListNode<int>* first = list.add(0, false);
    ListNode<int>* second = list.add(1, false);
    EXPECT_EQ(first + 1, second);
    for (int i = 2; i < 10; ++i)
        list.add(i, false);
    EXPECT_EQ(1, list.blockCount());
    list.add(10, false);
    EXPECT_EQ(2, list.blockCount());

    list.clear();
    for (int i = 0; i < 20; ++i)
        list.add(i, true);
    EXPECT_EQ(2, list.blockCount());
    EXPECT_EQ(&list, first->owner);
}

TEST(ListTest, RemovedValuesAreReleased)
{
    List<std::shared_ptr<int>> list;
    auto value = std::make_shared<int>(1);
    list.add(value, false);
    EXPECT_EQ(2, value.use_count());
    list.remove(value);
    EXPECT_EQ(1, value.use_count());
}

TEST(ListTest, WalkStandingOnRemovedNodeMovesOn)
{
    List<int> list;
    fill(list, {1, 2, 3, 4});
    ListIteratorBase<int>* ahead = list.iterator();
    ListIteratorBase<int>* back = list.reverseIterator();
    EXPECT_EQ(1, ahead->next()); // now on 2
    EXPECT_EQ(4, back->next());  // now on 3
    list.remove(2);
    list.remove(3);
    EXPECT_EQ(4, ahead->current());
    EXPECT_EQ(1, back->current());
    list.remove(1); // behind the forward walk: no effect on it
    EXPECT_EQ(4, ahead->next());
    EXPECT_FALSE(ahead->hasNext());
    EXPECT_EQ(0, ahead->next()); // past the end: a default value
    list.clear();
    EXPECT_FALSE(back->hasNext());
    ahead->reset();
    back->reset();
    EXPECT_FALSE(ahead->isBusy());
}

TEST(ListTest, ForEachMayRemoveCurrentValue)
{
    List<int> list;
    fill(list, {1, 2, 3, 4, 5});
    std::vector<int> seen;
    list.forEach([&](int& v) {
        seen.push_back(v);
        if (v % 2)
            list.remove(v);
    });
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), seen);
    EXPECT_EQ((std::vector<int>{2, 4}), forward(list));
}

// Five walks and more: the extra walks must never take over a busy one.
TEST(ListTest, ConcurrentWalksBeyondBuiltInsStayIndependent)
{
    List<int> list;
    fill(list, {10, 20, 30, 40, 50, 60});
    std::vector<ListIteratorBase<int>*> walks;
    for (int i = 0; i < 6; ++i) {
        walks.push_back(list.iterator());
        for (int step = 0; step < i; ++step)
            walks[i]->next();
    }
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(walks[i]->isBusy());
        EXPECT_EQ(10 * (i + 1), walks[i]->current()) << "walk " << i;
    }
    list.remove(50); // the fifth walk stands here
    EXPECT_EQ(60, walks[4]->current());
    for (ListIteratorBase<int>* walk : walks)
        walk->reset();
    EXPECT_EQ(2, list.extraWalkCount());

    // Idle walks are reused: the built-in ones first, then the extra ones.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(walks[i], list.iterator());
    EXPECT_EQ(2, list.extraWalkCount());
}

// Equality comes from the element type: here the name alone identifies a record.
struct Named {
    std::string name;
    int data;
    bool operator==(const Named& other) const { return name == other.name; }
};

TEST(ListTest, ElementEqualityDecides)
{
    List<Named> list;
    list.add(Named{"alpha", 1}, false);
    list.add(Named{"beta", 2}, false);
    list.moveUp(Named{"beta", 0});
    EXPECT_EQ(2, list.frontValue(true).data);
    list.remove(Named{"alpha", 0});
    EXPECT_EQ(2, list.frontValue(false).data);
}

} // namespace
