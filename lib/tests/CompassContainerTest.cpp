#include "lib/CompassContainer.h"

#include "lib/tests/LayoutHarness.h"

using namespace layouttest;

namespace {

typedef CompassContainer CC;

class CompassTest : public LayoutTest {
 protected:
  // A 400 x 300 container with the given regions filled by labelled leaves.
  CC* build(std::initializer_list<int> filled, bool autoCollapse = false, int w = 400, int h = 300) {
    CC* compass = keep(new CC("compass", autoCollapse));
    compass->createIn(host);
    compass->move(0, 0, w, h);
    for (int region : filled) {
      static const char* names[] = {"centre", "north", "east", "south", "west"};
      children[region] = leaf(names[region]);
      compass->setRegion(children[region], region, 0, -1);
    }
    return compass;
  }
  void mouse(CC* compass, UINT message, WPARAM keys, int x, int y) {
    SendMessageA(compass->getHwnd(), message, keys, MAKELPARAM(x, y));
  }
  Leaf* children[CC::RegionCount] = {};
};

const std::initializer_list<int> everyRegion = {CC::Centre, CC::North, CC::East, CC::South,
                                                CC::West};

struct GeometryCase {
  const char* what;
  int priorities[CC::RegionCount];  // -1 keeps the default
  Box expected[CC::RegionCount];
};

TEST_F(CompassTest, EdgesAndCentreFollowSizesAndCornerPriorities) {
  const GeometryCase cases[] = {
      {"defaults: north and south span the width",
       {-1, -1, -1, -1, -1},
       {{102, 23, 196, 254}, {0, 0, 400, 21}, {300, 23, 100, 254}, {0, 279, 400, 21},
        {0, 23, 100, 254}}},
      {"west above the others owns both its corners",
       {-1, -1, -1, -1, 2000},
       {{102, 23, 196, 254}, {102, 0, 298, 21}, {300, 23, 100, 254}, {102, 279, 298, 21},
        {0, 0, 100, 300}}},
      {"a low north gives up both top corners",
       {-1, 500, -1, -1, -1},
       {{102, 23, 196, 254}, {102, 0, 196, 21}, {300, 0, 100, 277}, {0, 279, 400, 21},
        {0, 0, 100, 277}}},
      {"east above north and south runs the full height",
       {-1, -1, 2000, -1, -1},
       {{102, 23, 196, 254}, {0, 0, 298, 21}, {300, 0, 100, 300}, {0, 279, 298, 21},
        {0, 23, 100, 254}}},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(c.what);
    CC* compass = build(everyRegion);
    for (int r = 0; r < CC::RegionCount; r++)
      if (c.priorities[r] >= 0) compass->setRegion(leaf("again"), r, 0, c.priorities[r]);
    for (int r = 0; r < CC::RegionCount; r++) {
      Box region = {compass->regionLeft(r), compass->regionTop(r), compass->regionWidth(r),
                    compass->regionHeight(r)};
      EXPECT_EQ(c.expected[r], region) << "region " << r;
    }
    // The children sit where the geometry says, in the layer too.
    for (Window* child = compass->childAt(0); child; child = child->nextSibling()) {
      int r = child->getLayoutValue();
      EXPECT_EQ(c.expected[r], placed(child)) << "child of region " << r;
      EXPECT_EQ(c.expected[r], layerPlacement(child->getHwnd())) << "child of region " << r;
    }
    compass->destroy();
  }
}

TEST_F(CompassTest, MissingAndHiddenRegionsGiveUpTheirSpace) {
  CC* compass = build({CC::Centre, CC::North, CC::South, CC::West});
  EXPECT_EQ((Box{102, 23, 298, 254}), placed(children[CC::Centre]));

  // Hidden by itself, north still reserves its gap; west then reaches the top.
  children[CC::North]->hide();
  EXPECT_EQ((Box{102, 2, 298, 275}), placed(children[CC::Centre]));
  EXPECT_EQ((Box{0, 0, 100, 277}), placed(children[CC::West]));

  // Hidden as a region, it takes nothing.
  children[CC::North]->show();
  compass->hideRegion(CC::North);
  compass->update();
  EXPECT_FALSE(IsWindowVisible(children[CC::North]->getHwnd()));
  EXPECT_EQ((Box{102, 0, 298, 277}), placed(children[CC::Centre]));
  compass->showRegion(CC::North);
  compass->update();
  EXPECT_TRUE(IsWindowVisible(children[CC::North]->getHwnd()));
  EXPECT_EQ((Box{102, 23, 298, 254}), placed(children[CC::Centre]));
}

TEST_F(CompassTest, SetRegionKeepsSizeAndPriorityUnlessGiven) {
  CC* compass = build({CC::Centre, CC::West});
  Leaf* first = leaf("first");
  compass->setRegion(first, CC::North, 0, -1);
  EXPECT_EQ(21, compass->regionSize(CC::North));
  EXPECT_EQ(0, compass->regionLeft(CC::North)) << "equal priorities: north spans the width";

  compass->setRegion(leaf("second"), CC::North, 40, 7);
  EXPECT_FALSE(IsWindow(first->getHwnd()));
  EXPECT_EQ(-1, compass->indexOf(first));
  EXPECT_EQ(40, compass->regionSize(CC::North));
  EXPECT_EQ(102, compass->regionLeft(CC::North)) << "priority 7 yields the corner";

  Leaf* third = leaf("third");
  compass->setRegion(third, CC::North, 0, -1);
  EXPECT_EQ(40, compass->regionSize(CC::North));
  EXPECT_EQ((Box{102, 0, 298, 40}), placed(third));

  // A region hidden beforehand receives its child hidden.
  compass->hideRegion(CC::South);
  Leaf* south = leaf("south");
  compass->setRegion(south, CC::South, 0, -1);
  EXPECT_FALSE(south->isVisible());
  EXPECT_FALSE(IsWindowVisible(south->getHwnd()));

  // A region emptied by its child's removal takes no space.
  third->destroy();
  EXPECT_EQ((Box{102, 0, 298, 300}), placed(children[CC::Centre]));
}

struct HitCase {
  int x, y;
  int westPriority, eastPriority;
  int expected;
};

TEST_F(CompassTest, HitTestPicksTheGapUnderThePointer) {
  const HitCase cases[] = {
      {50, 10, 1024, 1024, CC::North},  {50, 290, 1024, 1024, CC::South},
      {50, 150, 1024, 1024, CC::West},  {101, 150, 1024, 1024, CC::West},
      {200, 22, 1024, 1024, CC::North}, {200, 277, 1024, 1024, CC::South},
      {299, 150, 1024, 1024, CC::East}, {350, 10, 1024, 1024, CC::North},
      {350, 290, 1024, 1024, CC::South}, {50, 10, 2000, 1024, CC::West},
      {50, 290, 2000, 1024, CC::West},  {350, 10, 1024, 2000, CC::East},
      {350, 290, 1024, 2000, CC::East},
  };
  for (const HitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ") west " << c.westPriority
                                    << " east " << c.eastPriority);
    CC* compass = build({CC::Centre, CC::North, CC::South});
    compass->setRegion(leaf("west"), CC::West, 0, c.westPriority);
    compass->setRegion(leaf("east"), CC::East, 0, c.eastPriority);
    EXPECT_EQ(c.expected, compass->hitRegion(c.x, c.y));
    EXPECT_EQ(c.expected, compass->getDragRegion());
    compass->destroy();
  }
}

struct DragCase {
  const char* what;
  int fromX, fromY, toX, toY;  // 16-bit client coordinates
  int region;
  int size;
};

TEST_F(CompassTest, DraggingAGapStopsAtTheRegionAndCentreLimits) {
  const DragCase cases[] = {
      {"north up", 200, 22, 200, 0xFFB4, CC::North, 0},
      {"north down to the centre's end", 200, 22, 200, 522, CC::North, 275},
      {"north a little", 200, 22, 200, 32, CC::North, 31},
      {"west left", 101, 150, 0xFF00, 150, CC::West, 0},
      {"west right to the centre's end", 101, 150, 601, 150, CC::West, 296},
      {"south up to the centre's end", 200, 277, 200, 0, CC::South, 275},
      {"south down to one gap", 200, 277, 200, 777, CC::South, 2},
      {"south a little", 200, 277, 200, 267, CC::South, 31},
      {"east left to the centre's end", 299, 150, 0, 150, CC::East, 296},
      {"east right to one gap", 299, 150, 799, 150, CC::East, 2},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.what);
    CC* compass = build(everyRegion);
    mouse(compass, WM_LBUTTONDOWN, MK_LBUTTON, c.fromX, c.fromY);
    EXPECT_EQ(compass->getHwnd(), GetCapture());
    EXPECT_EQ(c.region, compass->getDragRegion());
    mouse(compass, WM_MOUSEMOVE, MK_LBUTTON, c.toX, c.toY);
    EXPECT_EQ(c.size, compass->regionSize(c.region));
    EXPECT_EQ(compass->regionHeight(c.region), placed(children[c.region]).h);
    EXPECT_EQ(compass->regionWidth(c.region), placed(children[c.region]).w);
    mouse(compass, WM_LBUTTONUP, 0, c.toX, c.toY);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_GE(compass->regionWidth(CC::Centre), 0);
    EXPECT_GE(compass->regionHeight(CC::Centre), 0);
    compass->destroy();
  }
}

TEST_F(CompassTest, DraggingAHiddenRegionEndsTheDrag) {
  CC* compass = build(everyRegion);
  mouse(compass, WM_LBUTTONDOWN, MK_LBUTTON, 200, 22);
  compass->hideRegion(CC::North);
  mouse(compass, WM_MOUSEMOVE, MK_LBUTTON, 200, 60);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(21, compass->regionSize(CC::North));
  EXPECT_EQ((Box{102, 0, 196, 277}), placed(children[CC::Centre]));
}

TEST_F(CompassTest, AutoCollapseHidesAnEdgeTooWideForTheCentreAndBringsItBack) {
  CC* compass = build({CC::Centre, CC::West}, true, 140, 300);
  EXPECT_EQ(-100, compass->regionSize(CC::West));
  EXPECT_FALSE(IsWindowVisible(children[CC::West]->getHwnd()));
  EXPECT_EQ((Box{0, 0, 140, 300}), placed(children[CC::Centre]));

  // The next layout shows it again at its kept size, the one after hides it again.
  compass->update();
  EXPECT_EQ(100, compass->regionSize(CC::West));
  EXPECT_TRUE(IsWindowVisible(children[CC::West]->getHwnd()));
  EXPECT_EQ((Box{102, 0, 38, 300}), placed(children[CC::Centre]));
  compass->update();
  EXPECT_EQ(-100, compass->regionSize(CC::West));

  // A region above the centre's priority never collapses.
  CC* other = build({CC::Centre}, true, 140, 300);
  other->setRegion(leaf("west"), CC::West, 0, 2000);
  EXPECT_EQ(100, other->regionSize(CC::West));
  EXPECT_EQ((Box{102, 0, 38, 300}), placed(children[CC::Centre]));
}

TEST_F(CompassTest, AutoCollapseWhileDraggingLeavesTheCentreAThird) {
  CC* compass = build(everyRegion, true);
  mouse(compass, WM_LBUTTONDOWN, MK_LBUTTON, 101, 150);
  mouse(compass, WM_MOUSEMOVE, MK_LBUTTON, 301, 150);
  // Clamped to 296 (the centre at 0), then cut to two thirds of centre plus region.
  EXPECT_EQ(197, compass->regionSize(CC::West));
  EXPECT_EQ((Box{199, 23, 99, 254}), placed(children[CC::Centre]));
  mouse(compass, WM_LBUTTONUP, 0, 301, 150);
}

TEST_F(CompassTest, ResizeLockAndOtherButtonsStartNoDrag) {
  CC* compass = build(everyRegion);
  mouse(compass, WM_RBUTTONDOWN, MK_RBUTTON, 200, 22);
  EXPECT_EQ(nullptr, GetCapture());
  mouse(compass, WM_MOUSEMOVE, MK_RBUTTON, 200, 60);
  EXPECT_EQ(21, compass->regionSize(CC::North));
  EXPECT_STREQ("compas container", compass->typeName());
}

}  // namespace
