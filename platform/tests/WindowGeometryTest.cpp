// Geometry is the layer's own: moves report WM_MOVE/WM_SIZE before returning (hidden or not),
// menu bars take their height from the client, show commands report their size types.
#include <gtest/gtest.h>

#include <climits>

#include <QCoreApplication>
#include <QImage>
#include <QMoveEvent>
#include <QWidget>
#include <QWindow>

#include "platform/testing_shell.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class WindowGeometry : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override {
    for (HWND top : tops) DestroyWindow(top);
    vornplatform::setWorkAreaOverride(nullptr);
    vornplatform::setFrameExtentsOverride(nullptr);
    reset();
  }
  // A top window destroyed when the test ends.
  HWND topWindow(int x = 10, int y = 10, int w = 300, int h = 200) {
    tops.push_back(makeTop(x, y, w, h));
    return tops.back();
  }
  std::vector<HWND> tops;
};

RECT rectOf(HWND hwnd, bool client = false) {
  RECT r{};
  client ? GetClientRect(hwnd, &r) : GetWindowRect(hwnd, &r);
  return r;
}
RECT clientOf(HWND hwnd) { return rectOf(hwnd, true); }
std::vector<LONG> boxOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The lParam of each message of one kind, in order.
using LParams = std::vector<LPARAM>;
LParams lParamsOf(HWND hwnd, UINT msg) {
  LParams out;
  for (const Seen& s : messagesOf(hwnd, msg)) out.push_back(s.lParam);
  return out;
}

WPARAM lastSizeType(HWND hwnd) {
  std::vector<WPARAM> types = wParamsOf(hwnd, WM_SIZE);
  return types.empty() ? WPARAM(-1) : types.back();
}

TEST_F(WindowGeometry, MoveSendsMoveAndSizeSynchronouslyEvenWhenHidden) {
  HWND top = topWindow(0, 0, 400, 300);
  HWND child = makeChild(top, 7, 5, 5, 10, 10);
  ShowWindow(child, SW_HIDE);
  struct Case {
    int x, y, w, h;
    int moves, sizes;  // 1 when the message is due
  };
  const Case cases[] = {
      {5, 5, 10, 10, 0, 0}, {8, 9, 10, 10, 1, 0}, {8, 9, 30, 20, 0, 1}, {-4, 2, 0, 7, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    seen().clear();
    MoveWindow(child, c.x, c.y, c.w, c.h, TRUE);
    EXPECT_EQ(lParamsOf(child, WM_MOVE), c.moves ? LParams{MAKELPARAM(c.x, c.y)} : LParams{});
    EXPECT_EQ(lParamsOf(child, WM_SIZE), c.sizes ? LParams{MAKELPARAM(c.w, c.h)} : LParams{});
    EXPECT_EQ(vornplatform::clientWidgetOf(child)->geometry(), QRect(c.x, c.y, c.w, c.h));
  }
}

// Sizes and places read from damaged settings reached the window unchecked: a width of 2^31-1
// asked for gigabytes of backing image, and x + width overflowed.
TEST_F(WindowGeometry, AbsurdPlacesAndSizesAreClampedAsWin32Does) {
  const int most = 32767;
  HWND top = topWindow(INT_MIN + 1, 5, INT_MAX, INT_MAX);  // INT_MIN asks for a default
  EXPECT_EQ(boxOf(RECT{-most - 1, 5, -1, 5 + most}), boxOf(rectOf(top)));
  MoveWindow(top, INT_MAX, INT_MIN, -5, 0, FALSE);
  EXPECT_EQ(boxOf(RECT{most, -most - 1, most, -most - 1}), boxOf(rectOf(top)));
  SetWindowPos(top, nullptr, 1, 2, INT_MAX, 100, SWP_NOZORDER);
  EXPECT_EQ(boxOf(RECT{1, 2, 1 + most, 102}), boxOf(rectOf(top)));
  HWND child = makeChild(top, 3, 0, 0, INT_MAX, INT_MAX);
  EXPECT_EQ(most, clientOf(child).right);
  // What is drawn beyond any screen is clipped, not held in memory.
  QImage* backing = vornplatform::backingImageOf(child);
  ASSERT_NE(nullptr, backing);
  EXPECT_LE(qint64(backing->width()) * backing->height(), qint64(4096) * 4096);
  SetWindowPos(top, nullptr, 0, 0, 300, 200, SWP_NOZORDER);
  EXPECT_EQ(boxOf(RECT{0, 0, 300, 200}), boxOf(rectOf(top)));
}

TEST_F(WindowGeometry, ScreenAndClientCoordinatesFollowTheParents) {
  HWND top = topWindow(100, 50, 400, 300);
  HWND child = makeChild(top, 1, 10, 20, 100, 100);
  HWND inner = makeChild(child, 2, 3, 4, 10, 10);
  POINT p{1, 1};
  ClientToScreen(inner, &p);
  EXPECT_TRUE(p.x == 100 + 10 + 3 + 1 && p.y == 50 + 20 + 4 + 1) << p.x << "," << p.y;
  ScreenToClient(child, &p);
  EXPECT_TRUE(p.x == 3 + 1 && p.y == 4 + 1) << p.x << "," << p.y;
}

TEST_F(WindowGeometry, MenuBarTakesItsHeightFromTheClientArea) {
  HWND top = topWindow();
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 100, "&File");
  seen().clear();
  ASSERT_TRUE(SetMenu(top, bar));
  int menuHeight = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(lParamsOf(top, WM_SIZE), LParams{MAKELPARAM(300, 200 - menuHeight)});
  EXPECT_EQ(rectOf(top).bottom, 210);  // the window rectangle stays
  POINT p{0, 0};
  ClientToScreen(top, &p);
  EXPECT_EQ(p.y, 10 + menuHeight);
  SetMenu(top, nullptr);
  EXPECT_EQ(clientOf(top).bottom, 200);
  EXPECT_FALSE(SetMenu(makeChild(top, 3), bar));  // children have no bar
  DestroyMenu(bar);
}

TEST_F(WindowGeometry, ShowCommandsReportSizeTypesAndKeepTopmost) {
  HWND top = topWindow();
  RECT area{0, 0, 1000, 700};
  vornplatform::setWorkAreaOverride(&area);
  seen().clear();
  EXPECT_FALSE(ShowWindow(top, SW_SHOW));
  EXPECT_TRUE(ShowWindow(top, SW_SHOW));  // already visible: no second WM_SHOWWINDOW
  EXPECT_EQ(wParamsOf(top, WM_SHOWWINDOW), std::vector<WPARAM>{1});

  struct Step {
    int command;
    WPARAM sizeType;
    LONG width;
    bool iconic, zoomed;
  };
  const Step steps[] = {{SW_MAXIMIZE, SIZE_MAXIMIZED, 1000, false, true},
                        {SW_RESTORE, SIZE_RESTORED, 300, false, false},
                        {SW_MINIMIZE, SIZE_MINIMIZED, 300, true, false},
                        {SW_RESTORE, SIZE_RESTORED, 300, false, false}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.command);
    seen().clear();
    ShowWindow(top, s.command);
    auto sizes = messagesOf(top, WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().wParam, s.sizeType);
    EXPECT_EQ(IsIconic(top) != 0, s.iconic);
    EXPECT_EQ(IsZoomed(top) != 0, s.zoomed);
    if (!s.iconic) {
      EXPECT_EQ(clientOf(top).right, s.width);
    }
  }
  EXPECT_EQ(rectOf(top).left, 10);  // restored to where it was
  // Topmost survives the toolkit's flag change, which would otherwise hide the frame.
  SetWindowPos(top, HWND_TOPMOST, 30, 40, 0, 0, SWP_NOSIZE);
  QWidget* frame = vornplatform::topLevelWidgetOf(top);
  EXPECT_TRUE((frame->windowFlags() & Qt::WindowStaysOnTopHint) && frame->isVisible());
  EXPECT_TRUE(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(rectOf(top).right, 330);
  SetWindowPos(top, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(frame->windowFlags() & Qt::WindowStaysOnTopHint);
  seen().clear();
  ShowWindow(top, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(top));
  EXPECT_EQ(wParamsOf(top, WM_SHOWWINDOW), std::vector<WPARAM>{0});
}

// The window manager's maximise (its title-bar button) was taken for a user's resize and its
// restore was never heard: now both are Win32's.
TEST_F(WindowGeometry, WindowManagersMaximiseAndRestoreAreWin32s) {
  HWND top = topWindow(300, 219, 300, 200);
  ShowWindow(top, SW_SHOW);
  vornplatform::processEventsFor(20);
  seen().clear();
  ASSERT_TRUE(vorntest::maximizeByWindowManager(top, true));
  vornplatform::processEventsFor(50);
  QRect placed = vornplatform::topLevelWidgetOf(top)->windowHandle()->geometry();
  EXPECT_TRUE(IsZoomed(top));
  EXPECT_TRUE(messagesOf(top, WM_SIZING).empty());
  EXPECT_EQ(lastSizeType(top), WPARAM(SIZE_MAXIMIZED));
  EXPECT_EQ(boxOf(rectOf(top)), boxOf(RECT{placed.x(), placed.y(), placed.x() + placed.width(),
                                           placed.y() + placed.height()}));
  seen().clear();
  ASSERT_TRUE(vorntest::maximizeByWindowManager(top, false));
  vornplatform::processEventsFor(50);
  EXPECT_FALSE(IsZoomed(top));
  EXPECT_EQ(lastSizeType(top), WPARAM(SIZE_RESTORED));
  EXPECT_EQ(boxOf(RECT{300, 219, 600, 419}), boxOf(rectOf(top)));
}

TEST_F(WindowGeometry, UserMoveAndResizeAskTheWindowFirst) {
  HWND top = topWindow();
  ShowWindow(top, SW_SHOW);
  answer() = [](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
    auto* r = reinterpret_cast<RECT*>(lParam);
    if (msg == WM_MOVING && r->left < 20) r->right -= r->left, r->left = 0;      // snap to the edge
    if (msg == WM_SIZING && r->right - r->left < 200) r->right = r->left + 200;  // minimum width
    return false;
  };
  QWidget* frame = vornplatform::topLevelWidgetOf(top);
  frame->setGeometry(15, 10, 300, 200);  // as a window manager would
  vornplatform::processEventsFor(20);
  EXPECT_EQ(rectOf(top).left, 0);
  EXPECT_EQ(frame->geometry().left(), 0);

  seen().clear();
  frame->setGeometry(0, 10, 150, 100);
  vornplatform::processEventsFor(20);
  EXPECT_EQ(wParamsOf(top, WM_SIZING), std::vector<WPARAM>{WMSZ_BOTTOMRIGHT});
  EXPECT_EQ(clientOf(top).right, 200);
}

TEST_F(WindowGeometry, OverlappedWindowsHaveACaptionAndTheirStylesBoxes) {
  struct Case {
    DWORD style;
    bool frameless, close, minimize, maximize, sizable;
  };
  const Case cases[] = {
      {WS_OVERLAPPEDWINDOW, false, true, true, true, true},
      {WS_SYSMENU, false, true, false, false, false},  // a caption even without WS_CAPTION
      {WS_OVERLAPPED, false, false, false, false, false},
      {WS_OVERLAPPED | WS_MINIMIZEBOX, false, false, false, false, false},  // needs the menu
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, false, true, false, false, false},
      {WS_POPUP | WS_BORDER | WS_THICKFRAME, true, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND top = makeTop(10, 10, 300, 200, c.style);
    tops.push_back(top);
    bool caption = !(c.style & WS_POPUP) || (c.style & WS_CAPTION) == WS_CAPTION;
    EXPECT_EQ(caption, (GetWindowLongA(top, GWL_STYLE) & WS_CAPTION) == WS_CAPTION);
    QWidget* frame = vornplatform::topLevelWidgetOf(top);
    Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_EQ(c.frameless, flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(!c.frameless, flags.testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(c.close, flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(c.minimize, flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(c.maximize, flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(c.sizable, frame->minimumSize() != frame->maximumSize());
  }
}

TEST_F(WindowGeometry, TheWindowRectangleHoldsTheWindowManagersFrame) {
  RECT extents{4, 23, 4, 4};
  vornplatform::setFrameExtentsOverride(&extents);
  seen().clear();
  HWND top = topWindow(10, 20, 300, 200);
  EXPECT_EQ(lParamsOf(top, WM_SIZE), LParams{MAKELPARAM(292, 173)});  // known from the start
  HWND popup = makeTop(0, 0, 50, 40, WS_POPUP);
  tops.push_back(popup);
  EXPECT_EQ(clientOf(popup).right, 50);  // no frame
  ShowWindow(top, SW_SHOW);
  RECT outer = rectOf(top);
  EXPECT_TRUE(outer.left == 10 && outer.top == 20 && outer.right == 310 && outer.bottom == 220);
  POINT p{0, 0};
  ClientToScreen(top, &p);
  EXPECT_TRUE(p.x == 14 && p.y == 43) << p.x << "," << p.y;
  QWidget* frame = vornplatform::topLevelWidgetOf(top);
  EXPECT_EQ(frame->geometry(), QRect(14, 43, 292, 173));

  // The user drags the frame: the window hears of its outer rectangle.
  seen().clear();
  frame->move(frame->x() + 30, frame->y() + 5);
  vornplatform::processEventsFor(20);
  auto moving = messagesOf(top, WM_MOVING);
  ASSERT_EQ(moving.size(), 1u);
  EXPECT_EQ(rectOf(top).left, 40);
  EXPECT_EQ(rectOf(top).bottom, 225);

  // Framed anew (another theme): the window stays and the client takes what is left.
  extents = RECT{1, 20, 1, 5};
  vornplatform::setFrameExtentsOverride(&extents);
  seen().clear();
  QMoveEvent news(frame->pos(), frame->pos());  // what the window manager's news bring
  QCoreApplication::sendEvent(frame, &news);
  EXPECT_EQ(rectOf(top).left, 40);
  EXPECT_EQ(lParamsOf(top, WM_SIZE), LParams{MAKELPARAM(298, 175)});
  EXPECT_EQ(frame->geometry(), QRect(41, 45, 298, 175));
}

TEST_F(WindowGeometry, ActivationMovesBetweenTopLevelWindows) {
  HWND first = topWindow();
  HWND second = topWindow();
  HWND child = makeChild(first, 1);
  ShowWindow(first, SW_SHOW);
  seen().clear();
  ShowWindow(second, SW_SHOW);
  EXPECT_EQ(wParamsOf(first, WM_ACTIVATE), std::vector<WPARAM>{WA_INACTIVE});
  EXPECT_EQ(wParamsOf(second, WM_ACTIVATE), std::vector<WPARAM>{WA_ACTIVE});
  EXPECT_EQ(lParamsOf(second, WM_ACTIVATE), LParams{reinterpret_cast<LPARAM>(first)});
  EXPECT_TRUE(SetForegroundWindow(child));  // activates the child's top-level window
  EXPECT_EQ(GetForegroundWindow(), first);
  ShowWindow(first, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WindowGeometry, CursorsReachTheWidget) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR sizeWE = LoadCursorA(nullptr, IDC_SIZEWE);
  ASSERT_TRUE(arrow && arrow != sizeWE);
  HWND top = topWindow();
  HWND line = makeChild(top, 1);
  SetCapture(line);
  SetCursor(arrow);
  EXPECT_EQ(SetCursor(sizeWE), arrow);
  EXPECT_EQ(vornplatform::clientWidgetOf(line)->cursor().shape(), Qt::SizeHorCursor);
  ReleaseCapture();
}

}  // namespace
