// Top-level windows: snapping and minimum-size geometry checked numerically, and the created
// window's styles, placement and message handling checked through the layer.
#include "lib/TopWindow.h"

#include "lib/tests/ToolkitFixture.h"
#include "platform/testing.h"

namespace {

std::string text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

std::string windowRect(Window& window) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(window.getHwnd(), &rect);
  return text(rect);
}

TEST(TopWindowGeometry, SnapsEdgesWithinTheMagneticForce) {
  const RECT area = {0, 0, 1024, 738};
  const RECT offsetArea = {50, 30, 1024, 738};
  const struct {
    RECT area;
    int force;
    RECT proposed;
    const char* expected;
  } cases[] = {
      {area, 10, {7, 100, 207, 300}, "0,100,200,300"},    // width kept
      {area, 10, {10, 100, 210, 300}, "10,100,210,300"},  // at the force: stays
      {area, 10, {-9, 100, 191, 300}, "0,100,200,300"},
      {area, 10, {100, 3, 300, 203}, "100,0,300,200"},
      {area, 10, {100, 418, 300, 718}, "100,418,300,718"},  // 20 from the bottom: stays
      {area, 10, {100, 400, 300, 729}, "100,409,300,738"},  // 9 from the bottom: down 9
      {area, 10, {500, 100, 1027, 300}, "497,100,1024,300"},
      {area, 0, {7, 3, 207, 203}, "7,3,207,203"},  // force 0: off
      // The right-edge distance is the proposal's, so the left snap does not cancel it.
      {area, 10, {5, 100, 1029, 300}, "-5,100,1019,300"},
      // Left and top snap to the screen origin, not to the work area's left and top.
      {offsetArea, 10, {6, 40, 206, 240}, "0,40,200,240"},
      {offsetArea, 10, {55, 40, 255, 240}, "55,40,255,240"},
  };
  for (const auto& c : cases) {
    RECT rect = c.proposed;
    TopWindow::snapToEdges(&rect, c.area, c.force);
    EXPECT_EQ(c.expected, text(rect)) << "from " << text(c.proposed);
  }
}

TEST(TopWindowGeometry, SizingKeepsTheMinimumByEdge) {
  // Minimum 200 x 100; each proposal is 100 x 50, so both rules apply.
  const struct {
    int edge;
    const char* expected;
  } cases[] = {
      {WMSZ_LEFT, "-50,10,150,110"},       {WMSZ_RIGHT, "50,10,250,110"},
      {WMSZ_TOP, "-50,10,150,110"},        {WMSZ_TOPRIGHT, "50,10,250,110"},
      {WMSZ_BOTTOM, "-50,60,150,160"},     {WMSZ_BOTTOMLEFT, "-50,60,150,160"},
      {WMSZ_BOTTOMRIGHT, "50,60,250,160"},
  };
  for (const auto& c : cases) {
    RECT rect = {50, 60, 150, 110};
    TopWindow::keepMinimumSize(c.edge, &rect, 200, 100);
    EXPECT_EQ(c.expected, text(rect)) << "edge " << c.edge;
  }
  RECT exact = {10, 20, 210, 120};
  TopWindow::keepMinimumSize(WMSZ_TOPLEFT, &exact, 200, 100);
  EXPECT_EQ("10,20,210,120", text(exact));
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

TEST_F(TopWindowTest, ConstructorPullsBackWindowsStartingBeyondTheWorkArea) {
  // 300 x 200 windows in a 1000 x 700 work area.
  const int cases[][4] = {{1000, 100, 700, 100},
                          {999, 100, 999, 100},
                          {100, 700, 100, 500},
                          {100, 699, 100, 699},
                          {5000, 5000, 700, 500}};
  for (const auto& c : cases) {
    TopWindow window("placed", c[0], c[1], 300, 200, false);
    EXPECT_EQ(c[2], window.left) << c[0] << "," << c[1];
    EXPECT_EQ(c[3], window.top) << c[0] << "," << c[1];
  }
  FixedWindow fixed("fixed", 300, 200, false);  // the system places it
  EXPECT_EQ(CW_USEDEFAULT, fixed.left);
  EXPECT_EQ(CW_USEDEFAULT, fixed.top);
}

TEST_F(TopWindowTest, CreatesHiddenTopLevelWindowsWithTheirStyles) {
  const LONG_PTR sizingParts = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  for (int kind = 0; kind < 4; ++kind) {
    bool isFixed = kind >= 2, toolWindow = kind % 2 == 1;
    TopWindow* window = isFixed ? new FixedWindow("Fixed one", 200, 100, toolWindow)
                                : new TopWindow("Top one", 10, 20, 200, 100, toolWindow);
    window->createIn(root);
    HWND hwnd = window->getHwnd();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_FALSE(GetParent(hwnd) || IsWindowVisible(hwnd));
    EXPECT_STREQ(isFixed ? "fixedwindow" : "window", window->typeName());
    LONG_PTR style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG_PTR expected = isFixed ? 0x02080000 : 0x02CF0000;
    EXPECT_EQ(expected, style & expected) << kind;
    EXPECT_EQ(isFixed ? 0 : sizingParts, style & sizingParts) << kind;
    LONG_PTR exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    EXPECT_EQ(WS_EX_WINDOWEDGE | (toolWindow ? WS_EX_TOOLWINDOW : 0),
              exStyle & (WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW))
        << kind;
    window->show();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    delete window;
  }
}

TEST_F(TopWindowTest, MinimumSizeAndSnappingHoldForMovesAndMessages) {
  TopWindow window("sized", 10, 20, 400, 300, false);
  window.createIn(root);
  window.setMinimumSize(300, 200);
  window.move(30, 40, 100, 250);
  EXPECT_EQ("30,40,330,290", windowRect(window));
  window.move(30, 40, 400, 50);
  EXPECT_EQ("30,40,430,240", windowRect(window));
  EXPECT_EQ(200, window.height);
  auto send = [&](UINT message, WPARAM wParam, RECT rect) {
    EXPECT_EQ(0, SendMessageA(window.getHwnd(), message, wParam, reinterpret_cast<LPARAM>(&rect)));
    return text(rect);
  };
  EXPECT_EQ("100,100,400,300", send(WM_SIZING, WMSZ_BOTTOMRIGHT, {100, 100, 200, 200}));
  vorntest::setWorkArea(RECT{0, 0, 800, 500});  // snapping follows the current work area
  EXPECT_EQ("0,295,200,500", send(WM_MOVING, 0, {7, 290, 207, 495}));
  window.setMagneticForce(0);
  EXPECT_EQ("7,290,207,495", send(WM_MOVING, 0, {7, 290, 207, 495}));
}

TEST_F(TopWindowTest, TopmostKeepsThePlaceAndMaximizeFillsTheWorkArea) {
  TopWindow window("states", 40, 50, 300, 200, false);
  window.createIn(root);
  window.show();
  window.setTopmost(true);
  EXPECT_EQ(WS_EX_TOPMOST, GetWindowLongA(window.getHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ("40,50,340,250", windowRect(window));
  window.maximize();
  EXPECT_EQ("0,0,1000,700", windowRect(window));
  window.restore();
  EXPECT_EQ("40,50,340,250", windowRect(window));
  window.setTopmost(false);
  EXPECT_EQ(0, GetWindowLongA(window.getHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
