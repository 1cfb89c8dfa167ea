// Owner-drawn pop-up items measured and painted by their owner window, and window regions.
#include <gtest/gtest.h>

#include "platform/OwnerDrawMenus.h"
#include "platform/tests/WindowTestKit.h"

namespace {

using windowtest::answer;

int countColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  return n;
}

TEST(OwnerDrawMenuTest, OwnerMeasuresAndPaintsEachItemWithItsDataAndState) {
  HWND owner = windowtest::makeTop();
  std::vector<ULONG_PTR> drawnData;
  answer() = [&](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
    if (msg == WM_MEASUREITEM) {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      EXPECT_EQ(m->CtlType, static_cast<UINT>(ODT_MENU));
      m->itemWidth = 120;
      m->itemHeight = m->itemID == 1 ? 30 : 20;
    } else if (msg == WM_DRAWITEM) {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      drawnData.push_back(d->itemData);
      bool grayed = (d->itemState & ODS_GRAYED) != 0;
      HBRUSH brush = CreateSolidBrush(grayed ? RGB(0, 255, 0) : RGB(0, 0, 255));
      FillRect(d->hDC, &d->rcItem, brush);
      DeleteObject(brush);
    } else {
      return false;
    }
    *result = TRUE;
    return true;
  };
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_OWNERDRAW, 1, reinterpret_cast<LPCSTR>(uintptr_t{0x1234}));
  AppendMenuA(menu, MF_OWNERDRAW | MF_GRAYED, 2, reinterpret_cast<LPCSTR>(uintptr_t{0x5678}));
  QImage shown = vornplatform::renderPopupMenu(menu, owner);
  answer() = nullptr;
  // Win32 widens each item by the check mark less one beyond what the owner answered.
  const int width = 120 + GetSystemMetrics(SM_CXMENUCHECK) - 1;
  EXPECT_EQ(countColour(shown, qRgb(0, 0, 255)), width * 30);
  EXPECT_EQ(countColour(shown, qRgb(0, 255, 0)), width * 20);
  EXPECT_NE(std::find(drawnData.begin(), drawnData.end(), 0x1234u), drawnData.end());
  EXPECT_NE(std::find(drawnData.begin(), drawnData.end(), 0x5678u), drawnData.end());
  DestroyMenu(menu);
  DestroyWindow(owner);
}

TEST(OwnerDrawMenuTest, RoundRegionsCutCornersAndWindowsOwnTheirShape) {
  HRGN round = CreateRoundRectRgn(0, 0, 20, 20, 6, 6);
  EXPECT_FALSE(PtInRegion(round, 0, 0));
  EXPECT_TRUE(PtInRegion(round, 10, 0));
  EXPECT_TRUE(PtInRegion(round, 19, 10));
  EXPECT_FALSE(PtInRegion(round, 20, 10));  // right edge excluded
  EXPECT_FALSE(PtInRegion(round, 19, 19));

  HWND top = windowtest::makeTop();
  HRGN copy = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(GetWindowRgn(top, copy), 0);  // no shape yet
  EXPECT_NE(SetWindowRgn(top, round, TRUE), 0);
  EXPECT_FALSE(DeleteObject(round));  // the window took it over
  EXPECT_EQ(GetWindowRgn(top, copy), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(copy, 0, 0));
  EXPECT_TRUE(PtInRegion(copy, 5, 5));
  EXPECT_NE(SetWindowRgn(top, nullptr, TRUE), 0);
  EXPECT_EQ(GetWindowRgn(top, copy), 0);
  EXPECT_EQ(SetWindowRgn(top, reinterpret_cast<HRGN>(uintptr_t{77777}), TRUE), 0);
  HRGN a = CreateRectRgn(0, 0, 8, 8), b = CreateRectRgn(2, 2, 10, 10);
  EXPECT_EQ(CombineRgn(copy, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(copy, 9, 0));  // the corner the union leaves out
  EXPECT_TRUE(PtInRegion(copy, 9, 9));
  DeleteObject(a);
  DeleteObject(b);
  EXPECT_TRUE(DeleteObject(copy));
  DestroyWindow(top);
}

}  // namespace

namespace {

TEST(OwnerDrawMenuTest, WindowContextsLeadBackToTheirWindow) {
  HWND top = windowtest::makeTop();
  HWND child = windowtest::makeChild(top, 7);
  HDC whole = GetWindowDC(child);
  EXPECT_EQ(WindowFromDC(whole), child);
  ReleaseDC(child, whole);
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(WindowFromDC(memory), nullptr);
  DeleteDC(memory);
  DestroyWindow(top);
}

}  // namespace

namespace {

TEST(OwnerDrawMenuTest, NonClientMetricsNameTheMenuFontForTheirOwnSizeOnly) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  EXPECT_EQ(metrics.lfMenuFont.lfHeight, -11);
  EXPECT_NE(metrics.lfMenuFont.lfFaceName[0], '\0');
  EXPECT_EQ(metrics.lfCaptionFont.lfWeight, FW_BOLD);
  EXPECT_EQ(metrics.iMenuHeight, GetSystemMetrics(SM_CYMENU));
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 40, &metrics, 0));
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, nullptr, 0));
}

}  // namespace
