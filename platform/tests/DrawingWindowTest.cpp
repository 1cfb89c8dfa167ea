// Drawing into windows: contexts of a window share its backing image, BeginPaint hands out
// the invalid rectangle, scroll values are kept per window and bar, and a window saves as PNG.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

struct PaintLog {
  int paints = 0;
  RECT lastPaint{0, 0, 0, 0};
};
PaintLog paintLog;

// Paints a black-outlined red rectangle over the whole client area.
LRESULT CALLBACK paintingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    ++paintLog.paints;
    paintLog.lastPaint = ps.rcPaint;
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, red);
    Rectangle(dc, client.left, client.top, client.right, client.bottom);
    SelectObject(dc, old);
    DeleteObject(red);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class DrawingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = paintingProc;
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = "DrawingWindowTest";
      ASSERT_NE(RegisterClassExA(&wc), 0);
      registered = true;
    }
    paintLog = PaintLog();
    hwnd = CreateWindowExA(0, "DrawingWindowTest", "drawing", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                           150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    GetClientRect(hwnd, &client);
    ASSERT_GT(client.right, 20);
    ASSERT_GT(client.bottom, 20);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  HWND hwnd = nullptr;
  RECT client{0, 0, 0, 0};
};

TEST_F(DrawingWindowTest, PaintingGetsTheInvalidRectangleAndDrawsIntoTheWindow) {
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateWindow(hwnd);
  ASSERT_GE(paintLog.paints, 1);
  EXPECT_EQ(paintLog.lastPaint.right, client.right);
  EXPECT_EQ(paintLog.lastPaint.bottom, client.bottom);

  // A window context outside WM_PAINT sees what the painting drew.
  HDC dc = GetDC(hwnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, client.right, 0), CLR_INVALID);

  // Repainting part of the window clips the painting to that part.
  RECT part{20, 20, 40, 30};
  SetPixel(dc, 10, 10, RGB(0, 255, 0));
  SetPixel(dc, 25, 25, RGB(0, 255, 0));
  InvalidateRect(hwnd, &part, FALSE);
  UpdateWindow(hwnd);
  EXPECT_EQ(paintLog.lastPaint.left, 20);
  EXPECT_EQ(paintLog.lastPaint.top, 20);
  EXPECT_EQ(paintLog.lastPaint.right, 40);
  EXPECT_EQ(paintLog.lastPaint.bottom, 30);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 25, 25), RGB(255, 0, 0));
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);

  // A window that is gone takes no drawing.
  HDC late = GetDC(hwnd);
  DestroyWindow(hwnd);
  EXPECT_FALSE(Rectangle(late, 0, 0, 5, 5));
  EXPECT_EQ(GetPixel(late, 0, 0), CLR_INVALID);
  ReleaseDC(hwnd, late);
  EXPECT_EQ(GetDC(hwnd), nullptr);
}

TEST_F(DrawingWindowTest, ScrollValuesAreKeptPerBarAndClamped) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 95;  // beyond the last full page
  EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &si, TRUE), 90);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 90);
  EXPECT_EQ(GetScrollPos(hwnd, SB_HORZ), 0);
  SCROLLINFO read{};
  read.cbSize = sizeof(read);
  read.fMask = SIF_ALL;

  // Only the masked fields change; a page larger than the range shrinks to it.
  SCROLLINFO pos{};
  pos.cbSize = sizeof(pos);
  pos.fMask = SIF_POS;
  pos.nPos = -5;
  EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &pos, TRUE), 0);
  SCROLLINFO page{};
  page.cbSize = sizeof(page);
  page.fMask = SIF_PAGE;
  page.nPage = 500;
  SetScrollInfo(hwnd, SB_VERT, &page, TRUE);
  ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &read));
  EXPECT_EQ(read.nPage, 100u);
  EXPECT_EQ(read.nMax, 99);
  EXPECT_EQ(read.nPos, 0);

  DestroyWindow(hwnd);
  EXPECT_FALSE(GetScrollInfo(hwnd, SB_VERT, &read));
  EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &si, TRUE), 0);
}

TEST_F(DrawingWindowTest, SavesTheWindowAsPng) {
  ShowWindow(hwnd, SW_SHOW);
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateWindow(hwnd);
  std::string path = ::testing::TempDir() + "drawing-window.png";
  std::remove(path.c_str());
  ASSERT_TRUE(vorntest::saveWindowPng(hwnd, path.c_str()));
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  unsigned char header[24] = {};
  ASSERT_EQ(std::fread(header, 1, sizeof(header), file), sizeof(header));
  std::fclose(file);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(header), 8), std::string("\x89PNG\r\n\x1a\n", 8));
  // At least the client area: the width is a big-endian number at 16 (small: its low bytes).
  EXPECT_GE((header[18] << 8) | header[19], client.right);
  std::remove(path.c_str());

  EXPECT_FALSE(vorntest::saveWindowPng(hwnd, "/nonexistent-folder/x.png"));
  DestroyWindow(hwnd);
  EXPECT_FALSE(vorntest::saveWindowPng(hwnd, path.c_str()));
}

}  // namespace
