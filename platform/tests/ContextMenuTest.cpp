// Context menus: the right button's release asks the window procedure (WM_CONTEXTMENU, passed
// on to the parent by a child's default processing); a rich edit has no menu of its own, the
// plain edit has the standard one, and Qt never shows a menu of its own.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QTimer>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

WNDPROC editProc = nullptr;
std::vector<UINT> editMessages;

LRESULT CALLBACK watchingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_RBUTTONUP || msg == WM_CONTEXTMENU) editMessages.push_back(msg);
  return CallWindowProcA(editProc, hwnd, msg, wParam, lParam);
}

class ContextMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    editMessages.clear();
    top = makeTop(10, 20, 300, 200);
    ShowWindow(top, SW_SHOW);
  }
  void TearDown() override {
    vorntest::clearPopupMenuAnswers();
    DestroyWindow(top);
    reset();
  }
  HWND makeEdit(const char* className) {
    HWND edit = CreateWindowExA(0, className, "hello", WS_CHILD | WS_VISIBLE, 5, 6, 120, 60, top,
                                nullptr, nullptr, nullptr);
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongA(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(watchingProc)));
    return edit;
  }
  // A right click as Qt reports it: press, release, then its own context menu event (which a
  // widget answers with its menu). True when a menu of Qt's own opened.
  bool rightClick(HWND edit, int x, int y) {
    EXPECT_TRUE(vorntest::clickAt(edit, x, y, vorntest::RightButton));
    auto* area = dynamic_cast<QAbstractScrollArea*>(vornplatform::clientWidgetOf(edit));
    QWidget* target = area ? area->viewport() : vornplatform::clientWidgetOf(edit);
    bool opened = false;
    QTimer::singleShot(50, [&opened] {
      if (QWidget* popup = QApplication::activePopupWidget()) {
        opened = true;
        popup->close();
      }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(x, y),
                            target->mapToGlobal(QPoint(x, y)));
    QApplication::sendEvent(target, &event);
    vornplatform::processEventsFor(80);
    return opened;
  }
  HWND top = nullptr;
};

TEST_F(ContextMenu, ARichEditLeavesTheMenuToItsParent) {
  HWND edit = makeEdit("RichEdit20A");
  seen().clear();
  EXPECT_FALSE(rightClick(edit, 10, 12));
  EXPECT_EQ(editMessages, (std::vector<UINT>{WM_RBUTTONUP, WM_CONTEXTMENU}));
  std::vector<Seen> asked = messagesOf(top, WM_CONTEXTMENU);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].wParam, reinterpret_cast<WPARAM>(edit));
  POINT p{10, 12};
  ClientToScreen(edit, &p);
  EXPECT_EQ(asked[0].lParam, MAKELPARAM(p.x, p.y));  // on the screen
}

TEST_F(ContextMenu, ThePlainEditOffersItsStandardMenu) {
  HWND edit = makeEdit("EDIT");
  SendMessageA(edit, EM_SETSEL, 0, 0);
  vorntest::answerNextPopupMenu(EM_SETSEL);  // "Select All"
  seen().clear();
  EXPECT_FALSE(rightClick(edit, 10, 12));
  EXPECT_TRUE(messagesOf(top, WM_CONTEXTMENU).empty());  // the edit answered it
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_TRUE(start == 0 && end == 5) << start << "," << end;
}

}  // namespace
