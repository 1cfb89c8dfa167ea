// Top-level windows: snapping and minimum-size geometry checked numerically, and the created
// window's styles, placement and message handling checked through the layer.
#include "lib/TopWindow.h"

#include <gtest/gtest.h>

namespace {

struct Box {
  LONG left, top, right, bottom;
};

RECT toRect(const Box& box) { return RECT{box.left, box.top, box.right, box.bottom}; }

void expectRect(const Box& expected, const RECT& actual) {
  EXPECT_EQ(expected.left, actual.left);
  EXPECT_EQ(expected.top, actual.top);
  EXPECT_EQ(expected.right, actual.right);
  EXPECT_EQ(expected.bottom, actual.bottom);
}

struct SnapCase {
  const char* what;
  RECT area;
  int force;
  Box proposed;
  Box expected;
};

TEST(TopWindowGeometry, SnapsEdgesWithinTheMagneticForce) {
  const RECT area = {0, 0, 1024, 738};
  const RECT offsetArea = {50, 30, 1024, 738};
  const SnapCase cases[] = {
      {"left at 7 snaps, width kept", area, 10, {7, 100, 207, 300}, {0, 100, 200, 300}},
      {"left at 10 stays", area, 10, {10, 100, 210, 300}, {10, 100, 210, 300}},
      {"left at -9 snaps", area, 10, {-9, 100, 191, 300}, {0, 100, 200, 300}},
      {"left at -10 stays", area, 10, {-10, 100, 190, 300}, {-10, 100, 190, 300}},
      {"top at 3 snaps", area, 10, {100, 3, 300, 203}, {100, 0, 300, 200}},
      {"bottom 20 away stays", area, 10, {100, 418, 300, 718}, {100, 418, 300, 718}},
      {"bottom 9 away moves down 9", area, 10, {100, 400, 300, 729}, {100, 409, 300, 738}},
      {"right 3 beyond moves back", area, 10, {500, 100, 1027, 300}, {497, 100, 1024, 300}},
      {"force 0 switches off", area, 0, {7, 3, 207, 203}, {7, 3, 207, 203}},
      {"force 1 switches off", area, 1, {1, 1, 201, 201}, {1, 1, 201, 201}},
      {"corner snaps both ways", area, 10, {815, 530, 1020, 735}, {819, 533, 1024, 738}},
      // The right-edge distance belongs to the rectangle as proposed: the left snap does not
      // cancel the right one.
      {"left and right from the proposal", area, 10, {5, 100, 1029, 300}, {-5, 100, 1019, 300}},
      // Left and top snap to the screen origin, not to the work area's left and top.
      {"left near screen origin", offsetArea, 10, {6, 40, 206, 240}, {0, 40, 200, 240}},
      {"left near work-area left", offsetArea, 10, {55, 40, 255, 240}, {55, 40, 255, 240}},
  };
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.what);
    RECT rect = toRect(c.proposed);
    TopWindow::snapToEdges(&rect, c.area, c.force);
    expectRect(c.expected, rect);
  }
}

TEST(TopWindowGeometry, ExtremeRectanglesDoNotOverflow) {
  const RECT area = {0, 0, 1024, 738};
  RECT rect = {-2147483647 - 1, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1};
  TopWindow::snapToEdges(&rect, area, 10);
  EXPECT_EQ(-2147483647 - 1, rect.left);
  EXPECT_EQ(-2147483647 - 1, rect.bottom);
}

struct SizingCase {
  int edge;
  Box proposed;
  Box expected;
};

TEST(TopWindowGeometry, SizingKeepsTheMinimumByEdge) {
  // Minimum 200 x 100; every proposal is 100 x 50, so both rules apply.
  const SizingCase cases[] = {
      {WMSZ_LEFT, {50, 60, 150, 110}, {-50, 10, 150, 110}},
      {WMSZ_RIGHT, {50, 60, 150, 110}, {50, 10, 250, 110}},
      {WMSZ_TOP, {50, 60, 150, 110}, {-50, 10, 150, 110}},
      {WMSZ_TOPLEFT, {50, 60, 150, 110}, {-50, 10, 150, 110}},
      {WMSZ_TOPRIGHT, {50, 60, 150, 110}, {50, 10, 250, 110}},
      {WMSZ_BOTTOM, {50, 60, 150, 110}, {-50, 60, 150, 160}},
      {WMSZ_BOTTOMLEFT, {50, 60, 150, 110}, {-50, 60, 150, 160}},
      {WMSZ_BOTTOMRIGHT, {50, 60, 150, 110}, {50, 60, 250, 160}},
      // Large enough, or exactly the minimum: untouched.
      {WMSZ_LEFT, {0, 0, 300, 300}, {0, 0, 300, 300}},
      {WMSZ_BOTTOMRIGHT, {10, 20, 210, 120}, {10, 20, 210, 120}},
  };
  for (const SizingCase& c : cases) {
    SCOPED_TRACE(c.edge);
    RECT rect = toRect(c.proposed);
    TopWindow::keepMinimumSize(c.edge, &rect, 200, 100);
    expectRect(c.expected, rect);
  }
}

}  // namespace
