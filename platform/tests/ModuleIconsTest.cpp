// Icon resources of modules: one shared handle per registered icon, bad pictures refused, the
// class icon on its top-level windows, the program's icon from its file, and unloading.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QIcon>
#include <QImage>
#include <QWidget>
#include <vector>

#include "platform/ModuleIcons.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace {

// A picture with a distinct pixel in each corner, so a flipped or shifted copy shows.
QImage cornersPicture(int side, QRgb fill) {
  QImage picture(side, side, QImage::Format_ARGB32);
  picture.fill(fill);
  picture.setPixel(0, 0, qRgb(255, 0, 0));
  picture.setPixel(side - 1, side - 1, qRgba(0, 0, 255, 128));
  return picture;
}

std::vector<unsigned char> fileOf(const QImage& picture, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, format);
  return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

BOOL registerIcon(HMODULE module, int id, const std::vector<unsigned char>& bytes) {
  return VornRegisterResourceIcon(module, id, bytes.data(), static_cast<int>(bytes.size()));
}

// What Qt shows for the icon at the picture's own size.
QImage shownPicture(const QIcon& icon, int side) {
  return icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND windowOfClass(const char* name, HICON icon, HICON small) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = plainProc;
  wc.hIcon = icon;
  wc.hIconSm = small;
  wc.lpszClassName = name;
  if (!RegisterClassExA(&wc)) return nullptr;
  return CreateWindowExA(0, name, "iconic", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                         nullptr, nullptr, nullptr);
}

TEST(ModuleIcons, ARegisteredIconLoadsAsOneSharedHandleThatDestroyLeavesAlone) {
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_TRUE(registerIcon(program, 101, fileOf(cornersPicture(32, qRgb(0, 128, 0)), "PNG")));
  HICON icon = LoadIconA(program, MAKEINTRESOURCEA(101));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(101)), icon);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(101)), icon);
  // Registering again keeps the handle and shows the new picture.
  QImage replaced = cornersPicture(16, qRgb(9, 9, 9));
  ASSERT_TRUE(registerIcon(program, 101, fileOf(replaced, "PNG")));
  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(101)), icon);
  EXPECT_EQ(shownPicture(vornplatform::qtIconOf(icon), 16), replaced);

  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(102)), nullptr);
  EXPECT_EQ(LoadIconA(program, "IDI_MAIN"), nullptr);
  HICON system = LoadIconA(nullptr, IDI_APPLICATION);
  EXPECT_TRUE(system != nullptr && system != icon);
  EXPECT_TRUE(vornplatform::qtIconOf(system).isNull());  // no picture of its own
}

TEST(ModuleIcons, PicturesThatAreNotSmallPngOrBmpFilesAreRefused) {
  HMODULE program = GetModuleHandleA(nullptr);
  std::vector<unsigned char> good = fileOf(cornersPicture(8, qRgb(1, 2, 3)), "PNG");
  std::vector<unsigned char> truncated(good.begin(), good.begin() + 30);
  std::vector<unsigned char> notPicture(200, 'x');
  std::vector<unsigned char> tooWide = good;  // the header claims 60,000 pixels across
  tooWide[18] = 0xEA, tooWide[19] = 0x60;
  std::vector<unsigned char> bigPng = fileOf(QImage(300, 20, QImage::Format_RGB32), "PNG");
  std::vector<unsigned char> bigBmp = fileOf(QImage(20, 300, QImage::Format_RGB32), "BMP");
  for (const auto& bytes : {truncated, notPicture, tooWide, bigPng, bigBmp}) {
    SetLastError(0);
    EXPECT_FALSE(registerIcon(program, 400, bytes));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_FALSE(VornRegisterResourceIcon(program, 400, nullptr, 100));
  EXPECT_FALSE(VornRegisterResourceIcon(program, 400, good.data(), -1));
  EXPECT_FALSE(registerIcon(nullptr, 400, good));
  EXPECT_FALSE(registerIcon(reinterpret_cast<HMODULE>(uintptr_t{0x7ffffff0}), 400, good));
  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(400)), nullptr);
  // A .bmp file is a picture too.
  QImage opaque = cornersPicture(4, qRgb(200, 100, 50));
  opaque.setPixel(3, 3, qRgb(0, 0, 255));
  ASSERT_TRUE(registerIcon(program, 401, fileOf(opaque, "BMP")));
  EXPECT_EQ(shownPicture(vornplatform::qtIconOf(LoadIconA(program, MAKEINTRESOURCEA(401))), 4),
            opaque);
}

TEST(ModuleIcons, AClassIconShowsOnItsTopLevelWindowsOnly) {
  HMODULE program = GetModuleHandleA(nullptr);
  QImage large = cornersPicture(32, qRgb(30, 80, 160));
  QImage small = cornersPicture(16, qRgb(250, 250, 250));
  ASSERT_TRUE(registerIcon(program, 501, fileOf(large, "PNG")));
  ASSERT_TRUE(registerIcon(program, 502, fileOf(small, "PNG")));
  HWND both = windowOfClass("VornIconBoth", LoadIconA(program, MAKEINTRESOURCEA(501)),
                            LoadIconA(program, MAKEINTRESOURCEA(502)));
  ASSERT_NE(both, nullptr);
  QIcon shown = vornplatform::topLevelWidgetOf(both)->windowIcon();
  EXPECT_EQ(shownPicture(shown, 32), large);
  EXPECT_EQ(shownPicture(shown, 16), small);
  HWND child = CreateWindowExA(0, "VornIconBoth", "", WS_CHILD, 0, 0, 10, 10, both, nullptr,
                               nullptr, nullptr);
  EXPECT_EQ(vornplatform::topLevelWidgetOf(child), vornplatform::topLevelWidgetOf(both));

  HWND smallOnly =
      windowOfClass("VornIconSmall", nullptr, LoadIconA(program, MAKEINTRESOURCEA(502)));
  EXPECT_EQ(shownPicture(vornplatform::topLevelWidgetOf(smallOnly)->windowIcon(), 16), small);
  HWND none = windowOfClass("VornIconNone", LoadIconA(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_TRUE(vornplatform::topLevelWidgetOf(none)->windowIcon().isNull());
  DestroyWindow(both);
  DestroyWindow(smallOnly);
  DestroyWindow(none);
}

TEST(ModuleIcons, TheProgramFileGivesTheProgramsLowestIcon) {
  HMODULE program = GetModuleHandleA(nullptr);
  QImage first = cornersPicture(24, qRgb(1, 1, 1));
  ASSERT_TRUE(registerIcon(program, 9, fileOf(cornersPicture(24, qRgb(7, 7, 7)), "PNG")));
  ASSERT_TRUE(registerIcon(program, 3, fileOf(first, "PNG")));
  HICON own = ExtractIconA(nullptr, "C:\\Program Files\\platform_tests.exe", 0);
  EXPECT_EQ(own, LoadIconA(program, MAKEINTRESOURCEA(3)));
  EXPECT_EQ(shownPicture(vornplatform::qtIconOf(own), 24), first);
  EXPECT_TRUE(DestroyIcon(own));
  EXPECT_EQ(ExtractIconA(nullptr, "platform_tests", 0), own);
  EXPECT_EQ(ExtractIconA(nullptr, "platform_tests.exe", 1), nullptr);
  EXPECT_EQ(ExtractIconA(nullptr, "other.exe", 0), nullptr);
}

TEST(ModuleIcons, UnloadingAModuleForgetsItsIcons) {
  HMODULE module = LoadLibraryA("libm.so.6");
  ASSERT_NE(module, nullptr);
  ASSERT_TRUE(registerIcon(module, 1, fileOf(cornersPicture(8, qRgb(5, 5, 5)), "PNG")));
  HICON icon = LoadIconA(module, MAKEINTRESOURCEA(1));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
  ASSERT_TRUE(FreeLibrary(module));
  EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_TRUE(vornplatform::qtIconOf(icon).isNull());
  EXPECT_FALSE(registerIcon(module, 1, fileOf(cornersPicture(8, qRgb(5, 5, 5)), "PNG")));
}

}  // namespace
