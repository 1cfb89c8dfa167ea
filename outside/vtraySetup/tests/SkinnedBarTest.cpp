// The skin's bar items on a top-level window's bar, read from a picture of the window: the
// skin's bar colour (or the button face) under each item, the selection box and its shadow.
#include <gtest/gtest.h>

#include <algorithm>

#include "outside/vtraySetup/rt/Form.h"
#include "outside/vtraySetup/skin/FlatSkin.h"
#include "outside/vtraySetup/skin/SkinColors.h"
#include "platform/testing.h"

namespace {

const COLORREF kBarColour = RGB(200, 220, 255);

// The bar belongs to the top-level window; the form's menus measure and draw its items.
LRESULT CALLBACK barHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND form = reinterpret_cast<HWND>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM) && form)
    return SendMessageA(form, msg, wParam, lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A row of the bar as the window shows it.
std::vector<COLORREF> barRow(HWND window, int y) {
  HBITMAP picture = vorntest::windowPicture(window);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, picture);
  std::vector<COLORREF> row;
  for (int x = 0; x < 280; ++x) row.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(picture);
  return row;
}

TEST(SkinnedBarTest, ItemsShowTheBarColourAndTheHotOneItsSelectionBox) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = barHostProc;
  wc.lpszClassName = "SkinBarHost";
  RegisterClassExA(&wc);
  HWND window = CreateWindowExA(0, "SkinBarHost", "bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                300, 200, nullptr, nullptr, nullptr, nullptr);
  auto* form = new frt::Form();
  form->setBounds(0, 0, 280, 150);
  auto* bar = new frt::MainMenu(form);
  for (const char* caption : {"File", "Edit", "Help"}) bar->add(caption);
  auto* skin = new skin::FlatSkin(form);
  skin->colors().useSystemColors = false;
  skin->colors().menuBarColor = kBarColour;
  ASSERT_TRUE(form->createHandle(window));
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form->handle()));
  ASSERT_TRUE(bar->attach(window));
  skin->setActive(true);

  EXPECT_EQ(barRow(window, 1)[1], frt::colorToRGB(frt::clBtnFace));  // without its bar drawing
  skin->drawMenuBar = true;
  DrawMenuBar(window);
  EXPECT_EQ(barRow(window, 1)[1], kBarColour);
  EXPECT_EQ(barRow(window, 1)[270], kBarColour);  // the last item carries it across the bar

  const skin::SkinPalette& p = skin->context().palette;
  ASSERT_TRUE(vorntest::moveMouseTo(window, 3, -10));  // over "File"
  EXPECT_EQ(barRow(window, 0)[0], p.selectionBorder);
  EXPECT_EQ(barRow(window, 1)[1], p.selection);
  std::vector<COLORREF> row = barRow(window, 10);
  auto shadow = std::find(row.begin(), row.end(), skin::darken(kBarColour, 70));
  ASSERT_NE(shadow, row.end());
  // The box's right frame, two columns of shadow, then the next item on the bar colour.
  EXPECT_EQ(*(shadow - 1), p.selectionBorder);
  EXPECT_EQ(*(shadow + 1), *shadow);
  EXPECT_EQ(*(shadow + 2), kBarColour);
  ASSERT_TRUE(vorntest::moveMouseTo(window, static_cast<int>(shadow - row.begin()) + 10, -10));
  EXPECT_EQ(barRow(window, 1)[1], kBarColour);  // "Edit" took the hot state from "File"
  DestroyWindow(window);  // the form goes with it
}

}  // namespace
