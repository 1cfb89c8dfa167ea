// Window core: classes, creation and destruction order, procedures and subclassing, text.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class WindowCore : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
};

LRESULT CALLBACK swallowProc(HWND, UINT, WPARAM, LPARAM) { return 77; }

// Every recorded message as its window and number, in order.
std::vector<std::pair<HWND, UINT>> order() {
  std::vector<std::pair<HWND, UINT>> out;
  for (const Seen& s : seen()) out.push_back({s.hwnd, s.msg});
  return out;
}

TEST_F(WindowCore, ClassNamesIgnoreCaseAndRegisterOnce) {
  className();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = recordingProc;
  wc.lpszClassName = "VORNTESTWINDOW";
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  WNDCLASSEXA info{};
  ASSERT_TRUE(GetClassInfoExA(nullptr, "vorntestwindow", &info));
  EXPECT_EQ(info.lpfnWndProc, &recordingProc);
  EXPECT_TRUE(GetClassInfoExA(nullptr, "button", &info) &&
              GetClassInfoExA(nullptr, "STATIC", &info));
  wc.lpszClassName = "Static";
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  EXPECT_FALSE(UnregisterClassA("Button", nullptr));
  EXPECT_FALSE(CreateWindowExA(0, "NoSuch", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(WindowCore, CreationSendsCreateThenSizeAndMove) {
  HWND top = makeTop(10, 20, 300, 200);
  EXPECT_EQ(sequenceOf(top), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
  EXPECT_EQ(messagesOf(top, WM_SIZE)[0].lParam, MAKELPARAM(300, 200));
  EXPECT_EQ(messagesOf(top, WM_MOVE)[0].lParam, MAKELPARAM(10, 20));
  EXPECT_EQ(GetDlgCtrlID(makeChild(top, 42)), 42);  // a child's menu handle is its id
  DestroyWindow(top);
}

TEST_F(WindowCore, CreateReturningMinusOneFailsAndLeavesNoWindow) {
  HWND failed = nullptr;
  answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT* result) {
    if (msg != WM_CREATE) return false;
    failed = hwnd;
    *result = -1;
    return true;
  };
  EXPECT_EQ(makeTop(), nullptr);
  ASSERT_NE(failed, nullptr);
  EXPECT_FALSE(IsWindow(failed));
  EXPECT_EQ(messagesOf(failed, WM_NCDESTROY).size(), 1u);
}

TEST_F(WindowCore, DestroyOrderAndDeadHandlesAreHarmless) {
  HWND top = makeTop();
  HWND child = makeChild(top, 1);
  HWND grandchild = makeChild(child, 2);
  bool aliveDuringDestroy = true;
  answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg == WM_DESTROY && hwnd == top) {
      aliveDuringDestroy = IsWindow(top);
      EXPECT_FALSE(DestroyWindow(top));  // re-entry does nothing
    }
    return false;
  };
  seen().clear();
  ASSERT_TRUE(DestroyWindow(top));
  const std::vector<std::pair<HWND, UINT>> expected{
      {top, WM_DESTROY},          {child, WM_DESTROY},   {grandchild, WM_DESTROY},
      {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(order(), expected);
  EXPECT_FALSE(aliveDuringDestroy);
  for (HWND dead : {top, child, grandchild, static_cast<HWND>(nullptr)}) {
    SCOPED_TRACE(reinterpret_cast<uintptr_t>(dead));
    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(IsWindow(dead) || DestroyWindow(dead) || ShowWindow(dead, SW_SHOW) ||
                 MoveWindow(dead, 0, 0, 5, 5, TRUE) || GetWindowRect(dead, &r));
    EXPECT_FALSE(PostMessageA(dead ? dead : reinterpret_cast<HWND>(1), WM_USER, 0, 0));
    EXPECT_EQ(SendMessageA(dead, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(GetWindowLongA(dead, GWL_STYLE) | GetWindowTextLengthA(dead), 0);
    EXPECT_EQ(SetWindowLongA(dead, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&swallowProc)), 0);
  }
  EXPECT_EQ(seen().size(), expected.size());  // the dead got nothing
}

TEST_F(WindowCore, ChildStaysValidDuringParentDestroyAndCanGoFirst) {
  HWND top = makeTop();
  HWND first = makeChild(top, 1), second = makeChild(top, 2);
  answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg == WM_DESTROY && hwnd == top) {
      EXPECT_TRUE(IsWindow(second));
      EXPECT_TRUE(DestroyWindow(first));  // goes entirely, right now
      EXPECT_FALSE(IsWindow(first));
    }
    return false;
  };
  seen().clear();
  ASSERT_TRUE(DestroyWindow(top));
  const std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY},      {first, WM_DESTROY},
                                                    {first, WM_NCDESTROY},  {second, WM_DESTROY},
                                                    {second, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(order(), expected);
}

TEST_F(WindowCore, DefaultEraseFillsTheUpdateRectWithTheClassBrush) {
  HWND top = makeTop();
  HDC dc = GetDC(top);
  RECT all{0, 0, 300, 200};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(top, dc);
  ValidateRect(top, nullptr);
  RECT part{0, 0, 10, 10};
  InvalidateRect(top, &part, TRUE);
  PAINTSTRUCT ps;
  dc = BeginPaint(top, &ps);
  EXPECT_FALSE(ps.fErase);
  EXPECT_EQ(GetPixel(dc, 9, 9), RGB(255, 255, 255));  // the class brush is COLOR_WINDOW + 1
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
  EndPaint(top, &ps);
  DestroyWindow(top);
}

TEST_F(WindowCore, SubclassingSeesMessagesFirstAndCanPassThem) {
  HWND top = makeTop();
  LONG_PTR old = SetWindowLongA(top, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&swallowProc));
  auto classProc = reinterpret_cast<WNDPROC>(old);
  EXPECT_EQ(classProc, &recordingProc);
  seen().clear();
  EXPECT_EQ(SendMessageA(top, WM_USER + 1, 2, 3), 77);
  EXPECT_TRUE(seen().empty());
  CallWindowProcA(classProc, top, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
  char text[32] = "x";
  EXPECT_EQ(GetWindowTextA(top, text, sizeof text), 77);  // the subclass answered
  SetWindowLongA(top, GWL_WNDPROC, old);
  EXPECT_EQ(GetWindowTextA(top, text, 4), 3);
  EXPECT_STREQ(text, "ren");  // truncated to the buffer, always terminated
  EXPECT_EQ(GetWindowTextLengthA(top), 7);
  DestroyWindow(top);
}

TEST_F(WindowCore, WindowLongsKeepPointerSizedValues) {
  HWND top = makeTop();
  LONG_PTR big = static_cast<LONG_PTR>(0x123456789ABCLL);
  SetWindowLongA(top, GWL_USERDATA, big);
  EXPECT_EQ(GetWindowLongA(top, GWL_USERDATA), big);
  SetWindowLongA(top, 8, big);
  EXPECT_EQ(GetWindowLongA(top, 8), big);
  EXPECT_EQ(GetWindowLongA(top, 64), 0);  // beyond the class's extra bytes
  seen().clear();
  LONG_PTR oldStyle = SetWindowLongA(top, GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_DISABLED);
  // An overlapped window clips its siblings.
  EXPECT_EQ(static_cast<DWORD>(oldStyle), static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS));
  EXPECT_FALSE(IsWindowEnabled(top));
  EXPECT_EQ(wParamsOf(top, WM_STYLECHANGED), std::vector<WPARAM>{static_cast<WPARAM>(GWL_STYLE)});
  EXPECT_FALSE(EnableWindow(top, TRUE) == FALSE);  // reports it was disabled
  EXPECT_TRUE(IsWindowEnabled(top));
  DestroyWindow(top);
}

TEST_F(WindowCore, FindWindowByClassAndTitle) {
  HWND a = makeTop(), b = makeTop();
  SetWindowTextA(a, "alpha");
  SetWindowTextA(b, "beta");
  EXPECT_EQ(FindWindowA("vorntestwindow", "beta"), b);
  EXPECT_EQ(FindWindowA(nullptr, "alpha"), a);
  EXPECT_EQ(FindWindowA("Button", "alpha"), nullptr);
  DestroyWindow(a);
  EXPECT_EQ(FindWindowA(nullptr, "alpha"), nullptr);
  DestroyWindow(b);
}

TEST_F(WindowCore, HandlesAreSmallAndNeverReused) {
  HWND first = makeTop();
  DestroyWindow(first);
  HWND second = makeTop();
  EXPECT_NE(first, second);
  EXPECT_LT(reinterpret_cast<uintptr_t>(second), 0x100000000ull);
  DestroyWindow(second);
}

}  // namespace
