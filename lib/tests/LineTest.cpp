#include "lib/Line.h"

#include "lib/CompassContainer.h"
#include "lib/Frame.h"
#include "lib/Menu.h"
#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

namespace {

class LockableLine : public Line {
 public:
  using Line::Line;
  void lockResize() { resizeLocked = 1; }
};

class LineTest : public LayoutTest {
 protected:
  // A line of the given length, 40 across, with leaves of the given weights (negative: hidden).
  LockableLine* makeLine(bool vertical, int length, const std::vector<int>& weights) {
    LockableLine* line = keep(new LockableLine("line", vertical));
    line->createIn(host);
    line->move(0, 0, vertical ? 40 : length, vertical ? length : 40);
    kids.clear();
    for (int weight : weights) {
      kids.push_back(leaf("child"));
      line->addChild(kids.back(), weight);
    }
    return line;
  }
  std::vector<Leaf*> kids;
};

TEST_F(LineTest, SharesTheLengthByWeightSkippingHiddenChildren) {
  const struct {
    bool vertical;
    int length;
    std::vector<int> weights;
    std::vector<Box> expected;
  } cases[] = {
      // hidden children are expected unplaced and unshown
      {false, 302, {1, 1}, {{0, 0, 150, 40}, {152, 0, 150, 40}}},
      {true, 302, {1, 2, -3}, {{0, 0, 40, 99}, {0, 101, 40, 200}, {}}},
      {false, 400, {3, -1, 1}, {{0, 0, 299, 40}, {}, {301, 0, 98, 40}}},
  };
  for (const auto& c : cases) {
    Line* line = makeLine(c.vertical, c.length, c.weights);
    for (size_t i = 0; i < kids.size(); i++) {
      HWND hwnd = kids[i]->getHwnd();
      EXPECT_EQ(c.expected[i], IsWindowVisible(hwnd) ? layerPlacement(hwnd) : Box{}) << i;
      if (c.weights[i] >= 0) {
        EXPECT_EQ(c.expected[i], placed(kids[i])) << i;
      }
    }
    line->destroy();
  }
}

TEST_F(LineTest, KeepsTheVisibleWeightsAsChildrenComeAndGo) {
  Line* line = makeLine(false, 302, {1, -3, 1});
  EXPECT_EQ(2, line->getTotalWeight());
  kids[1]->show();
  EXPECT_EQ(5, line->getTotalWeight());
  EXPECT_EQ(3, line->getVisibleCount());
  SendMessageA(line->getHwnd(), WM_SIZE, 0, MAKELPARAM(302, 40));
  EXPECT_EQ((Box{60, 0, 180, 40}), placed(kids[1]));
  kids[1]->hide();
  kids[1]->hide();  // told once
  EXPECT_EQ(2, line->getTotalWeight());
  kids[0]->destroy();
  EXPECT_EQ(1, line->getTotalWeight());
  EXPECT_EQ(1, line->getVisibleCount());
  EXPECT_EQ((Box{0, 0, 302, 40}), placed(kids[2]));
  // Weights that sum to 0 leave nothing to share: the children stay where they are.
  makeLine(false, 302, {0, 0});
  EXPECT_EQ((Box{0, 0, 0, 0}), placed(kids[1]));
}

TEST_F(LineTest, DraggingAGapMovesItWithinTheNeighboursAndRebalances) {
  // The gap at 151 is dragged to a 16-bit position; after the release the pair keeps its sum.
  const struct {
    bool vertical;
    int to, firstLength, secondStart, secondLength, firstWeight;
  } cases[] = {
      {false, 171, 170, 172, 130, 113},
      {true, 171, 170, 172, 130, 113},
      {false, 651, 300, 302, 0, 198},  // stops when the second child is gone
      {true, 0xFFF0, 0, 2, 300, 1},    // past the edge: a wrapped, negative step
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.vertical << " to " << c.to);
    Line* line = makeLine(c.vertical, 302, {100, 100});
    auto send = [&](UINT m, WPARAM keys, int at) {
      mouse(line, m, keys, c.vertical ? 5 : at, c.vertical ? at : 5);
    };
    auto span = [&](Window* w) {
      return c.vertical ? Box{w->top, 0, w->height, 0} : Box{w->left, 0, w->width, 0};
    };
    send(WM_LBUTTONDOWN, MK_LBUTTON, 151);
    EXPECT_EQ(line->getHwnd(), GetCapture());
    send(WM_MOUSEMOVE, MK_LBUTTON, c.to);
    EXPECT_EQ((Box{0, 0, c.firstLength, 0}), span(kids[0]));
    EXPECT_EQ((Box{c.secondStart, 0, c.secondLength, 0}), span(kids[1]));
    EXPECT_EQ(100, kids[0]->getLayoutValue());
    send(WM_LBUTTONUP, 0, c.to);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(c.firstWeight, kids[0]->getLayoutValue());
    EXPECT_EQ(200, kids[1]->getLayoutValue() + c.firstWeight);
    EXPECT_EQ(304 * c.firstWeight / 200, span(kids[1]).x);
    line->destroy();
  }
}

TEST_F(LineTest, DragNeedsAnUnlockedLeftButtonAndSurvivesACollapsedPair) {
  LockableLine* line = makeLine(false, 302, {100, 100});
  mouse(line, WM_RBUTTONDOWN, MK_RBUTTON, 151, 5);
  EXPECT_EQ(nullptr, GetCapture());
  // Squeezed to nothing while dragging: the release finds no extents to re-split by.
  mouse(line, WM_LBUTTONDOWN, MK_LBUTTON, 151, 5);
  line->move(0, 0, -2, 40);
  mouse(line, WM_LBUTTONUP, 0, 151, 5);
  EXPECT_EQ(100, kids[0]->getLayoutValue());
  line->lockResize();
  mouse(line, WM_LBUTTONDOWN, MK_LBUTTON, 151, 5);
  EXPECT_EQ(nullptr, GetCapture());
  // A person's drag through the layer rebalances like the messages do.
  line = makeLine(false, 302, {100, 100});
  ASSERT_TRUE(vorntest::dragFrom(line->getHwnd(), 151, 5, 171, 5));
  EXPECT_EQ(113, kids[0]->getLayoutValue());
  EXPECT_EQ(nullptr, GetCapture());
}

// A window to look at: under a menu bar, a line holding a frame and a compass container with
// labelled regions.
TEST_F(LineTest, SavesAPictureOfNestedContainers) {
  Menu* bar = (new Menu(true))->addRef();
  bar->appendItem("&Server", 1);
  bar->appendItem("&Channel", 2);
  bar->appendItem("&Help", 3);
  bar->setOwner(host);
  ASSERT_EQ(bar->getHandle(), GetMenu(host->getHwnd()));
  Line* line = makeLine(false, 600, {});
  line->move(8, 8, 600, 400);
  Frame* frame = keep(new Frame("Frame"));
  line->addChild(frame, 1);
  frame->setClient(leaf("frame client"));
  CompassContainer* compass = keep(new CompassContainer("compass", false));
  line->addChild(compass, 2);
  const char* names[] = {"centre", "north", "east", "south", "west"};
  for (int r = 0; r < CompassContainer::RegionCount; r++)
    compass->setRegion(leaf(names[r]), r, r == CompassContainer::North ? 30 : 0, -1);
  EXPECT_EQ((Box{0, 0, 198, 400}), placed(frame));
  EXPECT_EQ((Box{200, 0, 399, 400}), placed(compass));
  EXPECT_TRUE(vorntest::saveWindowPng(host->getHwnd(), "nested-containers.png"));
  bar->release();
}

}  // namespace
