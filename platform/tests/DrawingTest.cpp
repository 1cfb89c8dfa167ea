// Drawing on device contexts: Win32's pixel rules for shapes and lines, object selection,
// text metrics and measuring, and 8-bit text shown the way the layer shows all text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

const COLORREF white = RGB(255, 255, 255);
const COLORREF black = RGB(0, 0, 0);
const COLORREF red = RGB(255, 0, 0);

// A memory context over a white bitmap: pixels read back exactly.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    dc = CreateCompatibleDC(screen);
    ASSERT_NE(dc, nullptr);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    ASSERT_NE(bitmap, nullptr);
    oldBitmap = SelectObject(dc, bitmap);
    clear();
  }
  void TearDown() override {
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }
  void clear() {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // The pixels of a row as '#' (black), 'r' (red), '.' (white) and '?' (anything else).
  std::string row(int y, int from, int to) {
    std::string text;
    for (int x = from; x < to; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      text += c == black ? '#' : c == red ? 'r' : c == white ? '.' : '?';
    }
    return text;
  }
  int changedPixels() {
    int changed = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) changed += GetPixel(dc, x, y) != white;
    return changed;
  }

  static const int width = 60;
  static const int height = 40;
  HDC screen = nullptr;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
};

TEST_F(DrawingTest, RectangleOutlinesWithPenFillsWithBrushAndExcludesRightAndBottom) {
  HBRUSH brush = CreateSolidBrush(red);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  ASSERT_TRUE(Rectangle(dc, 2, 1, 8, 5));
  EXPECT_EQ(row(0, 0, 10), "..........");
  EXPECT_EQ(row(1, 0, 10), "..######..");
  EXPECT_EQ(row(2, 0, 10), "..#rrrr#..");
  EXPECT_EQ(row(4, 0, 10), "..######..");
  EXPECT_EQ(row(5, 0, 10), "..........");

  // Without a pen the filled area loses its last column and row.
  clear();
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  ASSERT_TRUE(Rectangle(dc, 2, 1, 8, 5));
  EXPECT_EQ(row(1, 0, 10), "..rrrrr...");
  EXPECT_EQ(row(3, 0, 10), "..rrrrr...");
  EXPECT_EQ(row(4, 0, 10), "..........");

  // A hollow brush leaves the inside alone.
  clear();
  SelectObject(dc, oldPen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  ASSERT_TRUE(Rectangle(dc, 0, 0, 4, 3));
  EXPECT_EQ(row(0, 0, 5), "####.");
  EXPECT_EQ(row(1, 0, 5), "#..#.");
  EXPECT_EQ(row(2, 0, 5), "####.");
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
}

TEST_F(DrawingTest, LinesLeaveOutTheirEndPoint) {
  POINT previous{-1, -1};
  ASSERT_TRUE(MoveToEx(dc, 1, 0, &previous));
  EXPECT_EQ(previous.x, 0);
  EXPECT_EQ(previous.y, 0);
  ASSERT_TRUE(LineTo(dc, 6, 0));
  EXPECT_EQ(row(0, 0, 8), ".#####..");
  // Drawing goes on from the end point, which the next segment covers.
  ASSERT_TRUE(LineTo(dc, 6, 3));
  EXPECT_EQ(row(0, 0, 8), ".######.");
  EXPECT_EQ(row(2, 0, 8), "......#.");
  EXPECT_EQ(row(3, 0, 8), "........");
  // Right to left and diagonal lines obey the same rule.
  clear();
  MoveToEx(dc, 5, 2, nullptr);
  LineTo(dc, 1, 2);
  EXPECT_EQ(row(2, 0, 7), "..####.");
  MoveToEx(dc, 0, 4, nullptr);
  LineTo(dc, 3, 7);
  EXPECT_EQ(row(4, 0, 4), "#...");
  EXPECT_EQ(row(6, 0, 4), "..#.");
  EXPECT_EQ(row(7, 0, 4), "....");
  // A coloured pen draws in its colour; a null pen draws nothing but still moves.
  clear();
  HPEN pen = CreatePen(PS_SOLID, 1, red);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 3, 1);
  EXPECT_EQ(row(1, 0, 4), "rrr.");
  SelectObject(dc, GetStockObject(NULL_PEN));
  LineTo(dc, 3, 9);
  EXPECT_EQ(changedPixels(), 3);
  MoveToEx(dc, 0, 0, &previous);
  EXPECT_EQ(previous.y, 9);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

TEST_F(DrawingTest, FillRectAndFrameRectCoverExactlyTheirRectangle) {
  HBRUSH brush = CreateSolidBrush(red);
  RECT r{1, 1, 4, 3};
  EXPECT_EQ(FillRect(dc, &r, brush), 1);
  EXPECT_EQ(changedPixels(), 6);
  EXPECT_EQ(row(1, 0, 5), ".rrr.");
  EXPECT_EQ(row(3, 0, 5), ".....");
  clear();
  RECT frame{0, 0, 5, 4};
  EXPECT_EQ(FrameRect(dc, &frame, brush), 1);
  EXPECT_EQ(row(0, 0, 6), "rrrrr.");
  EXPECT_EQ(row(1, 0, 6), "r...r.");
  EXPECT_EQ(row(3, 0, 6), "rrrrr.");
  EXPECT_EQ(row(4, 0, 6), "......");
  // Empty and inverted rectangles draw nothing.
  clear();
  RECT empty{5, 5, 5, 9};
  RECT inverted{9, 9, 3, 3};
  FillRect(dc, &empty, brush);
  FillRect(dc, &inverted, brush);
  EXPECT_EQ(changedPixels(), 0);
  DeleteObject(brush);
}

TEST_F(DrawingTest, PixelsBlitsAndDeviceFacts) {
  EXPECT_EQ(SetPixel(dc, 3, 4, RGB(10, 20, 30)), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(dc, 3, 4), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(dc, width, 0), CLR_INVALID);

  // Copy onto the same bitmap, overlapping the source.
  SetPixel(dc, 0, 0, red);
  ASSERT_TRUE(BitBlt(dc, 1, 0, 5, 5, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(row(0, 0, 4), "rr..");
  EXPECT_EQ(GetPixel(dc, 4, 4), RGB(10, 20, 30));

  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_GT(GetDeviceCaps(screen, HORZRES), 0);
}

TEST_F(DrawingTest, SelectionReturnsThePreviousObjectOfItsKind) {
  HDC fresh = GetDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 2, red);
  HBRUSH brush = CreateSolidBrush(red);
  // A context starts with the system font, the black pen and the white brush.
  EXPECT_EQ(SelectObject(fresh, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(fresh, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(fresh, GetStockObject(DEFAULT_GUI_FONT)), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(fresh, GetStockObject(BLACK_PEN)), pen);
  // A bitmap goes only into a memory context; unknown objects go nowhere.
  EXPECT_EQ(SelectObject(fresh, bitmap), nullptr);
  EXPECT_EQ(SelectObject(fresh, reinterpret_cast<HGDIOBJ>(uintptr_t{0x7ffffff0})), nullptr);
  EXPECT_EQ(SetTextColor(fresh, red), black);
  EXPECT_EQ(SetBkMode(fresh, 7), 0);

  // A released context is gone: every call on it fails harmlessly.
  EXPECT_EQ(ReleaseDC(nullptr, fresh), 1);
  EXPECT_EQ(ReleaseDC(nullptr, fresh), 0);
  EXPECT_EQ(SelectObject(fresh, pen), nullptr);
  EXPECT_FALSE(Rectangle(fresh, 0, 0, 5, 5));
  TEXTMETRICA tm;
  EXPECT_FALSE(GetTextMetricsA(fresh, &tm));
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST_F(DrawingTest, TextMetricsComeFromTheSelectedFont) {
  TEXTMETRICA system;
  ASSERT_TRUE(GetTextMetricsA(dc, &system));
  EXPECT_GT(system.tmHeight, 8);
  EXPECT_LT(system.tmHeight, 40);
  EXPECT_EQ(system.tmHeight, system.tmAscent + system.tmDescent);
  EXPECT_GT(system.tmAveCharWidth, 0);
  EXPECT_GE(system.tmMaxCharWidth, system.tmAveCharWidth);

  HFONT big = CreateFontA(-32, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Sans");
  HGDIOBJ old = SelectObject(dc, big);
  TEXTMETRICA large;
  ASSERT_TRUE(GetTextMetricsA(dc, &large));
  EXPECT_GT(large.tmHeight, system.tmHeight);
  EXPECT_GE(large.tmHeight, 32);
  EXPECT_GE(large.tmWeight, 600);
  // Another context still measures with the system font.
  HDC other = GetDC(nullptr);
  TEXTMETRICA fresh;
  ASSERT_TRUE(GetTextMetricsA(other, &fresh));
  EXPECT_EQ(fresh.tmHeight, system.tmHeight);
  ReleaseDC(nullptr, other);
  SelectObject(dc, old);
  DeleteObject(big);
}

TEST_F(DrawingTest, TextOutDrawsWithTheBackgroundMode) {
  SIZE size{0, 0};
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "Hi", 2, &size));
  EXPECT_GT(size.cx, 0);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  EXPECT_EQ(size.cy, tm.tmHeight);

  // Opaque: the whole text cell takes the background colour.
  SetBkColor(dc, red);
  ASSERT_TRUE(TextOutA(dc, 2, 2, "Hi", 2));
  EXPECT_EQ(GetPixel(dc, 2, 2), red);
  EXPECT_EQ(GetPixel(dc, 2 + size.cx - 1, 2 + size.cy - 1), red);
  EXPECT_EQ(GetPixel(dc, 2 + size.cx, 2), white);
  EXPECT_EQ(GetPixel(dc, 1, 2), white);

  // Transparent: only the glyphs change pixels, in the text colour.
  clear();
  SetBkMode(dc, TRANSPARENT);
  ASSERT_TRUE(TextOutA(dc, 2, 2, "Hi", 2));
  int changed = changedPixels();
  EXPECT_GT(changed, 5);
  EXPECT_LT(changed, size.cx * size.cy);
  clear();
  ASSERT_TRUE(TextOutA(dc, 2, 2, "Hi there", 2));  // the length counts, not the terminator
  EXPECT_EQ(changedPixels(), changed);
}

TEST_F(DrawingTest, EightBitTextShowsUtf8OrWindows1252) {
  SetBkMode(dc, TRANSPARENT);
  auto pixelsOf = [&](const char* text) {
    clear();
    TextOutA(dc, 0, 0, text, static_cast<int>(std::strlen(text)));
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
  };
  EXPECT_EQ(pixelsOf("caf\xC3\xA9"), pixelsOf("caf\xE9"));          // é
  EXPECT_EQ(pixelsOf("\xE2\x82\xAC" "5"), pixelsOf("\x80" "5"));    // €
  EXPECT_NE(pixelsOf("\xC3\xA9"), pixelsOf("\xC3\xA8"));
}

TEST_F(DrawingTest, DrawTextMeasuresAndPlacesText) {
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SIZE extent;
  GetTextExtentPoint32A(dc, "File", 4, &extent);

  RECT r{5, 7, 5, 7};
  int measured = DrawTextA(dc, "&File", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured, tm.tmHeight);
  EXPECT_EQ(r.top, 7);
  EXPECT_EQ(r.right - r.left, extent.cx);  // the prefix marker takes no room
  EXPECT_EQ(r.bottom - r.top, tm.tmHeight);
  RECT literal{0, 0, 0, 0};
  DrawTextA(dc, "&File", -1, &literal, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_GT(literal.right, extent.cx);

  RECT lines{0, 0, 0, 0};
  EXPECT_EQ(DrawTextA(dc, "one\r\ntwo\nthree", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
  RECT narrow{0, 0, 3 * tm.tmAveCharWidth + 1, 0};
  int wrapped = DrawTextA(dc, "aaa bbb ccc", -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GE(wrapped, 2 * tm.tmHeight);
  EXPECT_EQ(DrawTextA(dc, "aaa bbb ccc", 3, &narrow, DT_CALCRECT | DT_WORDBREAK), tm.tmHeight);
  EXPECT_EQ(changedPixels(), 0);  // measuring draws nothing

  // Drawing stays inside its rectangle, centred and right-aligned text included.
  SetBkMode(dc, TRANSPARENT);
  for (UINT align : {UINT(DT_LEFT), UINT(DT_CENTER), UINT(DT_RIGHT)}) {
    clear();
    RECT box{10, 5, 50, 5 + tm.tmHeight};
    DrawTextA(dc, "Wide text that does not fit", -1, &box, DT_SINGLELINE | align);
    int outside = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if ((x < 10 || x >= 50 || y < 5 || y >= 5 + tm.tmHeight) && GetPixel(dc, x, y) != white)
          ++outside;
    EXPECT_EQ(outside, 0) << align;
    EXPECT_GT(changedPixels(), 0) << align;
  }
  // A vertically centred line sits lower than a top-aligned one.
  clear();
  RECT tall{0, 0, width, height};
  EXPECT_GT(DrawTextA(dc, "x", -1, &tall, DT_SINGLELINE | DT_VCENTER), tm.tmHeight);
}

}  // namespace
