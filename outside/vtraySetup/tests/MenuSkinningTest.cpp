// The skin on real menus: pop-up items measured and painted through the layer's owner-drawn
// menu, handlers given and taken back, and flat pop-up windows framed and cut at the corners.
#include <set>

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
  LRESULT drawItem(frt::MenuItem* item, HDC dc) { return drawItem(item, item->command, dc); }
  // The item is only an address here: it may be gone.
  LRESULT drawItem(const void* item, UINT command, HDC dc) {
    DRAWITEMSTRUCT draw{ODT_MENU, 0, command, ODA_DRAWENTIRE, 0, nullptr, dc,
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

TEST_F(MenuSkinningTest, SubMenusAreBuiltHookedPickedAndFreedOverTheWholeTree) {
  frt::MenuItem* recent = menu->add("Recent");
  frt::MenuItem* one = recent->add("one.txt");
  frt::MenuItem* deeper = recent->add("More");
  frt::MenuItem* two = deeper->add("two.txt");
  frt::ImageList subImages(form, 16, 16);
  subImages.add();
  recent->subMenuImages = &subImages;
  EXPECT_EQ(recent->subItemCount(), 2);
  std::set<UINT> commands;
  for (frt::MenuItem* item : {open, recent, one, deeper, two}) commands.insert(item->command);
  EXPECT_EQ(commands.size(), 5u);
  skin->setActive(true);
  for (frt::MenuItem* item : {recent, one, deeper, two}) EXPECT_EQ(item->drawingOwner, skin);
  EXPECT_EQ(one->images, &subImages);  // the sub-menu's list reaches the deeper level too
  EXPECT_EQ(two->images, &subImages);
  EXPECT_EQ(open->images, nullptr);
  HMENU top = menu->handle();
  HMENU sub = GetSubMenu(top, 3);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemCount(sub), 2);
  EXPECT_EQ(GetMenuItemID(sub, 0), one->command);
  EXPECT_TRUE(GetMenuState(sub, one->command, MF_BYCOMMAND) & MF_OWNERDRAW);
  ASSERT_NE(GetSubMenu(sub, 1), nullptr);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(sub, 1), 0), two->command);

  vorntest::answerNextPopupMenu(two->command);
  EXPECT_EQ(menu->popup(form->handle(), 0, 0), two);
  vorntest::clearPopupMenuAnswers();

  skin->setActive(false);
  EXPECT_FALSE(two->onDrawItem);
  EXPECT_FALSE(recent->onMeasureItem);
  // A freed sub-item is no longer taken for an item.
  skin->setActive(true);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(drawItem(two, dc), TRUE);
  UINT twoCommand = two->command;
  delete deeper;
  EXPECT_EQ(drawItem(two, twoCommand, dc), 0);
  EXPECT_EQ(recent->subItemCount(), 1);
  DeleteDC(dc);

  // A bar item with sub-items pulls down a sub-menu; its commands are found from the bar.
  auto* bar = new frt::MainMenu(form);
  frt::MenuItem* file = bar->add("File");
  frt::MenuItem* exit = file->add("Exit");
  skin->setActive(false);
  skin->setActive(true);
  EXPECT_FALSE(exit->onBar);
  EXPECT_EQ(exit->drawingOwner, skin);
  ASSERT_NE(GetSubMenu(bar->handle(), 0), nullptr);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(bar->handle(), 0), 0), exit->command);
  EXPECT_EQ(bar->findItem(exit->command), exit);
  EXPECT_EQ(bar->findItem(0), nullptr);
}

}  // namespace
