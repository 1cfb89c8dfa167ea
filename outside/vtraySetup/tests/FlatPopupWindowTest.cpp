// The skin's flat menu on the layer's real pop-up window: framed and cut at the corners while
// open, its window procedure and shape given back when it closes.
#include "outside/vtraySetup/rt/Menu.h"
#include "outside/vtraySetup/tests/FormFixture.h"

namespace {

struct Seen {
  HWND menu = nullptr;
  int regionKind = 0;
  bool cornersCut = false;
  COLORREF corner = 0, inner = 0, shadow = 0;
  WNDPROC skinProcedure = nullptr;
  LONG_PTR procedureOnHide = 0;  // what the window holds once the skin heard it hide
  int regionOnHide = -1;
} seen;

LRESULT CALLBACK watchingProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(seen.skinProcedure, hwnd, msg, wParam, lParam);
  if (msg == WM_SHOWWINDOW && wParam == FALSE && seen.regionOnHide < 0) {
    seen.procedureOnHide = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    HRGN shape = CreateRectRgn(0, 0, 1, 1);
    seen.regionOnHide = GetWindowRgn(hwnd, shape);
    DeleteObject(shape);
  }
  return result;
}

// Runs inside the menu's loop, after the notice of the first drawn item was handled.
void CALLBACK lookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND menu = seen.menu = FindWindowA("#32768", nullptr);
  RECT r;
  if (!menu || !GetWindowRect(menu, &r)) return;
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
  seen.skinProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(menu, GWLP_WNDPROC));
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
  SetTimer(nullptr, 0, 60, lookAndClose);
  EXPECT_EQ(menu->popup(form->handle(), 120, 100), nullptr);
  WNDCLASSEXA info{};
  ASSERT_TRUE(GetClassInfoExA(nullptr, "#32768", &info));
  ASSERT_NE(seen.menu, nullptr);
  const skin::SkinPalette& p = skin->context().palette;
  EXPECT_NE(seen.skinProcedure, info.lpfnWndProc);
  EXPECT_EQ(seen.regionKind, COMPLEXREGION);
  EXPECT_TRUE(seen.cornersCut);
  EXPECT_EQ(seen.corner, p.shadow1);
  EXPECT_EQ(seen.inner, p.iconBack);
  EXPECT_EQ(seen.shadow, p.shadow2);
  EXPECT_EQ(seen.procedureOnHide, reinterpret_cast<LONG_PTR>(info.lpfnWndProc));
  EXPECT_EQ(seen.regionOnHide, 0);  // no shape left
}

}  // namespace
