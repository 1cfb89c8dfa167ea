#include "lib/Line.h"

#include "lib/tests/LayoutHarness.h"

using namespace layouttest;

namespace {

// A line whose resize lock a test can set.
class LockableLine : public Line {
 public:
  using Line::Line;
  void lockResize() { resizeLocked = 1; }
};

class LineTest : public LayoutTest {
 protected:
  Line* makeLine(bool vertical, int w, int h) {
    Line* line = keep(new LockableLine("line", vertical));
    line->createIn(host);
    line->move(0, 0, w, h);
    return line;
  }
  // Two children of weight 100 in a horizontal line 302 wide (or a vertical one 302 high).
  Line* twoHundreds(bool vertical) {
    Line* line = vertical ? makeLine(true, 40, 302) : makeLine(false, 302, 40);
    a = leaf("a");
    b = leaf("b");
    line->addChild(a, 100);
    line->addChild(b, 100);
    return line;
  }
  void mouse(Line* line, UINT message, WPARAM keys, int x, int y) {
    SendMessageA(line->getHwnd(), message, keys, MAKELPARAM(x, y));
  }
  Leaf* a = nullptr;
  Leaf* b = nullptr;
};

struct LayoutCase {
  bool vertical;
  int length;
  std::vector<int> weights;  // negative: added hidden
  std::vector<Box> expected;  // visible children only, in order
};

TEST_F(LineTest, SharesTheLengthByWeightSkippingHiddenChildren) {
  const LayoutCase cases[] = {
      {false, 302, {1, 1}, {{0, 0, 150, 40}, {152, 0, 150, 40}}},
      {true, 302, {1, 2, -3}, {{0, 0, 40, 99}, {0, 101, 40, 200}}},
      {false, 400, {3, -1, 1}, {{0, 0, 299, 40}, {301, 0, 98, 40}}},
      {true, 100, {1, 1, 1}, {{0, 0, 40, 32}, {0, 34, 40, 32}, {0, 68, 40, 32}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.vertical ? "vertical " : "horizontal ") << c.length);
    Line* line = c.vertical ? makeLine(true, 40, c.length) : makeLine(false, c.length, 40);
    std::vector<Window*> visible;
    for (int weight : c.weights) {
      Leaf* child = leaf("child");
      line->addChild(child, weight);
      if (weight >= 0) visible.push_back(child);
      EXPECT_EQ(weight >= 0, IsWindowVisible(child->getHwnd()) != 0);
    }
    ASSERT_EQ(c.expected.size(), visible.size());
    for (size_t i = 0; i < visible.size(); i++) {
      EXPECT_EQ(c.expected[i], placed(visible[i])) << "child " << i;
      EXPECT_EQ(c.expected[i], layerPlacement(visible[i]->getHwnd())) << "child " << i;
    }
    line->destroy();
  }
}

TEST_F(LineTest, HiddenChildTakesItsShareOnceShownAndLaidOut) {
  Line* line = makeLine(false, 302, 40);
  a = leaf("a");
  b = leaf("b");
  line->addChild(a, 1);
  line->addChild(b, -3);
  EXPECT_EQ(1, line->getTotalWeight());
  EXPECT_EQ(1, line->getVisibleCount());
  EXPECT_FALSE(b->isVisible());
  EXPECT_EQ((Box{0, 0, 302, 40}), placed(a));

  b->show();
  EXPECT_EQ(4, line->getTotalWeight());
  EXPECT_EQ(2, line->getVisibleCount());
  SendMessageA(line->getHwnd(), WM_SIZE, 0, MAKELPARAM(302, 40));
  EXPECT_EQ((Box{0, 0, 74, 40}), placed(a));
  EXPECT_EQ((Box{76, 0, 226, 40}), placed(b));

  b->hide();
  b->hide();  // a second hide must not take the weight out twice
  EXPECT_EQ(1, line->getTotalWeight());
  EXPECT_EQ(1, line->getVisibleCount());
}

TEST_F(LineTest, RemovingAChildReleasesItsShare) {
  Line* line = makeLine(false, 302, 40);
  Leaf* children[3] = {leaf("a"), leaf("b"), leaf("c")};
  for (Leaf* child : children) line->addChild(child, 1);
  children[1]->destroy();
  EXPECT_EQ(2, line->getTotalWeight());
  EXPECT_EQ(2, line->getVisibleCount());
  EXPECT_EQ((Box{0, 0, 150, 40}), placed(children[0]));
  EXPECT_EQ((Box{152, 0, 150, 40}), placed(children[2]));
}

TEST_F(LineTest, ZeroWeightsLeaveTheChildrenWhereTheyAre) {
  Line* line = makeLine(false, 302, 40);
  a = leaf("a");
  b = leaf("b");
  line->addChild(a, 0);
  line->addChild(b, 0);
  SendMessageA(line->getHwnd(), WM_SIZE, 0, MAKELPARAM(302, 40));
  EXPECT_EQ(0, line->getTotalWeight());
  EXPECT_EQ((Box{0, 0, 0, 0}), placed(a));
  EXPECT_EQ((Box{0, 0, 0, 0}), placed(b));
}

struct DragCase {
  bool vertical;
  int to;              // pointer position (16-bit client coordinate) the gap is dragged to
  int firstLength;     // extents while dragging
  int secondStart;
  int secondLength;
  int firstWeight;     // weights after the release (the sum stays 200)
};

TEST_F(LineTest, DraggingAGapMovesItWithinTheNeighboursAndRebalances) {
  const DragCase cases[] = {
      {false, 171, 170, 172, 130, 113},
      {true, 171, 170, 172, 130, 113},
      {false, 651, 300, 302, 0, 198},    // stops when the second child is gone
      {false, 0xFFF0, 0, 2, 300, 1},     // past the left edge: a wrapped, negative step
      {true, 0xFFF0, 0, 2, 300, 1},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.vertical ? "vertical to " : "horizontal to ") << c.to);
    Line* line = twoHundreds(c.vertical);
    auto at = [&](int along) { return c.vertical ? MAKELPARAM(5, along) : MAKELPARAM(along, 5); };
    SendMessageA(line->getHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(151));
    EXPECT_EQ(line->getHwnd(), GetCapture());
    SendMessageA(line->getHwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(c.to));
    Box first = placed(a), second = placed(b);
    EXPECT_EQ(c.firstLength, c.vertical ? first.h : first.w);
    EXPECT_EQ(c.secondStart, c.vertical ? second.y : second.x);
    EXPECT_EQ(c.secondLength, c.vertical ? second.h : second.w);
    EXPECT_EQ(100, a->getLayoutValue()) << "weights change only on release";

    SendMessageA(line->getHwnd(), WM_LBUTTONUP, 0, at(c.to));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(c.firstWeight, a->getLayoutValue());
    EXPECT_EQ(200, a->getLayoutValue() + b->getLayoutValue());
    EXPECT_EQ(200, line->getTotalWeight());
    int firstExtent = 304 * c.firstWeight / 200;
    first = placed(a);
    second = placed(b);
    EXPECT_EQ(firstExtent - 2, c.vertical ? first.h : first.w);
    EXPECT_EQ(firstExtent, c.vertical ? second.y : second.x);
    line->destroy();
  }
}

TEST_F(LineTest, OnlyAnUnlockedLeftButtonStartsADrag) {
  Line* line = twoHundreds(false);
  mouse(line, WM_RBUTTONDOWN, MK_RBUTTON, 151, 5);
  EXPECT_EQ(nullptr, GetCapture());
  mouse(line, WM_MOUSEMOVE, MK_RBUTTON, 200, 5);
  EXPECT_EQ((Box{0, 0, 150, 40}), placed(a));

  static_cast<LockableLine*>(line)->lockResize();
  mouse(line, WM_LBUTTONDOWN, MK_LBUTTON, 151, 5);
  EXPECT_EQ(nullptr, GetCapture());
  mouse(line, WM_LBUTTONUP, 0, 151, 5);
  EXPECT_EQ(100, a->getLayoutValue());
}

TEST_F(LineTest, ReleaseOverCollapsedChildrenKeepsTheWeights) {
  Line* line = twoHundreds(false);
  mouse(line, WM_LBUTTONDOWN, MK_LBUTTON, 151, 5);
  // Shrunk to nothing while dragging: both children end at the start with no length.
  line->move(0, 0, -2, 40);
  mouse(line, WM_LBUTTONUP, 0, 151, 5);
  EXPECT_EQ(100, a->getLayoutValue());
  EXPECT_EQ(100, b->getLayoutValue());
}

}  // namespace
