// The menu an "EDIT" control shows for WM_CONTEXTMENU: undo, cut, copy, paste, delete and
// select all, each offered when it can act. A rich edit has no such menu.
#include <QApplication>
#include <QClipboard>

#include "platform/ControlRichEdit.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

// The items carry the numbers of the messages that do the same, as Windows' own menu does.
enum EditCommand : UINT {
  kCut = WM_CUT,
  kCopy = WM_COPY,
  kPaste = WM_PASTE,
  kDelete = 0x0303,  // WM_CLEAR
  kUndo = 0x0304,  // WM_UNDO
  kSelectAll = EM_SETSEL
};

void addItem(HMENU menu, UINT id, const char* text, bool enabled) {
  AppendMenuA(menu, MF_STRING | (enabled ? 0 : MF_GRAYED), id, text);
}

// From the keyboard the menu opens at the caret.
POINT screenPointOf(RichEditWidget* edit, HWND hwnd, LPARAM where) {
  POINT p{static_cast<SHORT>(LOWORD(where)), static_cast<SHORT>(HIWORD(where))};
  if (p.x != -1 || p.y != -1) return p;
  edit->showSelection();
  QPoint caret = edit->viewport()->mapTo(edit, edit->cursorRect().bottomLeft());
  p = POINT{caret.x(), caret.y()};
  ClientToScreen(hwnd, &p);
  return p;
}

// Cut, copy and paste go through their messages, so a subclass sees them as it sees the keys.
void run(RichEditWidget* edit, HWND hwnd, UINT command) {
  edit->showSelection();
  switch (command) {
    case kCut:
    case kCopy:
    case kPaste:
      SendMessageA(hwnd, command, 0, 0);
      break;
    case kDelete:
      SendMessageA(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
      break;
    case kSelectAll:
      SendMessageA(hwnd, EM_SETSEL, 0, -1);
      break;
    default:
      break;
  }
}

}  // namespace

void showEditMenu(RichEditWidget* edit, LPARAM where) {
  HWND hwnd = windowOfWidget(edit);
  if (!hwnd) return;
  bool selected = edit->selection().hasSelection();
  bool writable = !edit->isReadOnly();
  bool clipboardText = !QApplication::clipboard()->text().isEmpty();
  HMENU menu = CreatePopupMenu();
  addItem(menu, kUndo, "&Undo", false);  // the control keeps no undo steps
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  addItem(menu, kCut, "Cu&t", selected && writable);
  addItem(menu, kCopy, "&Copy", selected);
  addItem(menu, kPaste, "&Paste", writable && clipboardText);
  addItem(menu, kDelete, "&Delete", selected && writable);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  addItem(menu, kSelectAll, "Select &All", !edit->document()->isEmpty());
  POINT p = screenPointOf(edit, hwnd, where);
  UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON;
  auto command = static_cast<UINT>(TrackPopupMenu(menu, flags, p.x, p.y, 0, hwnd, nullptr));
  DestroyMenu(menu);
  if (IsWindow(hwnd)) run(edit, hwnd, command);
}

}  // namespace vornplatform
