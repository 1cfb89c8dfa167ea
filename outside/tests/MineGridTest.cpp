// The grid library stand-in as the game sees it: its six entry points by name, clicks reported
// to the given window only on hidden cells while enabled, the leave strip, and its call log.
#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

template <typename Call>
Call entry(HMODULE library, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

std::string& received() {
  static std::string seen;
  return seen;
}

// The game's window: notes each 26310 message as "column,row ".
LRESULT CALLBACK gameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 26310) {
    received() += std::to_string(static_cast<int>(wParam)) + "," +
                  std::to_string(static_cast<int>(lParam)) + " ";
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string posted() {
  vorntest::pumpFor(20);
  std::string out = received();
  received().clear();
  return out;
}

TEST(MineGrid, ReportsClicksOnHiddenCellsWhileEnabledAndLogsItsCalls) {
  HMODULE library = LoadLibraryA(MINEGRID_PATH);
  ASSERT_NE(nullptr, library);
  for (const char* name : {"Init", "Reset", "Enable", "Fill", "BeginUpdate", "EndUpdate"})
    EXPECT_NE(nullptr, entry<void (*)()>(library, name)) << name;
  auto init = entry<void (*)(HWND, int, int)>(library, "Init");
  auto enable = entry<void (*)(unsigned char)>(library, "Enable");
  auto fill = entry<void (*)(int, int, int, COLORREF)>(library, "Fill");
  auto click = entry<int (*)(int, int)>(library, "MineGridClick");
  auto leave = entry<int (*)()>(library, "MineGridLeave");
  auto log = entry<const char* (*)()>(library, "MineGridCallLog");
  auto gridWindow = entry<HWND (*)()>(library, "MineGridWindow");

  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  info.lpfnWndProc = gameProc;
  info.lpszClassName = "MineGridTestGame";
  RegisterClassExA(&info);
  HWND owner = CreateWindowExA(0, "MineGridTestGame", "game", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                               nullptr, nullptr, nullptr);
  init(owner, 4, 3);
  ASSERT_NE(nullptr, gridWindow());
  EXPECT_EQ(owner, GetParent(gridWindow()));
  fill(1, 1, 2, RGB(0, 0, 0));
  fill(9, 9, 1, RGB(0, 0, 0));  // outside: logged, nothing drawn
  EXPECT_EQ(1, click(0, 0));
  EXPECT_EQ(0, click(1, 1)) << "shown already";
  EXPECT_EQ(0, click(4, 0));
  enable(0);
  EXPECT_EQ(0, click(2, 2));
  EXPECT_EQ(1, leave()) << "leaving works on the partner's turn too";
  EXPECT_EQ("0,0 -1,0 ", posted());
  EXPECT_EQ(std::string("Init 4 3\nFill 1 1 2 000000\nFill 9 9 1 000000\nEnable 0\n"), log());

  // A click of the pointer on a cell is a click too.
  enable(1);
  ShowWindow(owner, SW_SHOW);
  ASSERT_TRUE(vorntest::clickAt(gridWindow(), 18 * 3 + 5, 18 * 2 + 5));
  EXPECT_EQ("3,2 ", posted());
  DestroyWindow(owner);
  EXPECT_EQ(0, click(0, 1)) << "the window is gone";
}

}  // namespace
