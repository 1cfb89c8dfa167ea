// Library loading over dlopen and the small arithmetic helpers of the drawing API.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ModuleFile.h"
#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

namespace {

std::string platformLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&MulDiv), &info) == 0 || info.dli_fname == nullptr) return "";
  return info.dli_fname;
}

TEST(LibraryTest, SystemNamesGiveDistinctPseudoHandlesIgnoringCase) {
  HMODULE richEdit = LoadLibraryA("riched20.dll");
  ASSERT_NE(richEdit, nullptr);
  EXPECT_EQ(LoadLibraryA("RICHED20.DLL"), richEdit);
  EXPECT_EQ(GetModuleHandleA("RichEd20"), richEdit);
  for (const char* name :
       {"riched32.dll", "comctl32.dll", "user32.dll", "kernel32.dll", "msvcrt.dll"}) {
    HMODULE module = LoadLibraryA(name);
    EXPECT_TRUE(module && module != richEdit) << name;
    EXPECT_TRUE(FreeLibrary(module)) << name;
  }
  // Freeing a pseudo-handle any number of times leaves it valid.
  EXPECT_TRUE(FreeLibrary(richEdit) && FreeLibrary(richEdit));
  EXPECT_EQ(LoadLibraryA("riched20.dll"), richEdit);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(richEdit, "CreateTextServices"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST(LibraryTest, MissingLibrariesAndUnknownHandlesFail) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("Plugins\\NoSuchPlugin.vma"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_TRUE(LoadLibraryA(nullptr) == nullptr && LoadLibraryA("") == nullptr);
  HMODULE bogus = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x7ffffff0));
  EXPECT_FALSE(FreeLibrary(bogus) || FreeLibrary(nullptr));
  EXPECT_EQ(GetProcAddress(bogus, "strlen"), nullptr);
  EXPECT_EQ(GetModuleHandleA("nosuchmodule.so"), nullptr);
  char name[64];
  EXPECT_EQ(GetModuleFileNameA(bogus, name, sizeof(name)), 0u);
}

TEST(LibraryTest, DecoratedNamesResolveByIdentifier) {
  HMODULE libc = LoadLibraryA("libc.so.6");
  ASSERT_NE(libc, nullptr);
  FARPROC plain = GetProcAddress(libc, "strlen");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(GetProcAddress(libc, "?strlen@@YAIPBD@Z"), plain);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(libc, "?NoSuchFunction@@YAHXZ"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(libc, "?"), nullptr);
  EXPECT_EQ(GetProcAddress(libc, MAKEINTRESOURCEA(1)), nullptr);  // ordinals do not exist here
  EXPECT_TRUE(FreeLibrary(libc));
}

TEST(LibraryTest, LoadsByPathCountsLoadsAndNamesTheFile) {
  std::string path = platformLibraryPath();
  ASSERT_FALSE(path.empty());
  HMODULE first = LoadLibraryA(path.c_str());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LoadLibraryA(path.c_str()), first);  // the same library keeps its handle
  EXPECT_EQ(GetModuleHandleA("LIBVORNPLATFORM.SO"), first);
  EXPECT_NE(GetProcAddress(first, "_Z6MulDiviii"), nullptr);

  char name[4096];
  DWORD length = GetModuleFileNameA(first, name, sizeof(name));
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(name), length);
  EXPECT_NE(std::string(name).find("libvornplatform.so"), std::string::npos);
  char small[5];
  EXPECT_EQ(GetModuleFileNameA(first, small, sizeof(small)), 5u);
  EXPECT_EQ(std::strlen(small), 4u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  EXPECT_TRUE(FreeLibrary(first) && FreeLibrary(first));
  EXPECT_FALSE(FreeLibrary(first));  // both loads released: the handle is gone
  EXPECT_EQ(GetProcAddress(first, "_Z6MulDiviii"), nullptr);
  HMODULE again = LoadLibraryA(path.c_str());
  EXPECT_NE(again, first);  // handles are never reused
  EXPECT_TRUE(FreeLibrary(again));

  // The program itself is named like a null module.
  ASSERT_GT(GetModuleFileNameA(GetModuleHandleA(nullptr), name, sizeof(name)), 0u);
  EXPECT_NE(std::string(name).find("platform_tests"), std::string::npos);
}

int functionOfTheProgram() { return 7; }

TEST(LibraryTest, ModuleFromAddressIsTheLoadedHandle) {
  const DWORD fromAddress = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
  const DWORD unchanged = GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  std::string path = platformLibraryPath();
  ASSERT_FALSE(path.empty());
  HMODULE loaded = LoadLibraryA(path.c_str());
  ASSERT_NE(loaded, nullptr);
  HMODULE found = nullptr;
  ASSERT_TRUE(
      GetModuleHandleExA(fromAddress | unchanged, reinterpret_cast<LPCSTR>(&MulDiv), &found));
  EXPECT_EQ(found, loaded);
  ASSERT_TRUE(GetModuleHandleExA(fromAddress, reinterpret_cast<LPCSTR>(&SetRect), &found));
  EXPECT_EQ(found, loaded);
  // The counted lookup holds the library after the load is released, until it is freed too.
  EXPECT_TRUE(FreeLibrary(loaded));
  EXPECT_NE(GetProcAddress(loaded, "_Z6MulDiviii"), nullptr);
  EXPECT_TRUE(FreeLibrary(loaded));
  EXPECT_FALSE(FreeLibrary(loaded));
  // By name, as GetModuleHandleA would.
  ASSERT_TRUE(GetModuleHandleExA(unchanged, "riched20.dll", &found));
  EXPECT_EQ(found, LoadLibraryA("riched20.dll"));

  ASSERT_TRUE(
      GetModuleHandleExA(fromAddress, reinterpret_cast<LPCSTR>(&functionOfTheProgram), &found));
  EXPECT_EQ(found, GetModuleHandleA(nullptr));
  ASSERT_TRUE(GetModuleHandleExA(fromAddress | unchanged,
                                 reinterpret_cast<LPCSTR>(&functionOfTheProgram), &found));
  EXPECT_EQ(found, GetModuleHandleA(nullptr));
}

TEST(LibraryTest, ModuleFromAddressFailsForUnknownPlacesAndBadArguments) {
  const DWORD fromAddress = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
  HMODULE found = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(1));
  int onTheStack = 0;
  const void* nowhere[] = {nullptr, reinterpret_cast<void*>(static_cast<uintptr_t>(0x10)),
                           &onTheStack};
  for (const void* address : nowhere) {
    SetLastError(0);
    EXPECT_FALSE(GetModuleHandleExA(fromAddress, static_cast<LPCSTR>(address), &found)) << address;
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << address;
  }
  SetLastError(0);
  EXPECT_FALSE(GetModuleHandleExA(0, "nosuchmodule.so", &found));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  LPCSTR program = reinterpret_cast<LPCSTR>(&functionOfTheProgram);
  for (DWORD flags : {fromAddress | 0x100u, 0x80000000u}) {
    SetLastError(0);
    EXPECT_FALSE(GetModuleHandleExA(flags, program, &found)) << flags;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << flags;
  }
  EXPECT_FALSE(GetModuleHandleExA(fromAddress, program, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// Damaged copies of a real module are refused before they are mapped (a copy cut short was
// mapped past its end, and the first touch of the missing pages killed the process).
TEST(LibraryTest, DamagedModuleFilesFailWithBadFormat) {
  std::string whole;
  TempFolder folder;
  FILE* f = std::fopen(platformLibraryPath().c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char buffer[65536];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) whole.append(buffer, got);
  std::fclose(f);
  ASSERT_GT(whole.size(), 300000u);
  ASSERT_TRUE(folder.write("whole.vma", whole));
  EXPECT_EQ(vornplatform::checkModuleFile(folder.file("whole.vma").c_str()),
            vornplatform::ModuleFileCheck::Loadable);
  std::string wrongMachine = whole;
  wrongMachine[18] = static_cast<char>(wrongMachine[18] ^ 0x55);
  std::string wrongClass = whole;
  wrongClass[4] = static_cast<char>(wrongClass[4] == 1 ? 2 : 1);
  const std::pair<const char*, std::string> damaged[] = {
      {"empty", ""},
      {"cut20", whole.substr(0, 20)},
      {"cut1000", whole.substr(0, 1000)},
      {"cut4096", whole.substr(0, 4096)},
      {"cut65536", whole.substr(0, 65536)},
      {"cut300000", whole.substr(0, 300000)},  // inside the layer's code in any build
      {"text", std::string(5000, 'x')},
      {"machine", wrongMachine},
      {"class", wrongClass},
  };
  for (const auto& [name, bytes] : damaged) {
    std::string file = std::string(name) + ".vma";
    ASSERT_TRUE(folder.write(file, bytes)) << name;
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA(folder.file(file).c_str()), nullptr) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << name;
  }
  // A name that opens nothing is still the loader's to look for.
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA(folder.file("absent.vma").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(GdiMathTest, MulDivRoundsToNearestAndFailsWithMinusOne) {
  struct Case {
    int a, b, c, expected;
  } cases[] = {
      {10, 3, 4, 8},
      {9, 96, 72, 12},
      {7, 1, 3, 2},
      {0, 100, 7, 0},  // nearest
      {1, 1, 2, 1},
      {-1, 1, 2, -1},
      {5, 3, -2, -8},
      {-5, -3, -2, -8},  // halves away from zero
      {5, 5, 0, -1},
      {INT_MAX, 2, 1, -1},
      {65536, 65536, 2, -1},  // no divisor, beyond 32 bits
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {INT_MIN, INT_MIN, INT_MIN, INT_MIN},  // 64-bit product
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(GdiMathTest, RectanglesAreHalfOpen) {
  RECT r;
  ASSERT_TRUE(SetRect(&r, 10, 20, 30, 40));
  for (POINT p : {POINT{10, 20}, POINT{29, 39}}) EXPECT_TRUE(PtInRect(&r, p)) << p.x << "," << p.y;
  for (POINT p : {POINT{30, 39}, POINT{29, 40}, POINT{9, 25}})
    EXPECT_FALSE(PtInRect(&r, p)) << p.x << "," << p.y;
  ASSERT_TRUE(InflateRect(&r, 2, -3) && OffsetRect(&r, -8, 1));
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}),
            std::vector<LONG>({0, 24, 24, 38}));
  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
  EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

}  // namespace
