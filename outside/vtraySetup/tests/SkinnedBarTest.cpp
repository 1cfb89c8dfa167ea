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

class SkinnedBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = barHostProc;
    wc.lpszClassName = "SkinBarHost";
    RegisterClassExA(&wc);
    window = CreateWindowExA(0, "SkinBarHost", "bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             300, 200, nullptr, nullptr, nullptr, nullptr);
    form = new frt::Form();
    form->setBounds(0, 0, 280, 150);
    bar = new frt::MainMenu(form);
    for (const char* caption : {"File", "Edit", "Help"}) bar->add(caption);
    skin = new skin::FlatSkin(form);
    skin->colors().useSystemColors = false;
    skin->colors().menuBarColor = kBarColour;
    ASSERT_TRUE(form->createHandle(window));
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form->handle()));
    ASSERT_TRUE(bar->attach(window));
    skin->setActive(true);
  }
  void TearDown() override { DestroyWindow(window); }

  // Pixels of the window as shown, the bar on top.
  void takePicture() {
    HBITMAP picture = vorntest::windowPicture(window);
    ASSERT_NE(picture, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    row.clear();
    for (int x = 0; x < 280; ++x) row.push_back(GetPixel(dc, x, 10));
    corner = GetPixel(dc, 0, 0);
    inside = GetPixel(dc, 1, 1);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(picture);
  }

  HWND window = nullptr;
  frt::Form* form = nullptr;
  frt::MainMenu* bar = nullptr;
  skin::FlatSkin* skin = nullptr;
  std::vector<COLORREF> row;
  COLORREF corner = 0, inside = 0;
};

TEST_F(SkinnedBarTest, ItemsTakeTheSkinsBarColourOnlyWithItsBarDrawing) {
  COLORREF face = frt::colorToRGB(frt::clBtnFace);
  skin->drawMenuBar = true;
  DrawMenuBar(window);
  takePicture();
  EXPECT_EQ(inside, kBarColour);
  EXPECT_EQ(row[1], kBarColour);
  skin->drawMenuBar = false;
  DrawMenuBar(window);
  takePicture();
  EXPECT_EQ(inside, face);
  EXPECT_EQ(std::count(row.begin(), row.end(), kBarColour), 0);
}

TEST_F(SkinnedBarTest, HotItemShowsTheSelectionBoxWithItsShadowStrip) {
  skin->drawMenuBar = true;
  const skin::SkinPalette& p = skin->context().palette;
  ASSERT_TRUE(vorntest::moveMouseTo(window, 3, -10));  // over "File"
  takePicture();
  EXPECT_EQ(corner, p.selectionBorder);
  EXPECT_EQ(inside, p.selection);
  auto shadow = std::find(row.begin(), row.end(), skin::darken(kBarColour, 70));
  ASSERT_NE(shadow, row.end());
  // The box's right frame, then two columns of shadow, then the next item on the bar colour.
  EXPECT_EQ(*(shadow - 1), p.selectionBorder);
  EXPECT_EQ(*(shadow + 1), *shadow);
  EXPECT_EQ(*(shadow + 2), kBarColour);
  int next = static_cast<int>(shadow - row.begin()) + 10;  // over "Edit"
  ASSERT_TRUE(vorntest::moveMouseTo(window, next, -10));
  takePicture();
  EXPECT_EQ(inside, kBarColour);
}

}  // namespace
