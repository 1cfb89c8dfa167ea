// The edit controls and the desktop's clipboard: WM_COPY, WM_CUT and WM_PASTE, and the keys
// that stand for them. Text leaves as what the control shows and comes in as the layer's 8-bit
// text (UTF-8), so pasted characters arrive as they were copied.
#include <QApplication>
#include <QClipboard>
#include <string>

#include "platform/ControlRichEdit.h"
#include "platform/TextCodec.h"

namespace vornplatform {
namespace {

bool held(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

void copySelection(RichEditWidget* edit) {
  QTextCursor cursor = edit->selection();
  if (!cursor.hasSelection()) return;
  QString text =
      bytesToQString(edit->positions->bytesBetween(cursor.selectionStart(), cursor.selectionEnd()));
  text.replace(QChar('\r'), QChar('\n'));  // paragraph marks as the desktop writes them
  QApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

// Cuts bytes back to n without splitting a UTF-8 sequence.
void cutAtCharacter(std::string* bytes, size_t n) {
  if (bytes->size() <= n) return;
  while (n > 0 && (static_cast<unsigned char>((*bytes)[n]) & 0xC0) == 0x80) --n;
  bytes->resize(n);
}

// The clipboard's text with paragraph marks as the control keeps them; a single-line control
// takes the first line only. What the text limit leaves no room for is dropped.
std::string pastedText(RichEditWidget* edit) {
  QString text = QApplication::clipboard()->text(QClipboard::Clipboard);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
  text.replace(QChar('\n'), QChar('\r'));
  if (!(GetWindowLongA(edit->hwnd, GWL_STYLE) & ES_MULTILINE)) {
    int end = text.indexOf(QChar('\r'));
    if (end >= 0) text.truncate(end);
  }
  std::string bytes = qStringToBytes(text);
  long long start = 0, end = 0;
  selectionBytes(edit, &start, &end);
  long long room = edit->limit - (edit->positions->totalBytes() - (end - start));
  cutAtCharacter(&bytes, room > 0 ? static_cast<size_t>(room) : 0);
  return bytes;
}

void paste(RichEditWidget* edit) {
  std::string bytes = pastedText(edit);
  if (bytes.empty()) return;
  replaceSelection(edit, bytes.data(), bytes.size());
  bool handled = false;
  handleLineMessage(edit, EM_SCROLLCARET, 0, 0, &handled);
}

// The clipboard message a key stands for, or 0. A rich edit reads Ctrl+C, Ctrl+X and Ctrl+V
// on the key-down; an "EDIT" reads them as the characters they make.
UINT clipboardMessageOf(RichEditWidget* edit, UINT msg, WPARAM code) {
  if (msg == WM_CHAR && edit->editClass) {
    switch (code) {
      case 0x03:
        return WM_COPY;
      case 0x18:
        return WM_CUT;
      case 0x16:
        return WM_PASTE;
      default:
        return 0;
    }
  }
  if (msg != WM_KEYDOWN || held(VK_MENU)) return 0;
  bool ctrl = held(VK_CONTROL), shift = held(VK_SHIFT);
  if (code == VK_INSERT && ctrl && !shift) return WM_COPY;
  if (code == VK_INSERT && shift && !ctrl) return WM_PASTE;
  if (code == VK_DELETE && shift && !ctrl) return WM_CUT;
  if (edit->editClass || !ctrl || shift) return 0;
  switch (code) {
    case 'C':
      return WM_COPY;
    case 'X':
      return WM_CUT;
    case 'V':
      return WM_PASTE;
    default:
      return 0;
  }
}

}  // namespace

LRESULT handleClipboardMessage(RichEditWidget* edit, UINT msg, WPARAM wParam, bool* handled) {
  *handled = true;
  if (UINT clipboard = clipboardMessageOf(edit, msg, wParam)) {
    SendMessageA(edit->hwnd, clipboard, 0, 0);
    return 0;
  }
  bool editable = !edit->isReadOnly();
  switch (msg) {
    case WM_COPY:
      copySelection(edit);
      return 0;
    case WM_CUT:
      if (editable && edit->selection().hasSelection()) {
        copySelection(edit);
        replaceSelection(edit, "", 0);
      }
      return 0;
    case WM_PASTE:
      if (editable) paste(edit);
      return 0;
    default:
      *handled = false;
      return 0;
  }
}

}  // namespace vornplatform
