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
using windowtest::seen;

const QRgb kMarker = qRgb(255, 0, 255);

class MenuBarStripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    answer() = [this](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
      if (msg == WM_MEASUREITEM) {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measured.push_back(*m);
        m->itemWidth = m->itemID == 1 ? 40 : 30;
      } else if (msg == WM_DRAWITEM) {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        drawn.push_back(*d);
        // The last item paints past its own box, to the bar's end.
        RECT r = d->rcItem;
        if (d->itemID == 3) r.right = 10000;
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(d->hDC, &r, brush);
        DeleteObject(brush);
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
  // The bar as shown, after the owner drew it again.
  QImage shown() {
    drawn.clear();
    return vornplatform::grabWindowImage(window);
  }
  const DRAWITEMSTRUCT* drawnItem(ULONG_PTR data) {
    for (const DRAWITEMSTRUCT& d : drawn)
      if (d.itemData == data) return &d;
    return nullptr;
  }
  // Bar points: above the client area.
  void hover(int x) { ASSERT_TRUE(vorntest::moveMouseTo(window, x, -15)); }
  void click(int x) { ASSERT_TRUE(vorntest::clickAt(window, x, -15)); }
  bool commandSeen(UINT id) {
    vorntest::pumpFor(20);
    for (const windowtest::Seen& s : seen())
      if (s.hwnd == window && s.msg == WM_COMMAND && s.wParam == MAKEWPARAM(id, 0)) return true;
    return false;
  }

  HMENU bar = nullptr, sub = nullptr;
  HWND window = nullptr;
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
};

TEST_F(MenuBarStripTest, OwnerMeasuresAndDrawsItemsOnTheWholeBar) {
  QImage image = shown();
  ASSERT_EQ(measured.size(), 3u);
  EXPECT_EQ(measured[0].CtlType, static_cast<UINT>(ODT_MENU));
  EXPECT_EQ(measured[0].itemData, 0x1111u);
  const DRAWITEMSTRUCT* first = drawnItem(0x1111);
  const DRAWITEMSTRUCT* last = drawnItem(0x3333);
  ASSERT_TRUE(first && last);
  EXPECT_EQ(first->CtlType, static_cast<UINT>(ODT_MENU));
  EXPECT_EQ(first->hwndItem, reinterpret_cast<HWND>(bar));
  EXPECT_EQ(first->rcItem.left, 0);
  EXPECT_EQ(first->rcItem.right, 40);
  EXPECT_EQ(first->rcItem.bottom, 20);
  EXPECT_EQ(first->itemState, 0u);
  EXPECT_EQ(last->itemState, static_cast<UINT>(ODS_GRAYED | ODS_CHECKED));
  EXPECT_EQ(last->rcItem.left - drawnItem(0x2222)->rcItem.right, 0);
  // The menu colour under the text item, the owner's paint up to the bar's right end.
  int textX = first->rcItem.right + 1;
  EXPECT_EQ(image.pixel(textX, 1) & 0xFFFFFF, qRgb(240, 240, 240) & 0xFFFFFF);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(image.pixel(client.right - 1, 10) & 0xFFFFFF, kMarker & 0xFFFFFF);
}

TEST_F(MenuBarStripTest, ClientAreaSitsWhereAQtBarLeavesIt) {
  HWND plain = windowtest::makeTop(10, 20, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU plainBar = CreateMenu();
  AppendMenuA(plainBar, MF_STRING, 1, "File");
  SetMenu(plain, plainBar);
  RECT a, b;
  GetClientRect(window, &a);
  GetClientRect(plain, &b);
  EXPECT_EQ(a.bottom, b.bottom);
  POINT pa{0, 0}, pb{0, 0};
  ClientToScreen(window, &pa);
  ClientToScreen(plain, &pb);
  EXPECT_EQ(pa.y, pb.y);
  EXPECT_EQ(vornplatform::clientWidgetOf(window)->y(), vornplatform::clientWidgetOf(plain)->y());
  DestroyWindow(plain);
}

TEST_F(MenuBarStripTest, HoverSelectsClicksPostCommandsAndPopupsOpenBelowTheirItem) {
  shown();
  hover(5);
  shown();
  EXPECT_EQ(drawnItem(0x1111)->itemState, static_cast<UINT>(ODS_SELECTED));
  EXPECT_EQ(drawnItem(0x2222)->itemState, 0u);
  seen().clear();
  click(5);
  EXPECT_TRUE(commandSeen(1));
  int grayedX = drawnItem(0x3333)->rcItem.left + 5;
  seen().clear();
  click(grayedX);
  EXPECT_FALSE(commandSeen(3));
  EXPECT_TRUE(vorntest::pickMenuItem(window, 2));
  EXPECT_FALSE(vorntest::pickMenuItem(window, 3));

  RECT popupBox = drawnItem(0x2222)->rcItem;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  POINT asked{-1, -1};
  UINT stateWhileOpen = 0;
  vornplatform::setPopupChooser([&](HMENU menu, int x, int y) -> UINT {
    EXPECT_EQ(menu, sub);
    asked = POINT{x, y};
    shown();
    stateWhileOpen = drawnItem(0x2222)->itemState;
    return 7;
  });
  seen().clear();
  click(popupBox.left + 3);
  EXPECT_EQ(asked.x, origin.x + popupBox.left);
  EXPECT_EQ(asked.y, origin.y);  // the bar's bottom is the client area's top
  EXPECT_EQ(stateWhileOpen, static_cast<UINT>(ODS_SELECTED));
  EXPECT_TRUE(commandSeen(7));
  hover(150);
  shown();
  EXPECT_EQ(drawnItem(0x2222)->itemState, 0u);
}

TEST_F(MenuBarStripTest, WindowDestroyedWhileItsBarMenuIsOpenEndsQuietly) {
  shown();
  int popupX = drawnItem(0x2222)->rcItem.left + 3;
  vornplatform::setPopupChooser([&](HMENU, int, int) -> UINT {
    DestroyWindow(window);
    return 0;
  });
  click(popupX);
  vorntest::pumpFor(20);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsMenu(bar));  // the bar went with its window
}

}  // namespace
