// What the host's windows rely on: broadcasts to every top-level window, dead handles that
// call nothing, 8-bit menu texts, the quote key and the screen picture with its headless run.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/Screenshot.h"
#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "platform/tests/WindowTestKit.h"

extern char** environ;

using namespace windowtest;

namespace {

namespace fs = std::filesystem;

class HostWindows : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override {
    for (HWND hwnd : windows)
      if (IsWindow(hwnd)) DestroyWindow(hwnd);
    vornplatform::processEventsFor(1);
    reset();
  }
  HWND top(int x, int y, int w, int h, bool visible) {
    HWND hwnd = makeTop(x, y, w, h, WS_POPUP);
    if (visible) ShowWindow(hwnd, SW_SHOW);
    windows.push_back(hwnd);
    return hwnd;
  }
  std::vector<HWND> windows;
};

TEST_F(HostWindows, BroadcastsReachEveryTopLevelWindowOnly) {
  HWND shown = top(10, 10, 100, 80, true);
  HWND hidden = top(200, 10, 100, 80, false);
  HWND child = makeChild(shown, 3);
  EXPECT_EQ(SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0), 1);
  std::atomic<LRESULT> fromThread{0};
  std::thread worker([&] { fromThread = SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 1, 0); });
  vorntest::pumpUntil([&] { return fromThread.load() != 0; }, 2000);
  worker.join();
  EXPECT_EQ(fromThread.load(), 1);
  EXPECT_TRUE(PostMessageA(HWND_BROADCAST, WM_USER + 7, 5, 6));
  vorntest::pumpFor(20);
  for (HWND hwnd : {shown, hidden}) {
    SCOPED_TRACE(reinterpret_cast<uintptr_t>(hwnd));
    EXPECT_EQ(wParamsOf(hwnd, WM_FONTCHANGE), (std::vector<WPARAM>{0, 1}));
    EXPECT_EQ(wParamsOf(hwnd, WM_USER + 7), std::vector<WPARAM>{5});
  }
  EXPECT_TRUE(messagesOf(child, WM_FONTCHANGE).empty());
  EXPECT_TRUE(messagesOf(child, WM_USER + 7).empty());
}

std::atomic<int> completions{0};
void CALLBACK countCompletion(HWND, UINT, ULONG_PTR, LRESULT) { ++completions; }

TEST_F(HostWindows, DestroyedWindowsFailEverySendAndPostAndCallNothing) {
  HWND gone = top(10, 10, 50, 50, true);
  DestroyWindow(gone);
  vornplatform::processEventsFor(1);
  reset();
  completions = 0;
  EXPECT_FALSE(SendMessageCallbackA(gone, WM_USER + 0x1003, 1, 0, countCompletion, 0));
  EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
  EXPECT_EQ(SendMessageA(gone, WM_USER, 0, 0), 0);
  BOOL callbackSent = TRUE, posted = TRUE;
  LRESULT sent = 1;
  std::thread worker([&] {
    callbackSent = SendMessageCallbackA(gone, WM_USER + 0x1003, 1, 0, countCompletion, 0);
    posted = PostMessageA(gone, WM_USER, 0, 0);
    sent = SendMessageA(gone, WM_USER, 0, 0);
  });
  worker.join();
  vorntest::pumpFor(20);
  EXPECT_FALSE(callbackSent);
  EXPECT_FALSE(posted);
  EXPECT_EQ(sent, 0);
  EXPECT_EQ(completions.load(), 0);
  EXPECT_TRUE(seen().empty());
}

QMenuBar* barOf(HWND hwnd) { return vornplatform::topLevelWidgetOf(hwnd)->findChild<QMenuBar*>(); }

TEST_F(HostWindows, MenuTextsShowStrayBytesAsWindows1252AndGiveTheBytesBack) {
  HWND hwnd = top(10, 10, 200, 100, true);
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuA(popup, MF_STRING, 11, "a\xB2"));
  ASSERT_TRUE(InsertMenuA(popup, 0, MF_BYPOSITION | MF_STRING, 12, "i\xB2"));
  ASSERT_TRUE(AppendMenuA(popup, MF_STRING, 13, "caf\xC3\xA9"));
  ASSERT_TRUE(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "p\xB2"));
  ASSERT_TRUE(AppendMenuA(bar, MF_STRING, 14, "old"));
  ASSERT_TRUE(ModifyMenuA(bar, 14, MF_BYCOMMAND | MF_STRING, 14, "m\xB2"));
  ASSERT_TRUE(SetMenu(hwnd, bar));
  QMenuBar* shown = barOf(hwnd);
  ASSERT_NE(shown, nullptr);
  QList<QAction*> top = shown->actions();
  ASSERT_EQ(top.size(), 2);
  EXPECT_EQ(top[0]->text(), QString::fromUtf8("p\xC2\xB2"));
  EXPECT_EQ(top[1]->text(), QString::fromUtf8("m\xC2\xB2"));
  ASSERT_NE(top[0]->menu(), nullptr);
  QStringList items;
  for (QAction* action : top[0]->menu()->actions()) items << action->text();
  EXPECT_EQ(items, (QStringList{QString::fromUtf8("i\xC2\xB2"), QString::fromUtf8("a\xC2\xB2"),
                                QString::fromUtf8("caf\xC3\xA9")}));

  struct Case {
    HMENU menu;
    UINT item;
    UINT flags;
    std::string bytes;
  };
  for (const Case& c :
       {Case{bar, 0, MF_BYPOSITION, "p\xB2"}, Case{bar, 14, MF_BYCOMMAND, "m\xB2"},
        Case{popup, 0, MF_BYPOSITION, "i\xB2"}, Case{bar, 11, MF_BYCOMMAND, "a\xB2"},
        Case{popup, 13, MF_BYCOMMAND, "caf\xC3\xA9"}}) {
    SCOPED_TRACE(c.bytes);
    char text[32];
    EXPECT_EQ(GetMenuStringA(c.menu, c.item, text, sizeof text, c.flags),
              static_cast<int>(c.bytes.size()));
    EXPECT_EQ(std::string(text), c.bytes);
  }
}

TEST_F(HostWindows, QuoteKeyIsOem7WithItsCharacters) {
  HWND hwnd = top(10, 10, 200, 100, true);
  struct Case {
    const char* how;
    std::function<bool()> press;
    WPARAM character;
  };
  const Case cases[] = {
      {"typed apostrophe", [&] { return vorntest::typeText(hwnd, "'"); }, '\''},
      {"the key", [&] { return vorntest::pressKey(hwnd, VK_OEM_7); }, '\''},
      {"the key with shift", [&] { return vorntest::pressKey(hwnd, VK_OEM_7, vorntest::ShiftKey); },
       '"'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    reset();
    ASSERT_TRUE(c.press());
    vorntest::pumpFor(5);
    EXPECT_EQ(wParamsOf(hwnd, WM_KEYDOWN), std::vector<WPARAM>{222});
    EXPECT_EQ(wParamsOf(hwnd, WM_CHAR), std::vector<WPARAM>{c.character});
    EXPECT_EQ(wParamsOf(hwnd, WM_KEYUP), std::vector<WPARAM>{222});
  }
}

// Qt reports each activation back; the layer must not ask Qt again, or two shown windows
// take turns being active forever and the event loop never returns.
TEST_F(HostWindows, TwoShownWindowsSettleWithTheLastShownActive) {
  HWND first = top(10, 10, 100, 80, true);
  HWND second = top(200, 10, 100, 80, true);
  vorntest::pumpFor(30);
  EXPECT_EQ(GetForegroundWindow(), second);
  EXPECT_LE(messagesOf(first, WM_ACTIVATE).size(), 4u);
  EXPECT_LE(messagesOf(second, WM_ACTIVATE).size(), 4u);
}

// Fills its client area with the colour kept in its user data.
LRESULT CALLBACK colourProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT all;
  GetClientRect(hwnd, &all);
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongA(hwnd, GWL_USERDATA)));
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  EndPaint(hwnd, &ps);
  return 0;
}

class Screen : public HostWindows {
 protected:
  HWND coloured(int x, int y, int w, int h, COLORREF colour, bool visible = true) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = colourProc;
      wc.lpszClassName = "VornColourWindow";
      registered = RegisterClassExA(&wc) != 0;
    }
    HWND hwnd = CreateWindowExA(0, "VornColourWindow", "", WS_POPUP, x, y, w, h, nullptr, nullptr,
                                nullptr, nullptr);
    SetWindowLongA(hwnd, GWL_USERDATA, static_cast<LONG_PTR>(colour));
    if (visible) ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    windows.push_back(hwnd);
    return hwnd;
  }
  // Two visible windows and two that must not show: one hidden, one minimised.
  void arrange() {
    coloured(100, 100, 200, 100, RGB(255, 0, 0));
    coloured(400, 250, 100, 50, RGB(0, 0, 255));
    coloured(1000, 1000, 50, 50, RGB(0, 255, 0), false);
    HWND minimised = coloured(-500, -500, 50, 50, RGB(0, 255, 0));
    ShowWindow(minimised, SW_MINIMIZE);
    vorntest::pumpFor(10);
  }
  static void expectArranged(const QImage& image) {
    ASSERT_EQ(image.size(), QSize(400, 200)) << "the box of the two visible windows";
    EXPECT_EQ(image.pixelColor(100, 50), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(350, 175), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(350, 50), QColor(Qt::white)) << "between windows";
    EXPECT_EQ(image.pixelColor(100, 150), QColor(Qt::white));
  }
};

TEST_F(Screen, VisibleTopLevelWindowsAtTheirPlacesOnWhite) {
  EXPECT_TRUE(vornplatform::composeScreen().isNull()) << "nothing shown yet";
  arrange();
  expectArranged(vornplatform::composeScreen());
  TempFolder tmp;
  ASSERT_TRUE(vorntest::saveScreenPng(tmp.file("screen.png").c_str()));
  expectArranged(QImage(QString::fromStdString(tmp.file("screen.png"))));
  EXPECT_FALSE(vorntest::saveScreenPng(tmp.file("no/such/folder.png").c_str()));
}

TEST(ScreenshotRequest, PathAndDelayFromTheEnvironmentsText) {
  struct Case {
    const char* path;
    const char* delay;
    std::string wantPath;
    int wantDelay;
  };
  const Case cases[] = {
      {nullptr, nullptr, "", 3000},
      {"a.png", nullptr, "a.png", 3000},
      {"a.png", "250", "a.png", 250},
      {"a.png", "0", "a.png", 0},
      {"a.png", "", "a.png", 3000},
      {"a.png", "x", "a.png", 3000},
      {"a.png", "-5", "a.png", 3000},
      {"a.png", "12ms", "a.png", 3000},
      {"a.png", "99999999999", "a.png", 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay ? c.delay : "(null)");
    vornplatform::ScreenshotRequest request = vornplatform::screenshotRequestFrom(c.path, c.delay);
    EXPECT_EQ(request.path, c.wantPath);
    EXPECT_EQ(request.delayMs, c.wantDelay);
  }
}

// Waits (bounded) for the WM_QUIT of this thread; -1 when none came.
int quitCode(int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  MSG msg;
  while (std::chrono::steady_clock::now() < end) {
    vornplatform::processEventsFor(2);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      DispatchMessageA(&msg);
    }
  }
  return -1;
}

TEST_F(Screen, ArmedScreenshotSavesThenQuitsWithItsOutcome) {
  arrange();
  TempFolder tmp;
  vornplatform::armScreenshot({tmp.file("shot.png"), 30});
  EXPECT_EQ(quitCode(3000), 0);
  expectArranged(QImage(QString::fromStdString(tmp.file("shot.png"))));
  vornplatform::armScreenshot({tmp.file("missing/shot.png"), 0});
  EXPECT_EQ(quitCode(3000), 1) << "a failed save still ends the loop, with code 1";
}

// In a child process started by the test below: a program's message loop with one window.
TEST_F(Screen, ChildLoopEndsWithTheScreenshot) {
  if (!std::getenv("VORNITH_SCREENSHOT")) GTEST_SKIP() << "runs as a child of the test below";
  arrange();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST(HeadlessScreenshot, EnvironmentAsksAProgramForOne) {
  TempFolder tmp;
  std::string exe = fs::read_symlink("/proc/self/exe").string();
  std::string filter = "--gtest_filter=Screen.ChildLoopEndsWithTheScreenshot";
  std::vector<std::string> env = {"VORNITH_SCREENSHOT=" + tmp.file("shot.png"),
                                  "VORNITH_SCREENSHOT_DELAY=100", "QT_QPA_PLATFORM=offscreen"};
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::vector<char*> argv = {&exe[0], &filter[0], nullptr};
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(&e[0]);
  envp.push_back(nullptr);
  pid_t child = 0;
  auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(posix_spawn(&child, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
  QImage shot(QString::fromStdString(tmp.file("shot.png")));
  EXPECT_EQ(shot.size(), QSize(400, 200));
}

}  // namespace
