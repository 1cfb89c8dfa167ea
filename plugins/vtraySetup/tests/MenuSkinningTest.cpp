// The skin on real menus: pop-up items measured and painted through the layer's owner-drawn
// menu, handlers given and taken back over sub-menus, flat pop-up windows framed and cut at
// the corners, and bar items in the bar colour with a selection box.
#include <algorithm>
#include <set>

#include "plugins/vtraySetup/skin/MenuSkinning.h"
#include "plugins/vtraySetup/skin/SkinColors.h"
#include "plugins/vtraySetup/tests/FormFixture.h"
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
  std::set<UINT> commands;
  for (frt::MenuItem* item : {open, recent, one, deeper, two}) commands.insert(item->command);
  EXPECT_EQ(commands.size(), 5u);
  skin->setActive(true);
  EXPECT_EQ(two->drawingOwner, skin);
  EXPECT_EQ(two->images, &subImages);  // the sub-menu's list reaches the deeper level too
  HMENU sub = GetSubMenu(menu->handle(), 3);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemID(sub, 0), one->command);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(sub, 1), 0), two->command);
  vorntest::answerNextPopupMenu(two->command);
  EXPECT_EQ(menu->popup(form->handle(), 0, 0), two);
  vorntest::clearPopupMenuAnswers();
  skin->setActive(false);
  EXPECT_FALSE(two->onDrawItem);

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
  frt::MenuItem* exit = bar->add("File")->add("Exit");
  skin->setActive(false);
  skin->setActive(true);
  EXPECT_TRUE(!exit->onBar && exit->drawingOwner == skin);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(bar->handle(), 0), 0), exit->command);
  EXPECT_EQ(bar->findItem(exit->command), exit);
}

// The skin's flat frame on the layer's real pop-up window: while open, the window runs the
// skin's procedure with a cut shape; as it hides, both are given back.
struct OpenMenu {
  HWND menu = nullptr;
  int regionKind = 0, regionOnHide = -1;
  WNDPROC skinProcedure = nullptr;
  LONG_PTR procedureOnHide = 0;
} openMenu;

int regionKindOf(HWND window) {
  HRGN shape = CreateRectRgn(0, 0, 1, 1);
  int kind = GetWindowRgn(window, shape);
  DeleteObject(shape);
  return kind;
}

LRESULT CALLBACK watchingProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(openMenu.skinProcedure, hwnd, msg, wParam, lParam);
  if (msg == WM_SHOWWINDOW && wParam == FALSE && openMenu.regionOnHide < 0) {
    openMenu.procedureOnHide = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    openMenu.regionOnHide = regionKindOf(hwnd);
  }
  return result;
}

// Runs inside the menu's loop, after the notice of the first drawn item was handled.
void CALLBACK lookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND menu = openMenu.menu = FindWindowA("#32768", nullptr);
  if (!menu) return;
  openMenu.regionKind = regionKindOf(menu);
  openMenu.skinProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(menu, GWLP_WNDPROC));
  SetWindowLongPtrA(menu, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchingProcedure));
  vorntest::pressKey(menu, VK_ESCAPE);
}

TEST_F(MenuSkinningTest, TheRealPopupIsCutWhileOpenAndGivenBackWhenItCloses) {
  skin->flatMenu = true;
  skin->setActive(true);
  SetTimer(nullptr, 0, 60, lookAndClose);
  EXPECT_EQ(menu->popup(form->handle(), 120, 100), nullptr);
  WNDCLASSEXA info{};
  ASSERT_TRUE(GetClassInfoExA(nullptr, "#32768", &info));
  ASSERT_NE(openMenu.menu, nullptr);
  EXPECT_NE(openMenu.skinProcedure, info.lpfnWndProc);
  EXPECT_EQ(openMenu.regionKind, COMPLEXREGION);
  EXPECT_EQ(openMenu.procedureOnHide, reinterpret_cast<LONG_PTR>(info.lpfnWndProc));
  EXPECT_EQ(openMenu.regionOnHide, 0);  // no shape left
}

// The bar belongs to the top-level window, whose own procedure hands the items' measuring and
// drawing to the form.
WNDPROC barHostProcedure = nullptr;
HWND barForm = nullptr;

LRESULT CALLBACK barHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MEASUREITEM || msg == WM_DRAWITEM)
    return SendMessageA(barForm, msg, wParam, lParam);
  return CallWindowProcA(barHostProcedure, hwnd, msg, wParam, lParam);
}

// A row of the bar as the window shows it.
std::vector<COLORREF> barRow(HWND window, int y) {
  HBITMAP picture = vorntest::windowPicture(window);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, picture);
  std::vector<COLORREF> row;
  for (int x = 0; x < 280; ++x) row.push_back(GetPixel(dc, x, y));
  DeleteObject(SelectObject(dc, old));
  DeleteDC(dc);
  return row;
}

TEST_F(MenuSkinningTest, BarItemsShowTheBarColourAndTheHotOneItsSelectionBox) {
  const COLORREF barColour = RGB(200, 220, 255);
  barForm = form->handle();
  barHostProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(barHostProc)));
  auto* bar = new frt::MainMenu(form);
  for (const char* caption : {"File", "Edit", "Help"}) bar->add(caption);
  skin->colors().useSystemColors = false;
  skin->colors().menuBarColor = barColour;
  skin->drawMenuBar = true;
  ASSERT_TRUE(bar->attach(parent));
  skin->setActive(true);
  ShowWindow(parent, SW_SHOW);
  DrawMenuBar(parent);
  EXPECT_EQ(barRow(parent, 1)[1], barColour);
  EXPECT_EQ(barRow(parent, 1)[270], barColour);  // the last item carries it across the bar

  // Hover and the hot item moving on are driven on a real desktop; here the box's colours.
  const SkinPalette& p = skin->context().palette;
  ASSERT_TRUE(vorntest::moveMouseTo(parent, 3, -10));  // over "File"
  EXPECT_EQ(barRow(parent, 0)[0], p.selectionBorder);
  EXPECT_EQ(barRow(parent, 1)[1], p.selection);
  std::vector<COLORREF> row = barRow(parent, 10);  // across the box's shadow
  EXPECT_NE(std::find(row.begin(), row.end(), darken(barColour, 70)), row.end());
}

}  // namespace
