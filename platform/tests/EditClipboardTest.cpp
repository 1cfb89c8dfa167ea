// The edit controls and the clipboard: the keys a person uses, after a subclass had its say,
// and WM_COPY, WM_CUT and WM_PASTE with the text's encoding, the line rule and the limit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <string>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

class EditClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    top = makeTop(0, 0, 400, 200);
    ShowWindow(top, SW_SHOW);
    edit = make("RichEdit20A", ES_MULTILINE);
    SetFocus(edit);
  }
  void TearDown() override { closeTop(top); }
  HWND make(const char* className, DWORD style) {
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 60, top,
                           nullptr, nullptr, nullptr);
  }
  static void setClipboard(const char* utf8) {
    QApplication::clipboard()->setText(QString::fromUtf8(utf8));
  }
  static std::string clipboard() {
    return QApplication::clipboard()->text().toUtf8().toStdString();
  }
  static std::string textOf(HWND hwnd) {
    char buffer[128] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
  }
  HWND top = nullptr;
  HWND edit = nullptr;
};

TEST_F(EditClipboard, KeysCopyCutAndPasteTextAsTyped) {
  setClipboard("caf\xc3\xa9 \xe2\x82\xac");
  vorntest::pressKey(edit, 'V', vorntest::ControlKey);
  vorntest::pressKey(edit, VK_INSERT, vorntest::ShiftKey);
  EXPECT_EQ(textOf(edit),
            "caf\xc3\xa9 \xe2\x82\xac"
            "caf\xc3\xa9 \xe2\x82\xac");
  SendMessageA(edit, EM_SETSEL, 0, 5);
  vorntest::pressKey(edit, 'C', vorntest::ControlKey);
  EXPECT_EQ(clipboard(), "caf\xc3\xa9");
  SendMessageA(edit, EM_SETSEL, 5, 9);
  vorntest::pressKey(edit, VK_INSERT, vorntest::ControlKey);
  EXPECT_EQ(clipboard(), " \xe2\x82\xac");
  vorntest::pressKey(edit, VK_DELETE, vorntest::ShiftKey);
  SendMessageA(edit, EM_SETSEL, 0, 5);
  vorntest::pressKey(edit, 'X', vorntest::ControlKey);
  EXPECT_EQ(textOf(edit), "caf\xc3\xa9 \xe2\x82\xac");
  EXPECT_EQ(clipboard(), "caf\xc3\xa9");
}

WNDPROC classProc = nullptr;
UINT swallowed = 0;
LRESULT CALLBACK swallowOne(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == swallowed) return 0;
  return CallWindowProcA(classProc, hwnd, msg, wParam, lParam);
}

TEST_F(EditClipboard, ASubclassSeesTheKeyAndThePasteFirst) {
  setClipboard("x");
  classProc = reinterpret_cast<WNDPROC>(
      SetWindowLongA(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&swallowOne)));
  for (UINT msg : {static_cast<UINT>(WM_KEYDOWN), static_cast<UINT>(WM_PASTE)}) {
    swallowed = msg;
    vorntest::pressKey(edit, 'V', vorntest::ControlKey);
    vorntest::pressKey(edit, VK_INSERT, vorntest::ShiftKey);
  }
  EXPECT_EQ(textOf(edit), "");
  swallowed = 0;
  vorntest::pressKey(edit, 'V', vorntest::ControlKey);
  EXPECT_EQ(textOf(edit), "x");
}

TEST_F(EditClipboard, MessagesKeepTheLineRuleTheLimitAndReadOnly) {
  setClipboard("first \xc3\xbc\r\nsecond");
  HWND line = make("EDIT", 0);
  SendMessageA(line, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(line), "first \xc3\xbc");
  SendMessageA(line, EM_SETSEL, 0, -1);
  SendMessageA(line, WM_CUT, 0, 0);
  EXPECT_EQ(textOf(line), "");
  EXPECT_EQ(clipboard(), "first \xc3\xbc");
  SendMessageA(line, EM_LIMITTEXT, 7, 0);  // room for "first " and half of the last letter
  vorntest::pressKey(line, 'V', vorntest::ControlKey);  // an "EDIT" reads it as its character
  EXPECT_EQ(textOf(line), "first ");

  setClipboard("first \xc3\xbc\r\nsecond");
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(edit), "first \xc3\xbc\r\nsecond");
  SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CUT, 0, 0);
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(edit), "first \xc3\xbc\r\nsecond");
  SendMessageA(edit, WM_COPY, 0, 0);
  EXPECT_EQ(clipboard(), "first \xc3\xbc\nsecond");
}

}  // namespace
