// Icon resources of modules: one shared handle per registered icon, bad pictures refused, the
// program's icon from its file, and unloading.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QIcon>

#include "platform/ModuleIcons.h"
#include "platform/win32.h"

namespace {

using vornplatform::qtIconOf;

// A picture with a distinct pixel in two corners, so a flipped or shifted copy shows.
QImage cornersPicture(int side, QRgb fill) {
  QImage picture(side, side, QImage::Format_ARGB32);
  picture.fill(fill);
  picture.setPixel(0, 0, qRgb(255, 0, 0));
  picture.setPixel(side - 1, side - 1, qRgba(0, 0, 255, 128));
  return picture;
}

QByteArray encoded(const QImage& picture, const char* format = "PNG") {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, format);
  return bytes;
}

BOOL registerIcon(HMODULE module, int id, const QImage& picture, const char* format = "PNG") {
  QByteArray bytes = encoded(picture, format);
  return VornRegisterResourceIcon(module, id, bytes.constData(), static_cast<int>(bytes.size()));
}

QImage shown(const QIcon& icon, int side) {
  return icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}

HICON iconOf(HMODULE module, int id) { return LoadIconA(module, MAKEINTRESOURCEA(id)); }

TEST(ModuleIcons, ARegisteredIconIsOneSharedHandleAndBadPicturesAreRefused) {
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_TRUE(registerIcon(program, 101, cornersPicture(32, qRgb(0, 128, 0))));
  HICON icon = iconOf(program, 101);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_EQ(iconOf(program, 101), icon);
  ASSERT_TRUE(registerIcon(program, 101, cornersPicture(16, qRgb(9, 9, 9)), "BMP"));
  EXPECT_EQ(iconOf(program, 101), icon);  // same handle, new picture
  QImage replaced = shown(qtIconOf(icon), 16);
  EXPECT_TRUE(replaced.pixel(0, 0) == qRgb(255, 0, 0) && replaced.pixel(5, 5) == qRgb(9, 9, 9));
  EXPECT_EQ(iconOf(program, 102), nullptr);

  QByteArray png = encoded(cornersPicture(8, qRgb(1, 2, 3))), tooWide = png;  // the header claims 60,000 pixels across
  tooWide[18] = static_cast<char>(0xEA), tooWide[19] = 0x60;
  for (const QByteArray& bytes : {png.left(30), QByteArray(200, 'x'), tooWide}) {
    SetLastError(0);
    EXPECT_FALSE(VornRegisterResourceIcon(program, 400, bytes.constData(), bytes.size()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_FALSE(registerIcon(program, 400, QImage(20, 300, QImage::Format_RGB32), "BMP"));
  EXPECT_FALSE(VornRegisterResourceIcon(program, 400, nullptr, 100));
  EXPECT_FALSE(registerIcon(nullptr, 400, cornersPicture(8, 0)));
  EXPECT_EQ(iconOf(program, 400), nullptr);
}

// Class icons on top-level windows are read from a real window manager on the desktop.
TEST(ModuleIcons, TheProgramFileGivesItsLowestIcon) {
  HMODULE program = GetModuleHandleA(nullptr);
  QImage small = cornersPicture(16, qRgb(2, 2, 2));
  ASSERT_TRUE(registerIcon(program, 9, cornersPicture(32, 0)) && registerIcon(program, 3, small));
  HICON own = ExtractIconA(nullptr, "C:\\Program Files\\platform_tests.exe", 0);
  EXPECT_EQ(own, iconOf(program, 3));
  EXPECT_EQ(shown(qtIconOf(own), 16), small);  // what the tray shows
  EXPECT_EQ(ExtractIconA(nullptr, "platform_tests.exe", 1), nullptr);
}

TEST(ModuleIcons, UnloadingAModuleForgetsItsIcons) {
  HMODULE module = LoadLibraryA("libm.so.6");
  ASSERT_TRUE(registerIcon(module, 1, cornersPicture(8, 0)));
  HICON icon = iconOf(module, 1);
  ASSERT_NE(icon, nullptr);
  ASSERT_TRUE(FreeLibrary(module));
  EXPECT_EQ(iconOf(module, 1), nullptr);
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_TRUE(qtIconOf(icon).isNull());
  EXPECT_FALSE(registerIcon(module, 1, cornersPicture(8, 0)));
}

}  // namespace
