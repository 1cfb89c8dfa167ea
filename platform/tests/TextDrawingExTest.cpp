// DrawTextExA's tab length, margins and reading order, and ExtTextOutA's opaque and clipping
// rectangles, reading order and character advances, checked on a memory bitmap.
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

bool between(int value, int low, int high) { return value >= low && value <= high; }

class TextDrawingExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectObject(dc, bitmap);
    SelectObject(dc, CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                 "arial"));
    clear();
  }
  void TearDown() override {
    DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT)));
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  void clear() {
    RECT all{0, 0, 200, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // The first and last columns holding anything but white (-1 when none).
  std::pair<int, int> ink() {
    int first = -1, last = -1;
    for (int x = 0; x < 200; ++x)
      for (int y = 0; y < 40; ++y)
        if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    return {first, last};
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 200, 40);
};

TEST_F(TextDrawingExTest, DrawTextExTakesTabLengthAndMarginsAndKeepsAlignmentWhenRightToLeft) {
  char text[] = "a\tb";
  RECT asA{0, 0, 0, 0}, shortTabs{0, 0, 0, 0}, margins{0, 0, 0, 0}, twoBytes{0, 0, 0, 0};
  UINT format = DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS;
  int line = DrawTextA(dc, text, -1, &asA, format);
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 2, 0, 0, 0};
  EXPECT_EQ(DrawTextExA(dc, text, -1, &shortTabs, format, &params), line);
  EXPECT_LT(shortTabs.right, asA.right);
  EXPECT_EQ(params.uiLengthDrawn, 3u);
  DRAWTEXTPARAMS wide{sizeof(DRAWTEXTPARAMS), 2, 5, 7, 0};
  DrawTextExA(dc, text, 2, &margins, format, &wide);
  DrawTextExA(dc, text, 2, &twoBytes, format, &params);
  EXPECT_EQ(margins.right, twoBytes.right + 12);
  wide.cbSize += 4;
  EXPECT_EQ(DrawTextExA(dc, text, -1, &margins, format, &wide), 0);

  // Right-to-left reading places the text where its alignment says, on both sides.
  char word[] = "Word";
  RECT box{10, 0, 190, 40};
  DrawTextExA(dc, word, -1, &box, DT_SINGLELINE | DT_RIGHT | DT_RTLREADING, nullptr);
  EXPECT_TRUE(between(ink().second, 180, 189));
  clear();
  DrawTextExA(dc, word, -1, &box, DT_SINGLELINE | DT_LEFT | DT_RTLREADING, &params);
  EXPECT_TRUE(between(ink().first, 10, 14));
}

TEST_F(TextDrawingExTest, ExtTextOutFillsClipsAndSpacesAsAsked) {
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, RGB(0, 0, 255));
  // Opaque: the rectangle takes the background colour even in transparent mode.
  RECT place{20, 5, 40, 30};
  ASSERT_TRUE(ExtTextOutA(dc, 20, 5, ETO_OPAQUE | ETO_CLIPPED, &place, "WWWWWWWW", 8, nullptr));
  EXPECT_TRUE(GetPixel(dc, 39, 29) == RGB(0, 0, 255) && ink() == std::make_pair(20, 39));
  clear();
  ExtTextOutA(dc, 20, 5, 0, &place, "WWWWWWWW", 8, nullptr);
  EXPECT_GT(ink().second, 60);  // unclipped, it runs past the rectangle
  // Right to left the text still starts at x.
  clear();
  ExtTextOutA(dc, 30, 5, ETO_RTLREADING, nullptr, "Word", 4, nullptr);
  EXPECT_TRUE(between(ink().first, 30, 33));
  // Advances spread the characters: two narrow ones 50 pixels apart.
  clear();
  const INT dx[2] = {50, 50};
  ExtTextOutA(dc, 10, 5, 0, nullptr, "ii", 2, dx);
  EXPECT_GE(ink().second - ink().first, 48);
  EXPECT_FALSE(ExtTextOutA(dc, 0, 0, 0, nullptr, nullptr, 3, nullptr));
}

}  // namespace
