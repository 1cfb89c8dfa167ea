#include "lib/CompassContainer.h"

#include "lib/tests/ToolkitFixture.h"

namespace {

typedef CompassContainer CC;
const std::initializer_list<int> all = {CC::Centre, CC::North, CC::East, CC::South, CC::West};

class CompassTest : public LayoutTest {
 protected:
  // A container of w x h with leaves in the given regions, each with its priority (centre,
  // north, east, south, west; -1: the default).
  CC* build(std::initializer_list<int> filled = all, std::vector<int> priorities = {},
            bool collapse = false, int w = 400, int h = 300) {
    CC* compass = keep(new CC("compass", collapse));
    compass->createIn(host);
    compass->move(0, 0, w, h);
    priorities.resize(CC::RegionCount, -1);
    for (int r : filled) compass->setRegion(kids[r] = leaf("leaf"), r, 0, priorities[r]);
    return compass;
  }
  Box region(CC* c, int r) {
    return {c->regionLeft(r), c->regionTop(r), c->regionWidth(r), c->regionHeight(r)};
  }
  Box shown(int r) { return IsWindowVisible(kids[r]->getHwnd()) ? placed(kids[r]) : Box{}; }
  Leaf* kids[CC::RegionCount] = {};
};

TEST_F(CompassTest, EdgesAndCentreFollowSizesAndCornerPriorities) {
  const Box centre = {102, 23, 196, 254}, east = {300, 23, 100, 254}, west = {0, 23, 100, 254};
  struct Case {
    std::vector<int> priorities;
    Box expected[CC::RegionCount];
  } cases[] = {
      {{}, {centre, {0, 0, 400, 21}, east, {0, 279, 400, 21}, west}},
      {{-1, -1, -1, -1, 2000},
       {centre, {102, 0, 298, 21}, east, {102, 279, 298, 21}, {0, 0, 100, 300}}},
      {{-1, 500},
       {centre, {102, 0, 196, 21}, {300, 0, 100, 277}, {0, 279, 400, 21}, {0, 0, 100, 277}}},
      {{-1, -1, 2000}, {centre, {0, 0, 298, 21}, {300, 0, 100, 300}, {0, 279, 298, 21}, west}},
  };
  for (const Case& c : cases) {
    CC* compass = build(all, c.priorities);
    for (int r = 0; r < CC::RegionCount; r++) {
      SCOPED_TRACE(testing::Message() << "case " << (&c - cases) << " region " << r);
      EXPECT_EQ(c.expected[r], region(compass, r));
      EXPECT_EQ(c.expected[r], placed(kids[r]));
      EXPECT_EQ(c.expected[r], layerPlacement(kids[r]->getHwnd()));
    }
    compass->destroy();
  }
}

TEST_F(CompassTest, RegionsWithoutAVisibleChildGiveUpTheirSpace) {
  CC* compass = build({CC::Centre, CC::North, CC::South, CC::West});
  EXPECT_EQ((Box{102, 23, 298, 254}), placed(kids[CC::Centre]));
  kids[CC::North]->hide();  // hidden by itself: its gap stays
  EXPECT_EQ((Box{102, 2, 298, 275}), placed(kids[CC::Centre]));
  EXPECT_EQ((Box{0, 0, 100, 277}), placed(kids[CC::West]));
  kids[CC::North]->show();
  compass->hideRegion(CC::North);  // hidden as a region: nothing stays
  compass->update();
  EXPECT_EQ(Box{}, shown(CC::North));
  EXPECT_EQ((Box{102, 0, 298, 277}), placed(kids[CC::Centre]));
  // A new child keeps the region's size and priority unless given, and arrives hidden in a
  // hidden region; the one it replaces goes.
  HWND old = kids[CC::North]->getHwnd();
  compass->setRegion(kids[CC::North] = leaf("new"), CC::North, 40, 7);
  EXPECT_FALSE(IsWindow(old) || kids[CC::North]->isVisible());
  compass->showRegion(CC::North);
  compass->setRegion(kids[CC::North] = leaf("newer"), CC::North, 0, -1);
  EXPECT_EQ((Box{102, 0, 298, 40}), placed(kids[CC::North])) << "size 40, priority 7 kept";
  kids[CC::North]->destroy();
  EXPECT_EQ((Box{102, 0, 298, 277}), placed(kids[CC::Centre]));
}

TEST_F(CompassTest, HitTestPicksTheGapUnderThePointer) {
  const struct {
    int x, y, west, east, expected;
  } cases[] = {
      {50, 10, -1, -1, CC::North},   {50, 290, -1, -1, CC::South},  {101, 150, -1, -1, CC::West},
      {200, 277, -1, -1, CC::South}, {299, 150, -1, -1, CC::East},  {350, 290, -1, -1, CC::South},
      {50, 10, 2000, -1, CC::West},  {50, 290, 2000, -1, CC::West}, {350, 10, -1, 2000, CC::East},
  };
  for (const auto& c : cases) {
    CC* compass = build(all, {-1, -1, c.east, -1, c.west});
    EXPECT_EQ(c.expected, compass->hitRegion(c.x, c.y)) << c.x << "," << c.y << " " << c.west;
    compass->destroy();
  }
}

TEST_F(CompassTest, DraggingAGapStopsAtTheRegionAndCentreLimits) {
  const struct {
    int fromX, fromY, toX, toY, region, size;
  } cases[] = {
      // 16-bit positions
      {200, 22, 200, 0xFFB4, CC::North, 0}, {200, 22, 200, 522, CC::North, 275},
      {101, 150, 601, 150, CC::West, 296},  {200, 277, 200, 0, CC::South, 275},
      {200, 277, 200, 777, CC::South, 2},   {299, 150, 799, 150, CC::East, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.fromX << ", " << c.fromY);
    CC* compass = build();
    mouse(compass, WM_LBUTTONDOWN, MK_LBUTTON, c.fromX, c.fromY);
    EXPECT_EQ(compass->getHwnd(), GetCapture());
    mouse(compass, WM_MOUSEMOVE, MK_LBUTTON, c.toX, c.toY);
    EXPECT_EQ(c.size, compass->regionSize(c.region));
    EXPECT_EQ(region(compass, c.region), placed(kids[c.region]));
    mouse(compass, WM_LBUTTONUP, 0, c.toX, c.toY);
    EXPECT_EQ(nullptr, GetCapture());
    compass->destroy();
  }
  // A region hidden during the drag ends it; another button starts none.
  CC* compass = build();
  mouse(compass, WM_LBUTTONDOWN, MK_LBUTTON, 200, 22);
  compass->hideRegion(CC::North);
  mouse(compass, WM_MOUSEMOVE, MK_LBUTTON, 200, 60);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(21, compass->regionSize(CC::North));
  mouse(compass, WM_RBUTTONDOWN, MK_RBUTTON, 200, 22);
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(CompassTest, AutoCollapseHidesAnEdgeTooWideForTheCentre) {
  // Each layout flips the region: hidden, back at its kept size, hidden again.
  CC* compass = build({CC::Centre, CC::West}, {}, true, 140, 300);
  for (int pass = 0; pass < 3; pass++, compass->update()) {
    bool hidden = pass != 1;
    EXPECT_EQ(hidden ? -100 : 100, compass->regionSize(CC::West)) << pass;
    EXPECT_EQ((hidden ? Box{} : Box{0, 0, 100, 300}), shown(CC::West)) << pass;
    EXPECT_EQ((hidden ? Box{0, 0, 140, 300} : Box{102, 0, 38, 300}), placed(kids[CC::Centre]));
  }
  compass->destroy();
  // Never above the centre's priority.
  compass = build({CC::Centre, CC::West}, {-1, -1, -1, -1, 2000}, true, 140, 300);
  EXPECT_EQ(100, compass->regionSize(CC::West));
  compass->destroy();
  // Dragged too far, the region is cut to two thirds of itself and the centre.
  compass = build(all, {}, true);
  mouse(compass, WM_LBUTTONDOWN, MK_LBUTTON, 101, 150);
  mouse(compass, WM_MOUSEMOVE, MK_LBUTTON, 301, 150);
  EXPECT_EQ(197, compass->regionSize(CC::West));
  EXPECT_EQ((Box{199, 23, 99, 254}), placed(kids[CC::Centre]));
  mouse(compass, WM_LBUTTONUP, 0, 301, 150);
}

}  // namespace
