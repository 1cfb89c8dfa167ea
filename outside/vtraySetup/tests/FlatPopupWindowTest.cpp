// The skin's flat menu on the layer's real pop-up window: framed and cut at the corners while
// open, its window procedure and shape given back when it closes.
#include "outside/vtraySetup/tests/FormFixture.h"
#include "outside/vtraySetup/rt/Menu.h"

namespace {

struct Seen {
  bool open = false;
  int regionKind = 0;
  bool cornersCut = false;
  COLORREF corner = 0, inner = 0, shadow = 0;
  LONG_PTR procAfterHide = 0;
  int regionAfterHide = -1;
};
Seen seen;
WNDPROC classProcedure = nullptr;
WNDPROC skinProcedure = nullptr;

// Put on top of the skin's procedure: what the window holds once the skin heard it hide.
LRESULT CALLBACK watchingProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(skinProcedure, hwnd, msg, wParam, lParam);
  if (msg == WM_SHOWWINDOW && wParam == FALSE && seen.regionAfterHide < 0) {
    seen.procAfterHide = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    HRGN shape = CreateRectRgn(0, 0, 1, 1);
    seen.regionAfterHide = GetWindowRgn(hwnd, shape);
    DeleteObject(shape);
  }
  return result;
}

void CALLBACK lookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu) return;
  seen.open = true;
  RECT r;
  GetWindowRect(menu, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  HRGN shape = CreateRectRgn(0, 0, 1, 1);
  seen.regionKind = GetWindowRgn(menu, shape);
  seen.cornersCut = !PtInRegion(shape, w - 1, 0) && !PtInRegion(shape, 0, h - 1) &&
                    PtInRegion(shape, w - 1, h - 1) && PtInRegion(shape, 0, 0);
  DeleteObject(shape);
  HDC dc = GetWindowDC(menu);
  seen.corner = GetPixel(dc, 0, 0);
  seen.inner = GetPixel(dc, 1, 1);
  seen.shadow = GetPixel(dc, w - 1, h / 2);
  ReleaseDC(menu, dc);
  skinProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(menu, GWLP_WNDPROC));
  SetWindowLongPtrA(menu, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchingProcedure));
  vorntest::pressKey(menu, VK_ESCAPE);
}

class FlatPopupWindowTest : public FormFixture {};

TEST_F(FlatPopupWindowTest, TheOpenMenuIsFramedAndCutAndGivesItAllBackWhenItCloses) {
  auto* menu = new frt::PopupMenu(form);
  menu->add("Open");
  menu->add("-");
  menu->add("Quit");
  skin->flatMenu = true;
  skin->setActive(true);
  seen = Seen{};
  // The notice the first drawn item posts is handled before the timer's first tick.
  SetTimer(nullptr, 0, 60, lookAndClose);
  EXPECT_EQ(menu->popup(form->handle(), 120, 100), nullptr);
  WNDCLASSEXA info{};
  ASSERT_TRUE(GetClassInfoExA(nullptr, "#32768", &info));
  classProcedure = info.lpfnWndProc;

  ASSERT_TRUE(seen.open);
  EXPECT_NE(skinProcedure, classProcedure);
  const skin::SkinPalette& p = skin->context().palette;
  EXPECT_EQ(seen.regionKind, COMPLEXREGION);
  EXPECT_TRUE(seen.cornersCut);
  EXPECT_EQ(seen.corner, p.shadow1);
  EXPECT_EQ(seen.inner, p.iconBack);
  EXPECT_EQ(seen.shadow, p.shadow2);
  EXPECT_EQ(seen.procAfterHide, reinterpret_cast<LONG_PTR>(classProcedure));
  EXPECT_EQ(seen.regionAfterHide, 0);  // no shape left
}

}  // namespace
