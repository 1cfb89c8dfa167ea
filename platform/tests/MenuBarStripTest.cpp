// The layer's painted bar for owner-drawn bar items: measuring and drawing through the owner
// on a DC of the whole bar, hot and open items selected, clicks, and the client area's place.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/MenuAccess.h"
#include "platform/Screenshot.h"
#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

namespace {

using windowtest::answer;

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class MenuBarStripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    answer() = [this](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
      if (msg == WM_MEASUREITEM) {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measured.push_back(*m);
        m->itemWidth = m->itemID == 1 ? 40 : 30;
        if (tallAnswer && m->itemID == 1) m->itemHeight = tallAnswer;
      } else if (msg == WM_DRAWITEM) {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        drawn.push_back(*d);
        RECT r{d->rcItem.left, 0, d->itemID == 3 ? 10000 : d->rcItem.right, 20};  // past its box
        FillRect(d->hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      } else {
        return false;
      }
      *result = TRUE;
      return true;
    };
    sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 7, "Seven");
    bar = CreateMenu();
    AppendMenuA(bar, MF_OWNERDRAW, 1, reinterpret_cast<LPCSTR>(uintptr_t{0x1111}));
    AppendMenuA(bar, MF_STRING, 2, "Text");
    AppendMenuA(bar, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                reinterpret_cast<LPCSTR>(uintptr_t{0x2222}));
    AppendMenuA(bar, MF_OWNERDRAW | MF_GRAYED | MF_CHECKED, 3,
                reinterpret_cast<LPCSTR>(uintptr_t{0x3333}));
    window = windowtest::makeTop(10, 20, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetMenu(window, bar);
  }
  void TearDown() override {
    answer() = nullptr;
    vornplatform::setPopupChooser(nullptr);
    DestroyWindow(window);
  }
  QImage shown() {
    drawn.clear();
    return vornplatform::grabWindowImage(window);
  }
  const DRAWITEMSTRUCT& item(ULONG_PTR data) {
    for (const DRAWITEMSTRUCT& d : drawn)
      if (d.itemData == data) return d;
    static DRAWITEMSTRUCT none{};
    return none;
  }
  // Bar points lie above the client area.
  void hover(int x) { ASSERT_TRUE(vorntest::moveMouseTo(window, x, -15)); }
  void click(int x) { ASSERT_TRUE(vorntest::clickAt(window, x, -15)); }
  bool commandSeen(UINT id) {
    vorntest::pumpFor(20);
    for (const windowtest::Seen& s : windowtest::seen())
      if (s.hwnd == window && s.msg == WM_COMMAND && s.wParam == MAKEWPARAM(id, 0)) return true;
    return false;
  }

  HMENU bar = nullptr, sub = nullptr;
  HWND window = nullptr;
  UINT tallAnswer = 0;
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
};

TEST_F(MenuBarStripTest, OwnerMeasuresAndDrawsOnTheWholeBarWhereTheClientAreaStays) {
  QImage image = shown();
  ASSERT_EQ(measured.size(), 3u);
  EXPECT_EQ(measured[0].itemData, 0x1111u);
  const DRAWITEMSTRUCT& first = item(0x1111);
  EXPECT_EQ(first.hwndItem, reinterpret_cast<HWND>(bar));
  EXPECT_TRUE(sameRect(first.rcItem, RECT{0, 0, 40, 20}));
  EXPECT_EQ(item(0x3333).itemState, static_cast<UINT>(ODS_GRAYED | ODS_CHECKED));
  EXPECT_GT(item(0x2222).rcItem.left, 40 + 20);  // past the text item's caption and margins
  // The menu colour under the text item; the last item's paint reaches the bar's right end.
  EXPECT_EQ(image.pixel(41, 1) & 0xFFFFFF, 0xF0F0F0u);
  RECT client, other;
  GetClientRect(window, &client);
  EXPECT_EQ(image.pixel(client.right - 1, 10) & 0xFFFFFF, 0u);

  HWND plain = windowtest::makeTop(10, 20, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU plainBar = CreateMenu();
  AppendMenuA(plainBar, MF_STRING, 1, "File");
  SetMenu(plain, plainBar);
  GetClientRect(plain, &other);
  EXPECT_TRUE(sameRect(client, other));
  EXPECT_EQ(vornplatform::clientWidgetOf(window)->y(), vornplatform::clientWidgetOf(plain)->y());
  DestroyWindow(plain);
}

// As in Win32, a taller owner-drawn item makes the bar taller and the client area gives way;
// an absurd answer is held to a bar that leaves the window usable.
TEST_F(MenuBarStripTest, ATallerItemGrowsTheBarWithinBounds) {
  RECT before;
  GetClientRect(window, &before);
  auto barAfterAnswering = [this](UINT height) {
    tallAnswer = height;
    DrawMenuBar(window);
    vorntest::pumpFor(30);
    return vornplatform::clientWidgetOf(window)->y();
  };
  EXPECT_EQ(barAfterAnswering(30), 30);
  RECT grown;
  GetClientRect(window, &grown);
  EXPECT_EQ(grown.bottom, before.bottom - 10);
  EXPECT_EQ(barAfterAnswering(1000000), 200);
  EXPECT_EQ(barAfterAnswering(17), 20);
}

// Hovering and clicking a command item are driven on a real desktop.
TEST_F(MenuBarStripTest, GrayedItemsPostNothingAndPopupsOpenBelowTheirItemSelected) {
  shown();
  click(item(0x3333).rcItem.left + 5);
  EXPECT_FALSE(commandSeen(3));

  RECT popupBox = item(0x2222).rcItem;
  POINT origin{0, 0}, asked{-1, -1};
  ClientToScreen(window, &origin);
  UINT stateWhileOpen = 0;
  vornplatform::setPopupChooser([&](HMENU menu, int x, int y) -> UINT {
    asked = POINT{x, y};
    shown();
    stateWhileOpen = menu == sub ? item(0x2222).itemState : 0;
    return 7;
  });
  click(popupBox.left + 3);
  EXPECT_TRUE(asked.x == origin.x + popupBox.left && asked.y == origin.y);  // below the bar
  EXPECT_EQ(stateWhileOpen, static_cast<UINT>(ODS_SELECTED));
  EXPECT_TRUE(commandSeen(7));
  hover(150);  // past the last item
  shown();
  EXPECT_EQ(item(0x2222).itemState, 0u);
}

TEST_F(MenuBarStripTest, WindowDestroyedWhileItsBarMenuIsOpenEndsQuietly) {
  shown();
  vornplatform::setPopupChooser([&](HMENU, int, int) -> UINT { return !DestroyWindow(window); });
  click(item(0x2222).rcItem.left + 3);
  vorntest::pumpFor(20);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
