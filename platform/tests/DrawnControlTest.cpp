// A control drawn on through a device context (a "Static" used as a canvas) shows what was
// drawn; a control whose context only measured keeps its own looks.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

// The control as shown on the screen.
QImage shown(HWND hwnd, const TempFolder& folder) {
  std::string path = folder.file("shown.png");
  if (!vorntest::saveWindowPng(hwnd, path.c_str())) return QImage();
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

long darkPixels(const QImage& image) {
  long count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) < 128;
  return count;
}

TEST(DrawnControlTest, AStaticDrawnOnShowsTheDrawingAndAMeasuredOneItsText) {
  reset();
  TempFolder folder;
  HWND top = makeTop(10, 10, 300, 200);
  ShowWindow(top, SW_SHOW);
  HWND label = CreateWindowExA(0, "Static", "WWWWWWWW", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100,
                               top, nullptr, nullptr, nullptr);
  EXPECT_GT(darkPixels(shown(label, folder)), 0) << "the label still shows its text";

  HDC dc = GetDC(label);
  MoveToEx(dc, 10, 80, nullptr);
  LineTo(dc, 110, 80);
  SetPixel(dc, 150, 90, RGB(255, 0, 0));
  QImage image = shown(label, folder);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(qRgb(0, 0, 0), image.pixel(50, 80));
  EXPECT_EQ(qRgb(255, 0, 0), image.pixel(150, 90));
  EXPECT_EQ(101, darkPixels(image)) << "the line and the dot only: the drawing covers the label";
  ReleaseDC(label, dc);
  DestroyWindow(top);
  reset();
}

TEST(DrawnControlTest, LinesReachingFarOutsideAreDrawnWhereTheyCrossTheWindow) {
  reset();
  HWND top = makeTop(10, 10, 300, 200);
  RECT client;
  GetClientRect(top, &client);
  HDC dc = GetDC(top);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  EXPECT_EQ(white, GetPixel(dc, 40, 50));
  MoveToEx(dc, -30000, 50, nullptr);
  LineTo(dc, 30000, 50);
  EXPECT_EQ(black, GetPixel(dc, 0, 50));
  EXPECT_EQ(black, GetPixel(dc, client.right - 1, 50));
  MoveToEx(dc, -2000000000, -2000000000, nullptr);
  LineTo(dc, 2000000000, 2000000000);
  EXPECT_EQ(black, GetPixel(dc, 10, 10));
  EXPECT_EQ(black, GetPixel(dc, 100, 100));
  // Outside altogether: nothing; an end near the window keeps its exact pixels.
  MoveToEx(dc, -5000, 5000, nullptr);
  LineTo(dc, 5000, 6000);
  MoveToEx(dc, 20, 120, nullptr);
  LineTo(dc, -40000, 120);
  EXPECT_EQ(black, GetPixel(dc, 0, 120));
  EXPECT_EQ(black, GetPixel(dc, 20, 120)) << "the start is drawn";
  EXPECT_EQ(white, GetPixel(dc, 21, 120));
  ReleaseDC(top, dc);
  DestroyWindow(top);
  reset();
}

}  // namespace
