// Top-level windows: snapping and minimum-size geometry checked numerically, and the created
// window's styles, placement and message handling checked through the layer.
#include "lib/TopWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

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

namespace {

// Records the size types and commands it receives.
class RecordingTop : public TopWindow {
 public:
  RecordingTop(const char* name, int left, int top, int width, int height, bool toolWindow)
      : TopWindow(name, left, top, width, height, toolWindow) {}

  bool onSize(int type, int width, int height) override {
    sizeTypes.push_back(type);
    return TopWindow::onSize(type, width, height);
  }

  std::vector<int> sizeTypes;
};

RECT windowRect(HWND hwnd) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(hwnd, &rect);
  return rect;
}

class TopWindowTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &savedArea, 0);
    vorntest::setWorkArea(RECT{0, 0, 1000, 700});
  }
  void TearDown() override {
    vorntest::setWorkArea(savedArea);
    ToolkitTest::TearDown();
  }

  RECT savedArea = {0, 0, 0, 0};
};

struct PlacementCase {
  int left, top;
  int expectedLeft, expectedTop;
};

TEST_F(TopWindowTest, ConstructorPullsBackWindowsStartingBeyondTheWorkArea) {
  // 300 x 200 windows in a 1000 x 700 work area.
  const PlacementCase cases[] = {
      {1200, 100, 700, 100}, {1000, 100, 700, 100}, {999, 100, 999, 100},
      {100, 700, 100, 500},  {100, 699, 100, 699},  {5000, 5000, 700, 500},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
    TopWindow window("placed", c.left, c.top, 300, 200, false);
    EXPECT_EQ(c.expectedLeft, window.left);
    EXPECT_EQ(c.expectedTop, window.top);
  }
  // Without a position the system chooses one; nothing is clamped.
  TopWindow floating("floating", 300, 200, false);
  FixedWindow fixed("fixed", 300, 200, false);
  EXPECT_EQ(CW_USEDEFAULT, floating.left);
  EXPECT_EQ(CW_USEDEFAULT, fixed.top);
  EXPECT_EQ(300, fixed.width);
}

TEST_F(TopWindowTest, CreatesHiddenTopLevelWindowsWithTheirStyles) {
  const LONG_PTR sizingParts = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  for (int kind = 0; kind < 4; ++kind) {
    bool isFixed = kind >= 2;
    bool toolWindow = kind % 2 == 1;
    SCOPED_TRACE(kind);
    TopWindow* window = isFixed ? new FixedWindow("Fixed one", 200, 100, toolWindow)
                                : new TopWindow("Top one", 10, 20, 200, 100, toolWindow);
    window->createIn(root);
    HWND hwnd = window->getHwnd();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(nullptr, GetParent(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_FALSE(window->isVisible());
    EXPECT_STREQ(isFixed ? "fixedwindow" : "window", window->typeName());

    LONG_PTR style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG_PTR expected = isFixed ? 0x02080000 : 0x02CF0000;
    EXPECT_EQ(expected, style & expected);
    EXPECT_EQ(isFixed ? 0 : sizingParts, style & sizingParts);
    LONG_PTR exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    EXPECT_EQ(WS_EX_WINDOWEDGE, exStyle & WS_EX_WINDOWEDGE);
    EXPECT_EQ(toolWindow ? WS_EX_TOOLWINDOW : 0, exStyle & WS_EX_TOOLWINDOW);

    char title[32] = "";
    GetWindowTextA(hwnd, title, sizeof(title));
    EXPECT_STREQ(window->getName(), title);

    window->show();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    delete window;
    EXPECT_FALSE(IsWindow(hwnd));
  }
}

TEST_F(TopWindowTest, MoveKeepsTheMinimumSize) {
  TopWindow window("sized", 10, 20, 400, 300, false);
  window.createIn(root);
  window.setMinimumSize(300, 200);
  struct {
    int width, height, expectedWidth, expectedHeight;
  } cases[] = {{100, 250, 300, 250}, {400, 50, 400, 200}, {10, 10, 300, 200}, {300, 200, 300, 200}};
  for (const auto& c : cases) {
    window.move(30, 40, c.width, c.height);
    RECT rect = windowRect(window.getHwnd());
    EXPECT_EQ(30, rect.left);
    EXPECT_EQ(c.expectedWidth, rect.right - rect.left);
    EXPECT_EQ(c.expectedHeight, rect.bottom - rect.top);
    EXPECT_EQ(c.expectedWidth, window.width);
    EXPECT_EQ(c.expectedHeight, window.height);
  }
}

TEST_F(TopWindowTest, MovingAndSizingMessagesAdjustTheProposedRectangle) {
  TopWindow window("dragged", 100, 100, 200, 200, false);
  window.createIn(root);
  HWND hwnd = window.getHwnd();
  vorntest::setWorkArea(RECT{0, 0, 800, 500});

  RECT moving = {7, 100, 207, 300};
  EXPECT_EQ(0, SendMessageA(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving)));
  expectRect({0, 100, 200, 300}, moving);
  // The work area in force when the message arrives is the one snapped to.
  moving = {100, 290, 300, 495};
  SendMessageA(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving));
  expectRect({100, 295, 300, 500}, moving);
  window.setMagneticForce(0);
  moving = {7, 3, 207, 203};
  SendMessageA(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving));
  expectRect({7, 3, 207, 203}, moving);

  window.setMinimumSize(150, 120);
  RECT sizing = {100, 100, 200, 200};
  EXPECT_EQ(0, SendMessageA(hwnd, WM_SIZING, WMSZ_TOPLEFT, reinterpret_cast<LPARAM>(&sizing)));
  expectRect({50, 80, 200, 200}, sizing);
  sizing = {100, 100, 200, 200};
  SendMessageA(hwnd, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&sizing));
  expectRect({100, 100, 250, 220}, sizing);
}

TEST_F(TopWindowTest, MinimizeMaximizeRestoreAndTopmost) {
  RecordingTop window("states", 40, 50, 300, 200, false);
  window.createIn(root);
  window.show();
  HWND hwnd = window.getHwnd();
  window.sizeTypes.clear();

  window.minimize();
  EXPECT_TRUE(IsIconic(hwnd));
  window.restore();
  EXPECT_FALSE(IsIconic(hwnd));
  window.maximize();
  EXPECT_TRUE(IsZoomed(hwnd));
  RECT maximized = windowRect(hwnd);
  expectRect({0, 0, 1000, 700}, maximized);
  window.restore();
  EXPECT_FALSE(IsZoomed(hwnd));
  expectRect({40, 50, 340, 250}, windowRect(hwnd));
  ASSERT_FALSE(window.sizeTypes.empty());
  EXPECT_EQ(SIZE_MINIMIZED, window.sizeTypes.front());
  EXPECT_NE(window.sizeTypes.end(),
            std::find(window.sizeTypes.begin(), window.sizeTypes.end(), SIZE_MAXIMIZED));
  EXPECT_EQ(SIZE_RESTORED, window.sizeTypes.back());

  window.setTopmost(true);
  EXPECT_EQ(WS_EX_TOPMOST, GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  expectRect({40, 50, 340, 250}, windowRect(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  window.setTopmost(false);
  EXPECT_EQ(0, GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  expectRect({40, 50, 340, 250}, windowRect(hwnd));
}

}  // namespace
