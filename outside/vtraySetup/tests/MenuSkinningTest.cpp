// The skin on real menus: pop-up items measured and painted through the layer's owner-drawn
// menu, handlers given and taken back, and flat pop-up windows framed and cut at the corners.
#include "outside/vtraySetup/skin/MenuSkinning.h"
#include "outside/vtraySetup/tests/FormFixture.h"
#include "platform/testing_menus.h"

namespace {

using namespace skin;

class MenuSkinningTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    menu = new frt::PopupMenu(form);
    open = menu->add("Open");
    menu->add("-");
    menu->add("Close")->enabled = false;
  }
  void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  LRESULT drawItem(frt::MenuItem* item, HDC dc) {
    DRAWITEMSTRUCT draw{ODT_MENU, 0, item->command, ODA_DRAWENTIRE, 0, nullptr, dc,
                        RECT{0, 0, 100, 20}, reinterpret_cast<ULONG_PTR>(item)};
    return SendMessageA(form->handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  }
  frt::PopupMenu* menu = nullptr;
  frt::MenuItem* open = nullptr;
};

TEST_F(MenuSkinningTest, PopupItemsShowTheIconStripThroughTheLayer) {
  skin->setActive(true);
  const SkinPalette& p = skin->context().palette;
  HBITMAP shown = vorntest::renderPopupMenu(menu->handle(), form->handle());
  ASSERT_NE(shown, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, shown);
  BITMAP info{};
  GetObjectA(shown, sizeof info, &info);
  // The first strip pixel, then the strip's width of 24 up to the menu colour.
  int x0 = -1, y0 = -1;
  for (int y = 0; y < info.bmHeight && x0 < 0; ++y)
    for (int x = 0; x < info.bmWidth && x0 < 0; ++x)
      if (GetPixel(dc, x, y) == p.iconBack) x0 = x, y0 = y;
  ASSERT_GE(x0, 0);
  EXPECT_EQ(GetPixel(dc, x0 + 23, y0 + 2), p.iconBack);
  EXPECT_EQ(GetPixel(dc, x0 + 24, y0 + 2), p.menu);
  DeleteDC(dc);
  DeleteObject(shown);
}

TEST_F(MenuSkinningTest, OwnHandlersStayAndDeactivatingTakesBackOnlyTheSkins) {
  bool ownDrawn = false;
  open->onDrawItem = [&](frt::MenuItem&, frt::Canvas&, const RECT&, bool) { ownDrawn = true; };
  auto* exemptMenu = new frt::PopupMenu(form);
  exemptMenu->tag = 999;
  frt::MenuItem* untouched = exemptMenu->add("Spare");
  skin->setActive(true);
  std::vector<frt::MenuItem*> items = menu->items();
  EXPECT_EQ(open->drawingOwner, nullptr);
  EXPECT_EQ(items[2]->drawingOwner, skin);
  EXPECT_FALSE(untouched->onDrawItem);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(drawItem(open, dc), TRUE);
  EXPECT_TRUE(ownDrawn);
  skin->setActive(false);
  EXPECT_TRUE(open->onDrawItem);
  EXPECT_FALSE(items[2]->onDrawItem);
  skin->overrideOwnerDraw = true;
  skin->setActive(true);
  EXPECT_EQ(open->drawingOwner, skin);
  // A value that is no live item is not taken for one.
  DRAWITEMSTRUCT forged{ODT_MENU, 0, 1, ODA_DRAWENTIRE, 0, nullptr, dc, RECT{0, 0, 9, 9}, 12345};
  EXPECT_EQ(SendMessageA(form->handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&forged)), 0);
  DeleteDC(dc);
}

TEST_F(MenuSkinningTest, FlatMenuNoticeFramesTheMenuWindowAndCutsItsCorners) {
  skin->flatMenu = true;
  skin->setActive(true);
  HWND stand = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 150, 20, 100, 60, parent,
                               nullptr, nullptr, nullptr);
  // Drawn on a memory context: no window, one item notice, not repeated while pending.
  HDC memory = CreateCompatibleDC(nullptr);
  drawItem(open, memory);
  EXPECT_TRUE(skin->flatMenuPending);
  pump();
  EXPECT_FALSE(skin->flatMenuPending);
  DeleteDC(memory);
  // Drawn on the window: the window notice makes it flat.
  HDC onWindow = GetDC(stand);
  drawItem(open, onWindow);
  ReleaseDC(stand, onWindow);
  pump();
  EXPECT_FALSE(skin->flatMenuPending);
  HRGN shape = CreateRectRgn(0, 0, 1, 1);
  ASSERT_EQ(GetWindowRgn(stand, shape), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(shape, 99, 0));
  EXPECT_FALSE(PtInRegion(shape, 0, 59));
  EXPECT_TRUE(PtInRegion(shape, 99, 59));
  DeleteObject(shape);
  const SkinPalette& p = skin->context().palette;
  HDC dc = GetDC(stand);
  EXPECT_EQ(GetPixel(dc, 0, 0), p.shadow1);
  EXPECT_EQ(GetPixel(dc, 1, 1), p.iconBack);
  EXPECT_EQ(GetPixel(dc, 99, 30), p.shadow2);
  ReleaseDC(stand, dc);
  EXPECT_EQ(SendMessageA(stand, WM_ERASEBKGND, 0, 0), 1);
  DestroyWindow(stand);
}

}  // namespace
