// The drawing calls the flat skin needs: rounded rectangles, polylines, BitBlt with SRCAND,
// the thumb width, and a display depth that tests can change.
#include <gtest/gtest.h>

#include "platform/testing_display.h"
#include "platform/win32.h"

namespace {

struct MemoryPicture {
  MemoryPicture(int w, int h) : dc(CreateCompatibleDC(nullptr)), bitmap(CreateCompatibleBitmap(dc, w, h)) {
    SelectObject(dc, bitmap);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~MemoryPicture() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HDC dc;
  HBITMAP bitmap;
};

TEST(SkinDrawingCallsTest, RoundRectAndPolylineExcludeTheirLastPixels) {
  MemoryPicture picture(20, 20);
  RECT whole{0, 0, 20, 20};
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(picture.dc, pen);
  SelectObject(picture.dc, brush);
  ASSERT_TRUE(RoundRect(picture.dc, 0, 0, 10, 10, 4, 4));
  EXPECT_EQ(GetPixel(picture.dc, 0, 0), RGB(255, 255, 255));  // the corner is cut
  EXPECT_EQ(GetPixel(picture.dc, 5, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(picture.dc, 9, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(picture.dc, 10, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(picture.dc, 5, 5), RGB(0, 0, 255));
  SelectObject(picture.dc, GetStockObject(BLACK_PEN));
  SelectObject(picture.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(pen);
  DeleteObject(brush);

  // A polyline skips its last point and keeps the pen position.
  FillRect(picture.dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  MoveToEx(picture.dc, 15, 15, nullptr);
  POINT points[3] = {{2, 2}, {2, 8}, {8, 8}};
  ASSERT_TRUE(Polyline(picture.dc, points, 3));
  EXPECT_EQ(GetPixel(picture.dc, 2, 2), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(picture.dc, 2, 8), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(picture.dc, 8, 8), RGB(255, 255, 255));
  POINT at;
  MoveToEx(picture.dc, 0, 0, &at);
  EXPECT_EQ(at.x, 15);
  EXPECT_FALSE(Polyline(picture.dc, points, 1));
}

TEST(SkinDrawingCallsTest, SrcAndTintsAndDepthAndThumbWidthAnswer) {
  MemoryPicture target(4, 4), tint(4, 4);
  RECT all{0, 0, 4, 4};
  HBRUSH grayish = CreateSolidBrush(RGB(0xF0, 0x0F, 0x80));
  FillRect(tint.dc, &all, grayish);
  SetPixel(target.dc, 1, 1, RGB(0x3C, 0xFF, 0x0F));
  ASSERT_TRUE(BitBlt(target.dc, 0, 0, 4, 4, tint.dc, 0, 0, SRCAND));
  EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0xF0, 0x0F, 0x80));
  EXPECT_EQ(GetPixel(target.dc, 1, 1), RGB(0x30, 0x0F, 0x00));
  DeleteObject(grayish);

  EXPECT_EQ(GetSystemMetrics(SM_CXHTHUMB), 17);
  EXPECT_EQ(GetDeviceCaps(target.dc, BITSPIXEL), 32);
  vorntest::setDisplayBitsPerPixel(15);
  EXPECT_EQ(GetDeviceCaps(target.dc, BITSPIXEL), 15);
  vorntest::setDisplayBitsPerPixel(0);
  EXPECT_EQ(GetDeviceCaps(target.dc, BITSPIXEL), 32);
}

}  // namespace
