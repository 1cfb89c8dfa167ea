// DrawTextExA's tab length, margins and reading order, and ExtTextOutA's opaque and clipping
// rectangles, reading order and character advances, checked on a memory bitmap.
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

class TextDrawingExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    SelectObject(dc, bitmap);
    font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "arial");
    SelectObject(dc, font);
    clear();
  }
  void TearDown() override {
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  void clear() {
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // The columns holding anything but white: first and last, or -1 when none.
  std::pair<int, int> ink(int top = 0, int bottom = kHeight) {
    int first = -1, last = -1;
    for (int x = 0; x < kWidth; ++x)
      for (int y = top; y < bottom; ++y)
        if (GetPixel(dc, x, y) != kWhite) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    return {first, last};
  }
  static const int kWidth = 200, kHeight = 40;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HFONT font = nullptr;
};

TEST_F(TextDrawingExTest, DrawTextExTakesTabLengthAndMarginsAndKeepsAlignmentWhenRightToLeft) {
  char text[] = "a\tb";
  RECT plain{0, 0, 0, 0}, asA{0, 0, 0, 0}, shortTabs{0, 0, 0, 0}, margins{0, 0, 0, 0};
  UINT format = DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS;
  int line = DrawTextA(dc, text, -1, &asA, format);
  EXPECT_EQ(DrawTextExA(dc, text, -1, &plain, format, nullptr), line);
  EXPECT_EQ(plain.right, asA.right);
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 2, 0, 0, 0};
  EXPECT_EQ(DrawTextExA(dc, text, -1, &shortTabs, format, &params), line);
  EXPECT_LT(shortTabs.right, asA.right);
  EXPECT_EQ(params.uiLengthDrawn, 3u);
  DRAWTEXTPARAMS wide{sizeof(DRAWTEXTPARAMS), 2, 5, 7, 0};
  DrawTextExA(dc, text, 2, &margins, format, &wide);
  RECT twoBytes{0, 0, 0, 0};
  DrawTextExA(dc, text, 2, &twoBytes, format, &params);
  EXPECT_EQ(margins.right, twoBytes.right + 12);
  EXPECT_EQ(wide.uiLengthDrawn, 2u);
  DRAWTEXTPARAMS wrongSize{sizeof(DRAWTEXTPARAMS) + 4, 2, 0, 0, 0};
  EXPECT_EQ(DrawTextExA(dc, text, -1, &plain, format, &wrongSize), 0);

  // Right-to-left reading places the text where its alignment says, on both sides.
  char word[] = "Word";
  RECT box{10, 0, 190, kHeight};
  DrawTextExA(dc, word, -1, &box, DT_SINGLELINE | DT_RIGHT | DT_RTLREADING, nullptr);
  auto right = ink();
  EXPECT_GE(right.second, 180);
  EXPECT_LE(right.second, 189);
  clear();
  DrawTextExA(dc, word, -1, &box, DT_SINGLELINE | DT_LEFT | DT_RTLREADING, &params);
  auto left = ink();
  EXPECT_GE(left.first, 10);
  EXPECT_LE(left.first, 14);
}

TEST_F(TextDrawingExTest, ExtTextOutFillsClipsAndSpacesAsAsked) {
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, RGB(0, 0, 255));
  SetTextColor(dc, RGB(0, 0, 0));
  const char* text = "WWWWWWWW";
  // Opaque: the rectangle takes the background colour even in transparent mode.
  RECT place{20, 5, 40, 30};
  ASSERT_TRUE(ExtTextOutA(dc, 20, 5, ETO_OPAQUE | ETO_CLIPPED, &place, text, 8, nullptr));
  EXPECT_EQ(GetPixel(dc, 39, 29), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 40, 10), kWhite);
  auto clipped = ink();
  EXPECT_EQ(clipped.first, 20);
  EXPECT_EQ(clipped.second, 39);
  // Without clipping the same text runs past the rectangle.
  clear();
  ExtTextOutA(dc, 20, 5, 0, &place, text, 8, nullptr);
  EXPECT_GT(ink().second, 60);
  // Right to left the text still starts at x.
  clear();
  ExtTextOutA(dc, 30, 5, ETO_RTLREADING, nullptr, "Word", 4, nullptr);
  EXPECT_GE(ink().first, 30);
  EXPECT_LE(ink().first, 33);
  // Advances spread the characters: two narrow ones 50 pixels apart.
  clear();
  const INT dx[2] = {50, 50};
  ExtTextOutA(dc, 10, 5, 0, nullptr, "ii", 2, dx);
  auto spread = ink();
  EXPECT_GE(spread.second - spread.first, 48);
  EXPECT_FALSE(ExtTextOutA(nullptr, 0, 0, 0, nullptr, "x", 1, nullptr));
  EXPECT_FALSE(ExtTextOutA(dc, 0, 0, 0, nullptr, nullptr, 3, nullptr));
}

}  // namespace
