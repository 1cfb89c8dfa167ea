// The test hooks of platform/testing.h: a person's mouse and keyboard as Qt events sent to the
// widgets under them, prepared answers and records, waiting, and window snapshots.
#include "platform/testing.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QWheelEvent>
#include <QWidget>

#include <deque>

#include "platform/TextCodec.h"
#include "platform/GdiObjects.h"
#include "platform/MenuAccess.h"
#include "platform/MessageBoxHooks.h"
#include "platform/Screenshot.h"
#include "platform/WindowAccess.h"

namespace {

using namespace vornplatform;

Qt::MouseButton qtButton(int button) {
  switch (button) {
    case vorntest::RightButton:
      return Qt::RightButton;
    case vorntest::MiddleButton:
      return Qt::MiddleButton;
    default:
      return Qt::LeftButton;
  }
}

Qt::KeyboardModifiers qtModifiers(int modifiers) {
  Qt::KeyboardModifiers result = Qt::NoModifier;
  if (modifiers & vorntest::ShiftKey) result |= Qt::ShiftModifier;
  if (modifiers & vorntest::ControlKey) result |= Qt::ControlModifier;
  if (modifiers & vorntest::AltKey) result |= Qt::AltModifier;
  return result;
}

// Where a point of the window lands: its deepest visible child widget, or the window itself.
struct MouseTarget {
  QWidget* widget = nullptr;
  QPoint local;
};

// A point above a top-level window's client area lands on its menu bar.
bool barTargetAt(QWidget* client, HWND hwnd, QPoint point, MouseTarget* target) {
  QWidget* frame = topLevelWidgetOf(hwnd);
  if (point.y() >= 0 || frame == nullptr || client->parentWidget() != frame) return false;
  QPoint inFrame = client->mapTo(frame, point);
  QWidget* child = frame->childAt(inFrame);
  if (child == nullptr || child == client) return false;
  target->widget = child;
  target->local = child->mapFrom(frame, inFrame);
  return true;
}

MouseTarget targetAt(HWND hwnd, int x, int y) {
  MouseTarget target;
  QWidget* client = clientWidgetOf(hwnd);
  if (client == nullptr) return target;
  QPoint point(x, y);
  if (barTargetAt(client, hwnd, point, &target)) return target;
  QWidget* child = client->childAt(point);
  target.widget = child == nullptr ? client : child;
  target.local = target.widget->mapFrom(client, point);
  return target;
}

void sendMouse(const MouseTarget& target, QEvent::Type type, Qt::MouseButton button,
               Qt::MouseButtons held, Qt::KeyboardModifiers modifiers) {
  QPointF local(target.local);
  QMouseEvent event(type, local, QPointF(target.widget->mapToGlobal(target.local)), button, held,
                    modifiers);
  QApplication::sendEvent(target.widget, &event);
}

MouseTarget moved(const MouseTarget& from, HWND hwnd, int x, int y) {
  MouseTarget to = from;
  QWidget* client = clientWidgetOf(hwnd);
  if (client != nullptr && to.widget != nullptr)
    to.local = to.widget->mapFrom(client, QPoint(x, y));
  return to;
}

struct KeyStroke {
  int key = 0;
  QString text;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct VirtualKeyName {
  int virtualKey;
  int key;
};

const VirtualKeyName namedKeys[] = {
    {VK_BACK, Qt::Key_Backspace},  {VK_TAB, Qt::Key_Tab},           {VK_RETURN, Qt::Key_Return},
    {VK_SHIFT, Qt::Key_Shift},     {VK_CONTROL, Qt::Key_Control},   {VK_MENU, Qt::Key_Alt},
    {VK_PAUSE, Qt::Key_Pause},     {VK_CAPITAL, Qt::Key_CapsLock},  {VK_ESCAPE, Qt::Key_Escape},
    {VK_SPACE, Qt::Key_Space},     {VK_PRIOR, Qt::Key_PageUp},      {VK_NEXT, Qt::Key_PageDown},
    {VK_END, Qt::Key_End},         {VK_HOME, Qt::Key_Home},         {VK_LEFT, Qt::Key_Left},
    {VK_UP, Qt::Key_Up},           {VK_RIGHT, Qt::Key_Right},       {VK_DOWN, Qt::Key_Down},
    {VK_INSERT, Qt::Key_Insert},   {VK_DELETE, Qt::Key_Delete},     {VK_HELP, Qt::Key_Help},
    {VK_CLEAR, Qt::Key_Clear},     {VK_SNAPSHOT, Qt::Key_Print},    {VK_APPS, Qt::Key_Menu},
    {VK_NUMLOCK, Qt::Key_NumLock}, {VK_SCROLL, Qt::Key_ScrollLock},
};

// Punctuation keys of a US layout: the character unshifted and shifted (Qt's key codes for
// ASCII characters are their codes).
struct PunctuationKey {
  int virtualKey;
  char plain;
  char shifted;
};

const PunctuationKey punctuationKeys[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
};

const VirtualKeyName keypadKeys[] = {
    {VK_MULTIPLY, Qt::Key_Asterisk}, {VK_ADD, Qt::Key_Plus},     {VK_SUBTRACT, Qt::Key_Minus},
    {VK_DECIMAL, Qt::Key_Period},    {VK_DIVIDE, Qt::Key_Slash},
};

// The text a key produces, as a keyboard reports it: control characters for Ctrl+letter.
QString keyText(int virtualKey, Qt::KeyboardModifiers modifiers) {
  bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
  if (letter && (modifiers & Qt::ControlModifier)) return QString(QChar(virtualKey - 'A' + 1));
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return QString();
  if (letter) return QString(QChar((modifiers & Qt::ShiftModifier) ? virtualKey : virtualKey + 32));
  if (virtualKey >= '0' && virtualKey <= '9') return QString(QChar(virtualKey));
  switch (virtualKey) {
    case VK_RETURN:
      return QStringLiteral("\r");
    case VK_TAB:
      return QStringLiteral("\t");
    case VK_BACK:
      return QStringLiteral("\b");
    case VK_ESCAPE:
      return QStringLiteral("\x1b");
    case VK_SPACE:
      return QStringLiteral(" ");
    default:
      return QString();
  }
}

KeyStroke strokeOfVirtualKey(int virtualKey, Qt::KeyboardModifiers modifiers) {
  KeyStroke stroke;
  stroke.modifiers = modifiers;
  stroke.text = keyText(virtualKey, modifiers);
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    stroke.key = virtualKey;  // Qt's codes for letters and digits are their ASCII codes
  } else if (virtualKey >= VK_F1 && virtualKey <= VK_F24) {
    stroke.key = Qt::Key_F1 + (virtualKey - VK_F1);
  } else if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) {
    stroke.key = Qt::Key_0 + (virtualKey - VK_NUMPAD0);
    stroke.modifiers |= Qt::KeypadModifier;
  }
  for (const VirtualKeyName& name : namedKeys)
    if (name.virtualKey == virtualKey) stroke.key = name.key;
  for (const PunctuationKey& punctuation : punctuationKeys) {
    if (punctuation.virtualKey != virtualKey) continue;
    char c = (modifiers & Qt::ShiftModifier) ? punctuation.shifted : punctuation.plain;
    stroke.key = c;
    if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier))) stroke.text = QString(QChar(c));
  }
  for (const VirtualKeyName& name : keypadKeys) {
    if (name.virtualKey == virtualKey) {
      stroke.key = name.key;
      stroke.modifiers |= Qt::KeypadModifier;
    }
  }
  return stroke;
}

// The key a character is typed with; characters beyond ASCII come as text alone.
KeyStroke strokeOfCharacter(QChar c) {
  switch (c.unicode()) {
    case '\n':
    case '\r':
      return strokeOfVirtualKey(VK_RETURN, Qt::NoModifier);
    case '\t':
      return strokeOfVirtualKey(VK_TAB, Qt::NoModifier);
    case '\b':
      return strokeOfVirtualKey(VK_BACK, Qt::NoModifier);
    default:
      break;
  }
  KeyStroke stroke;
  stroke.text = QString(c);
  if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) stroke.modifiers = Qt::ShiftModifier;
  if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
    stroke.key = c.toUpper().unicode();
  else
    stroke.key = Qt::Key_unknown;
  return stroke;
}

void sendKey(QWidget* widget, const KeyStroke& stroke, bool autoRepeat) {
  QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text, autoRepeat);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text, autoRepeat);
  QApplication::sendEvent(widget, &release);
}

// Prepared pop-up menu picks, oldest first; pop-ups run on the GUI thread only.
std::deque<UINT>& popupAnswers() {
  static std::deque<UINT> answers;
  return answers;
}

UINT nextPopupAnswer(HMENU, int, int) {
  if (popupAnswers().empty()) return 0;
  UINT id = popupAnswers().front();
  popupAnswers().pop_front();
  return id;
}

}  // namespace

namespace vorntest {

bool clickAt(HWND hwnd, int x, int y, int button, int modifiers) {
  MouseTarget target = targetAt(hwnd, x, y);
  if (target.widget == nullptr) return false;
  Qt::MouseButton pressed = qtButton(button);
  sendMouse(target, QEvent::MouseButtonPress, pressed, pressed, qtModifiers(modifiers));
  sendMouse(target, QEvent::MouseButtonRelease, pressed, Qt::NoButton, qtModifiers(modifiers));
  return true;
}

bool doubleClickAt(HWND hwnd, int x, int y, int button) {
  MouseTarget target = targetAt(hwnd, x, y);
  if (target.widget == nullptr) return false;
  Qt::MouseButton pressed = qtButton(button);
  sendMouse(target, QEvent::MouseButtonPress, pressed, pressed, Qt::NoModifier);
  sendMouse(target, QEvent::MouseButtonRelease, pressed, Qt::NoButton, Qt::NoModifier);
  sendMouse(target, QEvent::MouseButtonDblClick, pressed, pressed, Qt::NoModifier);
  sendMouse(target, QEvent::MouseButtonRelease, pressed, Qt::NoButton, Qt::NoModifier);
  return true;
}

bool dragFrom(HWND hwnd, int x1, int y1, int x2, int y2, int button) {
  MouseTarget target = targetAt(hwnd, x1, y1);
  if (target.widget == nullptr) return false;
  Qt::MouseButton pressed = qtButton(button);
  sendMouse(target, QEvent::MouseButtonPress, pressed, pressed, Qt::NoModifier);
  const int steps = 4;
  for (int i = 1; i <= steps; ++i) {
    int x = x1 + (x2 - x1) * i / steps;
    int y = y1 + (y2 - y1) * i / steps;
    // A moving drag ends when its window goes; the rest of it goes nowhere.
    if (clientWidgetOf(hwnd) == nullptr) return false;
    sendMouse(moved(target, hwnd, x, y), QEvent::MouseMove, Qt::NoButton, pressed, Qt::NoModifier);
  }
  if (clientWidgetOf(hwnd) == nullptr) return false;
  sendMouse(moved(target, hwnd, x2, y2), QEvent::MouseButtonRelease, pressed, Qt::NoButton,
            Qt::NoModifier);
  return true;
}

bool moveMouseTo(HWND hwnd, int x, int y) {
  MouseTarget target = targetAt(hwnd, x, y);
  if (target.widget == nullptr) return false;
  sendMouse(target, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  return true;
}

bool wheelAt(HWND hwnd, int x, int y, int delta, int modifiers) {
  MouseTarget target = targetAt(hwnd, x, y);
  if (target.widget == nullptr) return false;
  QPointF local(target.local);
  QWheelEvent event(local, QPointF(target.widget->mapToGlobal(target.local)), QPoint(),
                    QPoint(0, delta), Qt::NoButton, qtModifiers(modifiers), Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(target.widget, &event);
  return true;
}

bool moveMouseOutOf(HWND hwnd) {
  QWidget* client = clientWidgetOf(hwnd);
  if (client == nullptr) return false;
  // Qt tells the innermost widget first, then its ancestors.
  if (auto* area = dynamic_cast<QAbstractScrollArea*>(client)) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(area->viewport(), &leave);
  }
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(client, &leave);
  return true;
}

bool typeText(HWND hwnd, const char* text) {
  if (clientWidgetOf(hwnd) == nullptr) return false;
  QString shown = bytesToQString(text);
  for (QChar c : shown) {
    QWidget* widget = clientWidgetOf(hwnd);  // a key may close the window
    if (widget == nullptr) return false;
    sendKey(widget, strokeOfCharacter(c), false);
  }
  return true;
}

bool pressKey(HWND hwnd, int virtualKey, int modifiers, bool autoRepeat) {
  QWidget* widget = clientWidgetOf(hwnd);
  if (widget == nullptr) return false;
  sendKey(widget, strokeOfVirtualKey(virtualKey, qtModifiers(modifiers)), autoRepeat);
  return true;
}

bool pickMenuItem(HWND hwnd, UINT id) { return triggerMenuBarCommand(hwnd, id); }

void answerNextPopupMenu(UINT id) {
  popupAnswers().push_back(id);
  setPopupChooser(nextPopupAnswer);
}

void pickNextPopupMenuItem(UINT id) {
  popupAnswers().push_back(id == 0 ? vornplatform::kPopupPickZero : id);
  setPopupChooser(nextPopupAnswer);
}

void clearPopupMenuAnswers() {
  popupAnswers().clear();
  setPopupChooser(PopupChooser());
}

void answerNextMessageBox(int button) { queueMessageBoxAnswer(button); }

std::vector<ShownMessageBox> shownMessageBoxes() {
  std::vector<ShownMessageBox> shown;
  for (const MessageBoxRecord& record : messageBoxRecords())
    shown.push_back(
        ShownMessageBox{record.owner, record.caption, record.text, record.flags, record.answer});
  return shown;
}

void clearMessageBoxes() { clearMessageBoxRecords(); }

std::vector<UINT> recordedBeeps() { return beepRecords(); }

void clearRecordedBeeps() { clearBeepRecords(); }

void setWorkArea(const RECT& area) { setWorkAreaOverride(&area); }

void clearWorkArea() { setWorkAreaOverride(nullptr); }

void setKeyState(int virtualKey, bool down) { setKeyStateOverride(virtualKey, down ? 0x8000 : 0); }

void clearKeyStates() { clearKeyStateOverrides(); }

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
  ensureApplication();
  QElapsedTimer timer;
  timer.start();
  bool quitSeen = false;
  WPARAM exitCode = 0;
  bool reached = false;
  for (;;) {
    if (done && done()) {
      reached = true;
      break;
    }
    if (timer.elapsed() >= timeoutMs) break;
    processEventsFor(2);
    MSG msg;
    while (!quitSeen && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quitSeen = true;
        exitCode = msg.wParam;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // The loop that owns the quit still has to see it.
  if (quitSeen) PostQuitMessage(static_cast<int>(exitCode));
  return reached;
}

void pumpFor(int milliseconds) { pumpUntil(std::function<bool()>(), milliseconds); }

bool saveWindowPng(HWND hwnd, const char* path) {
  if (path == nullptr) return false;
  QImage image = grabWindowImage(hwnd);
  return !image.isNull() && image.save(QString::fromLocal8Bit(path), "PNG");
}

HBITMAP windowPicture(HWND hwnd) {
  QImage image = grabWindowImage(hwnd);
  return image.isNull() ? nullptr : vornplatform::bitmapFromImage(image);
}

bool saveScreenPng(const char* path) {
  return path != nullptr && vornplatform::saveScreenPng(path);
}

}  // namespace vorntest
