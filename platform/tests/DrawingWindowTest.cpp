// Drawing into windows: contexts of a window share its backing image, BeginPaint hands out
// the invalid rectangle, scroll values are kept per window and bar, and a window saves as PNG.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

const COLORREF black = RGB(0, 0, 0), red = RGB(255, 0, 0), green = RGB(0, 255, 0);

std::vector<LONG> edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The window paints a black-outlined red rectangle over its client area.
class DrawingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    answer() = [this](HWND window, UINT msg, WPARAM, LPARAM, LRESULT*) {
      if (msg != WM_PAINT) return false;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      lastPaint = ps.rcPaint;
      HGDIOBJ old = SelectObject(dc, CreateSolidBrush(red));
      Rectangle(dc, 0, 0, client.right, client.bottom);
      DeleteObject(SelectObject(dc, old));
      EndPaint(window, &ps);
      return true;
    };
    hwnd = makeTop(10, 10, 200, 150);
    GetClientRect(hwnd, &client);
    ASSERT_TRUE(client.right > 40 && client.bottom > 30);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    reset();
  }
  HWND hwnd = nullptr;
  RECT client{0, 0, 0, 0};
  RECT lastPaint{0, 0, 0, 0};
};

TEST_F(DrawingWindowTest, PaintingGetsTheInvalidRectangleAndDrawsIntoTheWindow) {
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateWindow(hwnd);
  ASSERT_FALSE(messagesOf(hwnd, WM_PAINT).empty());
  EXPECT_EQ(edges(lastPaint), edges(client));
  // A window context outside WM_PAINT sees what the painting drew.
  HDC dc = GetDC(hwnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetPixel(dc, 0, 0), black);
  EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), black);
  EXPECT_EQ(GetPixel(dc, 5, 5), red);
  EXPECT_EQ(GetPixel(dc, client.right, 0), CLR_INVALID);
  // Repainting part of the window clips the painting to that part.
  RECT part{20, 20, 40, 30};
  SetPixel(dc, 10, 10, green);
  SetPixel(dc, 25, 25, green);
  InvalidateRect(hwnd, &part, FALSE);
  UpdateWindow(hwnd);
  EXPECT_EQ(edges(lastPaint), edges(part));
  EXPECT_EQ(GetPixel(dc, 10, 10), green);
  EXPECT_EQ(GetPixel(dc, 25, 25), red);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);

  // A window that is gone takes no drawing.
  HDC late = GetDC(hwnd);
  DestroyWindow(hwnd);
  EXPECT_FALSE(Rectangle(late, 0, 0, 5, 5));
  EXPECT_EQ(GetPixel(late, 0, 0), CLR_INVALID);
  ReleaseDC(hwnd, late);
  EXPECT_EQ(GetDC(hwnd), nullptr);
}

TEST_F(DrawingWindowTest, ScrollValuesAreKeptPerBarClampedAndSetByMask) {
  auto set = [&](UINT mask, int max, UINT page, int pos) {
    SCROLLINFO si{sizeof(SCROLLINFO), mask, 0, max, page, pos, 0};
    return SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  };
  EXPECT_EQ(set(SIF_RANGE | SIF_PAGE | SIF_POS, 99, 10, 95), 90);  // beyond the last full page
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 90);
  EXPECT_EQ(GetScrollPos(hwnd, SB_HORZ), 0);
  // Only the masked fields change; a page larger than the range shrinks to it.
  EXPECT_EQ(set(SIF_POS, 0, 0, -5), 0);
  set(SIF_PAGE, 0, 500, 0);
  SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &read));
  EXPECT_EQ(read.nPage, 100u);
  EXPECT_EQ(read.nMax, 99);
  EXPECT_EQ(read.nPos, 0);
  DestroyWindow(hwnd);
  EXPECT_FALSE(GetScrollInfo(hwnd, SB_VERT, &read));
  EXPECT_EQ(set(SIF_ALL, 99, 10, 5), 0);
}

TEST_F(DrawingWindowTest, SavesTheWindowAsPng) {
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  std::string path = ::testing::TempDir() + "drawing-window.png";
  std::remove(path.c_str());
  ASSERT_TRUE(vorntest::saveWindowPng(hwnd, path.c_str()));
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  unsigned char header[24] = {};
  ASSERT_EQ(std::fread(header, 1, sizeof(header), file), sizeof(header));
  std::fclose(file);
  std::remove(path.c_str());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(header), 8), std::string("\x89PNG\r\n\x1a\n", 8));
  // At least the client area: the width is a big-endian number at 16 (small: its low bytes).
  EXPECT_GE((header[18] << 8) | header[19], client.right);
  EXPECT_FALSE(vorntest::saveWindowPng(hwnd, "/nonexistent-folder/x.png"));
  DestroyWindow(hwnd);
  EXPECT_FALSE(vorntest::saveWindowPng(hwnd, path.c_str()));
}

}  // namespace
