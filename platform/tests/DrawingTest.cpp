// Drawing on device contexts: Win32's pixel rules for shapes and lines, object selection,
// text metrics and measuring, and 8-bit text shown the way the layer shows all text.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <string>
#include <vector>

#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace {

const COLORREF white = RGB(255, 255, 255);
const COLORREF black = RGB(0, 0, 0);
const COLORREF red = RGB(255, 0, 0);
using Rows = std::vector<std::string>;

// A memory context over a white bitmap: pixels read back exactly.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bitmap = CreateCompatibleBitmap(screen, width, height);
    ASSERT_TRUE(screen && dc && bitmap);
    oldBitmap = SelectObject(dc, bitmap);
    clear();
  }
  void TearDown() override {
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DeleteObject(redBrush);
    DeleteObject(redPen);
  }
  void clear() {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // Rows from y, each its first w pixels as '#' (black), 'r' (red), '.' (white) or '?'.
  Rows rows(int y, int count, int w) {
    Rows out;
    for (int row = y; row < y + count; ++row) {
      std::string text;
      for (int x = 0; x < w; ++x) {
        COLORREF c = GetPixel(dc, x, row);
        text += c == black ? '#' : c == red ? 'r' : c == white ? '.' : '?';
      }
      out.push_back(text);
    }
    return out;
  }
  int changedPixels(RECT area = {0, 0, width, height}) {
    int changed = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
      for (LONG x = area.left; x < area.right; ++x) changed += GetPixel(dc, x, y) != white;
    return changed;
  }

  static const int width = 60;
  static const int height = 40;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  HBRUSH redBrush = CreateSolidBrush(red);
  HPEN redPen = CreatePen(PS_SOLID, 1, red);
};

TEST_F(DrawingTest, RectangleOutlinesWithPenFillsWithBrushAndExcludesRightAndBottom) {
  SelectObject(dc, redBrush);
  ASSERT_TRUE(Rectangle(dc, 2, 1, 8, 5));
  EXPECT_EQ(rows(0, 6, 10), (Rows{"..........", "..######..", "..#rrrr#..", "..#rrrr#..",
                                  "..######..", ".........."}));
  // Without a pen the filled area loses its last column and row.
  clear();
  SelectObject(dc, GetStockObject(NULL_PEN));
  ASSERT_TRUE(Rectangle(dc, 2, 1, 8, 5));
  EXPECT_EQ(rows(1, 4, 10), (Rows{"..rrrrr...", "..rrrrr...", "..rrrrr...", ".........."}));
  // A hollow brush leaves the inside alone.
  clear();
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  ASSERT_TRUE(Rectangle(dc, 0, 0, 4, 3));
  EXPECT_EQ(rows(0, 3, 5), (Rows{"####.", "#..#.", "####."}));
}

TEST_F(DrawingTest, LinesLeaveOutTheirEndPointAndANullPenStillMoves) {
  SelectObject(dc, redPen);
  POINT previous{-1, -1};
  ASSERT_TRUE(MoveToEx(dc, 1, 0, &previous));
  EXPECT_TRUE(previous.x == 0 && previous.y == 0);
  ASSERT_TRUE(LineTo(dc, 6, 0));
  ASSERT_TRUE(LineTo(dc, 6, 3));  // goes on from the end point, which this segment covers
  EXPECT_EQ(rows(0, 4, 8), (Rows{".rrrrrr.", "......r.", "......r.", "........"}));
  // Right to left and diagonal lines obey the same rule.
  clear();
  MoveToEx(dc, 5, 2, nullptr);
  LineTo(dc, 1, 2);
  MoveToEx(dc, 0, 4, nullptr);
  LineTo(dc, 3, 7);
  EXPECT_EQ(rows(2, 6, 7),
            (Rows{"..rrrr.", ".......", "r......", ".r.....", "..r....", "......."}));
  SelectObject(dc, GetStockObject(NULL_PEN));
  LineTo(dc, 3, 9);
  EXPECT_EQ(changedPixels(), 7);
  MoveToEx(dc, 0, 0, &previous);
  EXPECT_EQ(previous.y, 9);
}

TEST_F(DrawingTest, FillFrameAndBlitCoverExactlyTheirRectangles) {
  RECT fill{1, 1, 4, 3}, frame{0, 0, 5, 4}, empty{5, 5, 5, 9}, inverted{9, 9, 3, 3};
  EXPECT_EQ(FillRect(dc, &fill, redBrush), 1);
  EXPECT_EQ(rows(0, 4, 5), (Rows{".....", ".rrr.", ".rrr.", "....."}));
  clear();
  EXPECT_EQ(FrameRect(dc, &frame, redBrush), 1);
  EXPECT_EQ(rows(0, 5, 6), (Rows{"rrrrr.", "r...r.", "r...r.", "rrrrr.", "......"}));
  clear();
  FillRect(dc, &empty, redBrush);
  FillRect(dc, &inverted, redBrush);
  EXPECT_EQ(changedPixels(), 0);

  // Copying onto the same bitmap may overlap the source.
  SetPixel(dc, 3, 4, RGB(10, 20, 30));
  SetPixel(dc, 0, 0, red);
  ASSERT_TRUE(BitBlt(dc, 1, 0, 5, 5, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(rows(0, 1, 4), Rows{"rr.."});
  EXPECT_EQ(GetPixel(dc, 4, 4), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(dc, width, 0), CLR_INVALID);
}

TEST_F(DrawingTest, SelectionReturnsThePreviousObjectAndReleasedContextsRefuse) {
  HDC fresh = GetDC(nullptr);
  // A context starts with the system font, the black pen and the white brush.
  EXPECT_EQ(SelectObject(fresh, redPen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(fresh, redBrush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(fresh, GetStockObject(DEFAULT_GUI_FONT)), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(fresh, GetStockObject(BLACK_PEN)), redPen);
  // A bitmap goes only into a memory context; unknown objects go nowhere.
  EXPECT_EQ(SelectObject(fresh, bitmap), nullptr);
  EXPECT_EQ(SelectObject(fresh, reinterpret_cast<HGDIOBJ>(uintptr_t{0x7ffffff0})), nullptr);
  EXPECT_EQ(SetTextColor(fresh, red), black);

  EXPECT_EQ(ReleaseDC(nullptr, fresh), 1);
  EXPECT_EQ(ReleaseDC(nullptr, fresh), 0);
  EXPECT_EQ(SelectObject(fresh, redPen), nullptr);
  TEXTMETRICA tm;
  EXPECT_FALSE(Rectangle(fresh, 0, 0, 5, 5) || GetTextMetricsA(fresh, &tm));
}

TEST_F(DrawingTest, TextMetricsAreSaneAndFollowTheSelectedFont) {
  TEXTMETRICA system, large;
  ASSERT_TRUE(GetTextMetricsA(dc, &system));
  EXPECT_TRUE(system.tmHeight > 8 && system.tmHeight < 40) << system.tmHeight;
  EXPECT_EQ(system.tmHeight, system.tmAscent + system.tmDescent);
  EXPECT_TRUE(system.tmAveCharWidth > 0 && system.tmMaxCharWidth >= system.tmAveCharWidth);
  HFONT big = CreateFontA(-32, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Sans");
  HGDIOBJ old = SelectObject(dc, big);
  ASSERT_TRUE(GetTextMetricsA(dc, &large));
  EXPECT_TRUE(large.tmHeight >= 32 && large.tmWeight >= 600);
  SelectObject(dc, old);
  DeleteObject(big);
}

TEST_F(DrawingTest, TextOutDrawsWithTheBackgroundModeTheGivenLengthAndEightBitText) {
  SIZE size{0, 0};
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "Hi", 2, &size));
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  EXPECT_EQ(size.cy, tm.tmHeight);
  // Opaque: the whole text cell takes the background colour.
  SetBkColor(dc, red);
  ASSERT_TRUE(TextOutA(dc, 2, 2, "Hi", 2));
  EXPECT_EQ(changedPixels(), size.cx * size.cy);
  EXPECT_EQ(GetPixel(dc, 1 + size.cx, 1 + size.cy), red);
  // Transparent: only the glyphs change pixels; the length counts, not the terminator.
  SetBkMode(dc, TRANSPARENT);
  auto shown = [&](const char* text, int length) {
    clear();
    TextOutA(dc, 2, 2, text, length);
    return rows(0, height, width);
  };
  EXPECT_EQ(shown("Hi", 2), shown("Hi there", 2));
  EXPECT_TRUE(changedPixels() > 5 && changedPixels() < size.cx * size.cy);
  // 8-bit text is UTF-8, with Windows-1252 for bytes that are not.
  EXPECT_EQ(shown("caf\xC3\xA9", 5), shown("caf\xE9", 4));
  EXPECT_NE(shown("\xC3\xA9", 2), shown("\xC3\xA8", 2));
}

// Windows faces draw with the installed faces of the same metrics (or the closest DejaVu face),
// sized in pixels at 96 per inch whatever resolution the screen reports.
TEST(FontFaces, WindowsFacesMapToInstalledFacesInPixels) {
  struct Case {
    const char* face;
    LONG height;
    const char* installed;
    int pixels;
  } cases[] = {{"Times New Roman", -13, "Liberation Serif", 13},
               {"Arial", -11, "Liberation Sans", 11},
               {"Courier New", -16, "Liberation Mono", 16},
               {"MS Sans Serif", -11, "Liberation Sans", 11},
               {"Lucida Console", -11, "DejaVu Sans Mono", 11},
               {"VT100", -13, "DejaVu Sans Mono", 13}};
  for (const Case& c : cases) {
    HFONT font = CreateFontA(c.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                             0, 0, 0, c.face);
    QFont shown;
    ASSERT_TRUE(vornplatform::fontOfHandle(font, &shown));
    EXPECT_EQ(QFontInfo(shown).family().toStdString(), c.installed) << c.face;
    EXPECT_EQ(shown.pixelSize(), c.pixels) << c.face;
    DeleteObject(font);
  }
  // A positive height is the cell: ascent and descent together.
  HFONT cell = CreateFontA(20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                           "Arial");
  QFont shown;
  ASSERT_TRUE(vornplatform::fontOfHandle(cell, &shown));
  QFontMetricsF metrics(shown);
  EXPECT_NEAR(metrics.ascent() + metrics.descent(), 20.0, 1.0);
  DeleteObject(cell);
  LOGFONTA gui{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  EXPECT_TRUE(gui.lfHeight == -11 && std::string(gui.lfFaceName) == "MS Shell Dlg");
}

TEST_F(DrawingTest, DrawTextMeasuresWithoutDrawingAndDrawsInsideItsRectangle) {
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  const int line = tm.tmHeight;
  SIZE extent;
  GetTextExtentPoint32A(dc, "File", 4, &extent);
  RECT r{5, 7, 5, 7}, literal{0, 0, 0, 0}, lines{0, 0, 0, 0};
  EXPECT_EQ(DrawTextA(dc, "&File", -1, &r, DT_CALCRECT | DT_SINGLELINE), line);
  // The prefix marker takes no room; the rectangle keeps its corner.
  EXPECT_TRUE(r.left == 5 && r.top == 7 && r.right == 5 + extent.cx && r.bottom == 7 + line);
  DrawTextA(dc, "&File", -1, &literal, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_GT(literal.right, extent.cx);
  EXPECT_EQ(DrawTextA(dc, "one\r\ntwo\nthree", -1, &lines, DT_CALCRECT), 3 * line);
  RECT narrow{0, 0, 3 * tm.tmAveCharWidth + 1, 0};
  EXPECT_GE(DrawTextA(dc, "aaa bbb ccc", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 2 * line);
  EXPECT_EQ(DrawTextA(dc, "aaa bbb ccc", 3, &narrow, DT_CALCRECT | DT_WORDBREAK), line);
  EXPECT_EQ(changedPixels(), 0);

  SetBkMode(dc, TRANSPARENT);
  for (UINT align : {UINT(DT_LEFT), UINT(DT_CENTER), UINT(DT_RIGHT)}) {
    clear();
    RECT box{10, 5, 50, 5 + line};
    DrawTextA(dc, "Wide text that does not fit", -1, &box, DT_SINGLELINE | align);
    int drawn = changedPixels();  // all of it inside the box
    EXPECT_TRUE(drawn > 0 && changedPixels(box) == drawn) << align;
  }
  // A vertically centred line sits lower than a top-aligned one.
  RECT tall{0, 0, width, height};
  EXPECT_GT(DrawTextA(dc, "x", -1, &tall, DT_SINGLELINE | DT_VCENTER), line);
}

}  // namespace
