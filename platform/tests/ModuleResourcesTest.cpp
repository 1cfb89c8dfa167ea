// Bitmap resources of modules: .bmp files registered under ids load as GDI bitmaps with the
// right pixels, bad files and unknown modules are refused, and unloading drops them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

void putLittleEndian(std::vector<unsigned char>& out, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A .bmp file of rows given top row first: pixels as COLORREFs for 24 and 32 bits, or as
// palette indexes for 8 bits. Rows are stored bottom-up unless topDown asks otherwise.
std::vector<unsigned char> bmpFile(int bits, const std::vector<std::vector<uint32_t>>& rows,
                                   const std::vector<COLORREF>& palette = {},
                                   bool topDown = false) {
  int width = static_cast<int>(rows[0].size());
  int height = static_cast<int>(rows.size());
  int stride = (width * bits / 8 + 3) / 4 * 4;
  uint32_t paletteBytes = static_cast<uint32_t>(palette.size()) * 4;
  uint32_t offset = 14 + 40 + paletteBytes;
  std::vector<unsigned char> out{'B', 'M'};
  putLittleEndian(out, offset + static_cast<uint32_t>(stride * height), 4);
  putLittleEndian(out, 0, 4);
  putLittleEndian(out, offset, 4);
  putLittleEndian(out, 40, 4);
  putLittleEndian(out, static_cast<uint32_t>(width), 4);
  putLittleEndian(out, static_cast<uint32_t>(topDown ? -height : height), 4);
  putLittleEndian(out, 1, 2);
  putLittleEndian(out, static_cast<uint32_t>(bits), 2);
  putLittleEndian(out, 0, 4);  // uncompressed
  putLittleEndian(out, static_cast<uint32_t>(stride * height), 4);
  putLittleEndian(out, 2835, 4);
  putLittleEndian(out, 2835, 4);
  putLittleEndian(out, static_cast<uint32_t>(palette.size()), 4);
  putLittleEndian(out, 0, 4);
  for (COLORREF c : palette) {
    out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
  }
  for (int r = 0; r < height; ++r) {
    const std::vector<uint32_t>& row = rows[static_cast<size_t>(topDown ? r : height - 1 - r)];
    size_t start = out.size();
    for (uint32_t p : row) {
      if (bits == 8) {
        out.push_back(static_cast<unsigned char>(p));
        continue;
      }
      out.insert(out.end(), {GetBValue(p), GetGValue(p), GetRValue(p)});
      if (bits == 32) out.push_back(0xFF);
    }
    out.resize(start + static_cast<size_t>(stride), 0);
  }
  return out;
}

BOOL registerBmp(HMODULE module, int id, const std::vector<unsigned char>& bytes) {
  return VornRegisterResourceBitmap(module, id, bytes.data(), static_cast<int>(bytes.size()));
}

// The bitmap's pixels, row by row, read through a memory context.
std::vector<std::vector<COLORREF>> pixelsOf(HBITMAP bitmap, int width, int height) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  std::vector<std::vector<COLORREF>> rows;
  for (int y = 0; y < height; ++y) {
    rows.emplace_back();
    for (int x = 0; x < width; ++x) rows.back().push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return rows;
}

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 128, 0), kBlue = RGB(0, 0, 255),
               kWhite = RGB(255, 255, 255), kOdd = RGB(12, 34, 56), kBlack = RGB(0, 0, 0);

TEST(ModuleResources, RegisteredPicturesLoadWithTheirPixelsInEveryDepth) {
  HMODULE program = GetModuleHandleA(nullptr);
  // Three pixels wide, so each row needs padding; two rows show the row order.
  const std::vector<std::vector<COLORREF>> picture = {{kRed, kGreen, kBlue},
                                                      {kWhite, kOdd, kBlack}};
  std::vector<std::vector<uint32_t>> asColours(picture.begin(), picture.end());
  std::vector<COLORREF> palette = {kBlack, kRed, kGreen, kBlue, kWhite, kOdd};
  std::vector<std::vector<uint32_t>> asIndexes = {{1, 2, 3}, {4, 5, 0}};
  struct Case {
    const char* name;
    std::vector<unsigned char> file;
  } cases[] = {
      {"8-bit palette", bmpFile(8, asIndexes, palette)},
      {"24-bit", bmpFile(24, asColours)},
      {"32-bit", bmpFile(32, asColours)},
      {"24-bit top-down", bmpFile(24, asColours, {}, true)},
  };
  int id = 101;
  for (const Case& c : cases) {
    ASSERT_TRUE(registerBmp(program, id, c.file)) << c.name;
    HBITMAP bitmap = LoadBitmapA(program, MAKEINTRESOURCEA(id));
    ASSERT_NE(bitmap, nullptr) << c.name;
    BITMAP info{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info)) << c.name;
    EXPECT_TRUE(info.bmWidth == 3 && info.bmHeight == 2) << c.name;
    EXPECT_EQ(pixelsOf(bitmap, 3, 2), picture) << c.name;
    // Each load is a bitmap of its own.
    HBITMAP again = LoadBitmapA(program, MAKEINTRESOURCEA(id));
    EXPECT_TRUE(again && again != bitmap) << c.name;
    EXPECT_TRUE(DeleteObject(bitmap) && DeleteObject(again)) << c.name;
    EXPECT_FALSE(DeleteObject(bitmap)) << c.name;
    ++id;
  }
  // Registering an id again replaces its picture.
  ASSERT_TRUE(registerBmp(program, 101, bmpFile(24, {{kOdd}})));
  HBITMAP replaced = LoadBitmapA(program, MAKEINTRESOURCEA(101));
  EXPECT_EQ(pixelsOf(replaced, 1, 1)[0][0], kOdd);
  // A loaded picture is one a rich edit can take over as a picture.
  HANDLE copy = OleDuplicateData(replaced, CF_BITMAP, 0);
  EXPECT_NE(copy, nullptr);
  DeleteObject(copy);
  DeleteObject(replaced);
}

TEST(ModuleResources, BadFilesModulesAndNamesAreRefused) {
  HMODULE program = GetModuleHandleA(nullptr);
  std::vector<unsigned char> good = bmpFile(24, {{kRed, kGreen}});
  std::vector<unsigned char> notBmp = good;
  notBmp[0] = 'X';
  std::vector<unsigned char> pixelsOutside = good;
  pixelsOutside[10] = 200;  // the pixel offset points past the end
  std::vector<unsigned char> truncated(good.begin(), good.begin() + 50);
  std::vector<unsigned char> coreHeader = good;
  coreHeader[14] = 12;  // the old 12-byte header
  for (const auto& bytes : {notBmp, pixelsOutside, truncated, coreHeader}) {
    SetLastError(0);
    EXPECT_FALSE(registerBmp(program, 300, bytes));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_FALSE(VornRegisterResourceBitmap(program, 300, nullptr, 100));
  EXPECT_FALSE(VornRegisterResourceBitmap(program, 300, good.data(), -1));
  EXPECT_EQ(LoadBitmapA(program, MAKEINTRESOURCEA(300)), nullptr);

  HMODULE bogus = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x7ffffff0));
  EXPECT_FALSE(registerBmp(bogus, 1, good));
  EXPECT_FALSE(registerBmp(nullptr, 1, good));
  EXPECT_FALSE(registerBmp(LoadLibraryA("riched20.dll"), 1, good));  // a system pseudo-handle
  ASSERT_TRUE(registerBmp(program, 301, good));
  EXPECT_EQ(LoadBitmapA(program, MAKEINTRESOURCEA(302)), nullptr);
  EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(301)), nullptr);
  EXPECT_EQ(LoadBitmapA(program, "IDB_SMILE"), nullptr);
  EXPECT_TRUE(IS_INTRESOURCE(MAKEINTRESOURCEA(301)) && !IS_INTRESOURCE("IDB_SMILE"));
}

TEST(ModuleResources, UnloadingAModuleDropsItsPicturesAndAReloadRegistersAfresh) {
  std::vector<unsigned char> red = bmpFile(24, {{kRed}});
  std::vector<unsigned char> blue = bmpFile(24, {{kBlue}});
  HMODULE module = LoadLibraryA("libm.so.6");
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(LoadLibraryA("libm.so.6"), module);  // two loads, one handle
  ASSERT_TRUE(registerBmp(module, 101, red));
  HBITMAP kept = LoadBitmapA(module, MAKEINTRESOURCEA(101));
  ASSERT_NE(kept, nullptr);
  ASSERT_TRUE(FreeLibrary(module));
  HBITMAP stillThere = LoadBitmapA(module, MAKEINTRESOURCEA(101));
  EXPECT_NE(stillThere, nullptr);  // one load remains
  DeleteObject(stillThere);
  ASSERT_TRUE(FreeLibrary(module));
  EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(101)), nullptr);
  EXPECT_FALSE(registerBmp(module, 101, red));
  // A bitmap loaded before the unload is the caller's and stays intact.
  EXPECT_EQ(pixelsOf(kept, 1, 1)[0][0], kRed);
  DeleteObject(kept);

  HMODULE reloaded = LoadLibraryA("libm.so.6");
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(LoadBitmapA(reloaded, MAKEINTRESOURCEA(101)), nullptr);
  ASSERT_TRUE(registerBmp(reloaded, 101, blue));
  HBITMAP fresh = LoadBitmapA(reloaded, MAKEINTRESOURCEA(101));
  EXPECT_EQ(pixelsOf(fresh, 1, 1)[0][0], kBlue);
  DeleteObject(fresh);
  FreeLibrary(reloaded);
}

}  // namespace
