// Owner-drawn pop-up menus in the layer's own menu window: measuring, drawing on the menu
// window's context, the mouse and the keys while the menu is open, sub-menus and hostile owners.
#include <gtest/gtest.h>

#include <map>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

namespace {

using windowtest::answer;

const UINT kFirst = 11, kGrayed = 12, kLast = 13, kSubItem = 21;

class MenuWindowTest : public ::testing::Test {
 protected:
  // Items are owner-drawn with their id as data; the popup item's data is 99.
  void SetUp() override {
    owner = windowtest::makeTop();
    sub = CreatePopupMenu();
    AppendMenuA(sub, MF_OWNERDRAW, kSubItem, reinterpret_cast<LPCSTR>(uintptr_t{kSubItem}));
    menu = CreatePopupMenu();
    const UINT flags[] = {MF_OWNERDRAW, MF_SEPARATOR, MF_OWNERDRAW | MF_GRAYED, MF_OWNERDRAW};
    const UINT ids[] = {kFirst, 0, kGrayed, kLast};
    for (int i = 0; i < 4; ++i)
      AppendMenuA(menu, flags[i], ids[i], reinterpret_cast<LPCSTR>(uintptr_t{ids[i]}));
    AppendMenuA(menu, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                reinterpret_cast<LPCSTR>(uintptr_t{99}));
    answer() = [this](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
      if (msg == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemWidth = 100;
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 20;
      } else if (msg == WM_DRAWITEM) {
        drawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      } else if (msg == WM_TIMER && KillTimer(owner, 1) && whileOpen) {
        whileOpen(FindWindowA("#32768", nullptr));
      }
      *result = TRUE;
      return msg == WM_MEASUREITEM || msg == WM_DRAWITEM || msg == WM_TIMER;
    };
  }
  void TearDown() override {
    answer() = nullptr;
    vorntest::clearWorkArea();
    DestroyMenu(menu);
    DestroyWindow(owner);
  }
  void drawItem(const DRAWITEMSTRUCT& d) {
    drawn[d.itemData] = d;
    drawnOn[d.itemData] = WindowFromDC(d.hDC);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(d.hDC, &d.rcItem, blue);
    DeleteObject(blue);
    if (onDraw) onDraw(d);
  }
  // Tracks the menu at (200, 150); whileOpen runs inside the menu's loop.
  UINT track(UINT flags) {
    SetTimer(owner, 1, 10, nullptr);
    return static_cast<UINT>(TrackPopupMenu(menu, flags, 200, 150, 0, owner, nullptr));
  }
  POINT centreOf(ULONG_PTR data) {
    const RECT& r = drawn[data].rcItem;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  HWND owner = nullptr;
  HMENU menu = nullptr, sub = nullptr;
  std::map<ULONG_PTR, DRAWITEMSTRUCT> drawn;
  std::map<ULONG_PTR, HWND> drawnOn;
  std::function<void(HWND)> whileOpen;
  std::function<void(const DRAWITEMSTRUCT&)> onDraw;
};

// Hover and clicks on enabled and disabled items are driven on a real desktop as well.
TEST_F(MenuWindowTest, OwnerDrawsOnTheFramedMenuWindowAndKeysSkipSeparatorsAndWrap) {
  RECT window{}, client{};
  COLORREF corner = 0, inside = 0;
  whileOpen = [&](HWND shown) {
    GetWindowRect(shown, &window);
    GetClientRect(shown, &client);
    HDC whole = GetWindowDC(shown);
    corner = GetPixel(whole, 0, 0);
    inside = GetPixel(whole, 3, 3);
    ReleaseDC(shown, whole);
    // First, Grayed, Last, More, First again (wrapped), then back up to More and Last.
    for (int vk : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_UP})
      vorntest::pressKey(shown, vk);
    EXPECT_EQ(drawn[kLast].itemAction, static_cast<UINT>(ODA_SELECT));
    vorntest::pressKey(shown, VK_RETURN);
  };
  EXPECT_EQ(track(0), TRUE);
  EXPECT_TRUE(vorntest::pumpUntil(
      [&] { return !windowtest::messagesOf(owner, WM_COMMAND).empty(); }, 1000));
  EXPECT_EQ(windowtest::messagesOf(owner, WM_COMMAND).back().wParam, MAKEWPARAM(kLast, 0));
  int width = 100 + GetSystemMetrics(SM_CXMENUCHECK) - 1;  // widened by the check mark
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(window.right - window.left, width + 6);
  EXPECT_TRUE(corner == GetSysColor(COLOR_3DLIGHT) && inside == RGB(0, 0, 255));
  EXPECT_FALSE(IsWindow(drawnOn[kLast]));  // drawn on the menu window, gone since
  EXPECT_EQ(drawn[kLast].rcItem.top, 48);  // 20 + separator 8 + 20
  EXPECT_EQ(drawn[kGrayed].itemState, static_cast<UINT>(ODS_GRAYED));

  whileOpen = [&](HWND shown) {
    POINT grayed = centreOf(kGrayed);
    vorntest::clickAt(shown, grayed.x, grayed.y);
    vorntest::clickAt(shown, -40, -40);  // outside
  };
  EXPECT_EQ(track(TPM_RETURNCMD), 0u);
}

TEST_F(MenuWindowTest, SubMenusOpenBesideTheirItemWithAnArrowAndLeftClosesThem) {
  RECT top{}, beside{};
  COLORREF arrow = 0;
  whileOpen = [&](HWND shown) {
    POINT more = centreOf(99);
    HDC dc = GetDC(shown);
    arrow = GetPixel(dc, drawn[99].rcItem.right - 8, more.y);
    ReleaseDC(shown, dc);
    vorntest::moveMouseTo(shown, more.x, more.y);
    GetWindowRect(shown, &top);
    GetWindowRect(drawnOn[kSubItem], &beside);
    vorntest::pressKey(drawnOn[kSubItem], VK_LEFT);
    EXPECT_FALSE(IsWindow(drawnOn[kSubItem]));
    vorntest::pressKey(shown, VK_RIGHT);  // opens it again, its first item selected
    vorntest::pressKey(drawnOn[kSubItem], VK_RETURN);
  };
  // (200, 150) leaves room on the right of the offscreen screen.
  EXPECT_EQ(track(TPM_RETURNCMD), kSubItem);
  EXPECT_EQ(arrow, GetSysColor(COLOR_MENUTEXT));
  EXPECT_EQ(beside.left, top.right - 3);
}

// One menu at a time: a second track while the first is open fails and only the first
// chooses; an owner destroying the menu window or the menu ends it without a choice.
TEST_F(MenuWindowTest, ASecondMenuIsRefusedAndHostileOwnersEndTheMenu) {
  BOOL second = TRUE;
  whileOpen = [&](HWND shown) {
    second = TrackPopupMenu(menu, 0, 10, 10, 0, owner, nullptr);
    vorntest::pressKey(shown, VK_DOWN);
    vorntest::pressKey(shown, VK_RETURN);
  };
  EXPECT_EQ(track(TPM_RETURNCMD), kFirst);
  EXPECT_FALSE(second);

  whileOpen = nullptr;
  onDraw = [](const DRAWITEMSTRUCT& d) { DestroyWindow(WindowFromDC(d.hDC)); };
  EXPECT_EQ(track(TPM_RETURNCMD), 0u);
  onDraw = nullptr;
  whileOpen = [&](HWND shown) {
    vorntest::pressKey(shown, VK_DOWN);
    DestroyMenu(menu);
    vorntest::pressKey(shown, VK_RETURN);
  };
  EXPECT_EQ(track(TPM_RETURNCMD), 0u);
}

}  // namespace
