// Keys into Win32 messages: virtual keys and characters from Qt's key events, and where the
// messages go (the focus window, as the keyboard's input does on Win32).
#include <QKeyEvent>
#include <string>

#include "platform/InputDelivery.h"
#include "platform/KeyboardMenu.h"
#include "platform/TextCodec.h"
#include "platform/WindowAccess.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

struct KeyEntry {
  int qtKey;
  int vk;
};
// clang-format off
const KeyEntry kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},           {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},      {Qt::Key_Return, VK_RETURN},     {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},      {Qt::Key_Control, VK_CONTROL},   {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_RMENU},      {Qt::Key_Pause, VK_PAUSE},       {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Space, VK_SPACE},       {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_End, VK_END},           {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},             {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},        {Qt::Key_Print, VK_SNAPSHOT},    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Help, VK_HELP},         {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},     {Qt::Key_Super_R, VK_RWIN},      {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},      {Qt::Key_Equal, VK_OEM_PLUS},    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},  {Qt::Key_Less, VK_OEM_COMMA},    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},      {Qt::Key_Question, VK_OEM_2},    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},  {Qt::Key_Bar, VK_OEM_5},         {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},  {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'},          {Qt::Key_At, '2'},               {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},          {Qt::Key_Percent, '5'},          {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},       {Qt::Key_Asterisk, '8'},         {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};
// clang-format on

int keypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return VK_NUMPAD0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return VK_MULTIPLY;
    case Qt::Key_Plus:
      return VK_ADD;
    case Qt::Key_Minus:
      return VK_SUBTRACT;
    case Qt::Key_Period:
      return VK_DECIMAL;
    case Qt::Key_Slash:
      return VK_DIVIDE;
    default:
      return 0;
  }
}

bool keyIsDown(int vk) { return GetKeyState(vk) & 0x8000; }

// Whether the key types a character rather than a control code.
bool typesText(const QKeyEvent* e) {
  QString text = e->text();
  return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F;
}

struct KeyRoute {
  HWND hwnd;
  bool system;   // WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR
  bool altDown;  // the context bit of the message
};

// With no focus, keys from the keyboard go to the active window as system keys. F10 is a
// system key too: it is the keyboard's way into the menu bar.
KeyRoute routeOf(HWND own, int vk, const QKeyEvent* e, bool fromKeyboard) {
  bool ctrl = (e->modifiers() & Qt::ControlModifier) != 0;
  bool alt = (e->modifiers() & Qt::AltModifier) != 0 || vk == VK_MENU;
  KeyRoute route{own, (alt || vk == VK_F10) && !ctrl, alt};
  if (!fromKeyboard) return route;
  if (HWND focus = GetFocus()) {
    route.hwnd = focus;
    return route;
  }
  HWND active = GetActiveWindow();
  route.hwnd = active ? active : topLevelOf(own);
  route.system = true;
  return route;
}

}  // namespace

int virtualKeyOf(int key, bool keypad) {
  if (keypad) {
    if (int vk = keypadKey(key)) return vk;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
  for (const KeyEntry& entry : kKeys) {
    if (entry.qtKey == key) return entry.vk;
  }
  return 0;
}

std::string charactersForKey(int vk, const QKeyEvent* e) {
  bool ctrl = e ? (e->modifiers() & Qt::ControlModifier) != 0 : keyIsDown(VK_CONTROL);
  bool shift = e ? (e->modifiers() & Qt::ShiftModifier) != 0 : keyIsDown(VK_SHIFT);
  switch (vk) {
    case VK_RETURN:
      return ctrl ? "\n" : "\r";
    case VK_TAB:
      return ctrl ? "" : "\t";
    case VK_BACK:
      return ctrl ? "\x7f" : "\b";
    case VK_ESCAPE:
      return "\x1b";
    default:
      break;
  }
  if (ctrl) {
    if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk - 'A' + 1));
    if (!e || !(e->modifiers() & Qt::AltModifier)) return "";  // AltGr still types
  }
  if (e) return typesText(e) ? qStringToBytes(e->text()) : std::string();
  if (vk >= 'A' && vk <= 'Z') {
    bool upper = shift != ((GetKeyState(VK_CAPITAL) & 1) != 0);
    return std::string(1, static_cast<char>(upper ? vk : vk + 32));
  }
  if (vk >= '0' && vk <= '9' && !shift) return std::string(1, static_cast<char>(vk));
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
    return std::string(1, static_cast<char>('0' + vk - VK_NUMPAD0));
  switch (vk) {
    case VK_SPACE:
      return " ";
    case VK_MULTIPLY:
      return "*";
    case VK_ADD:
      return "+";
    case VK_SUBTRACT:
      return "-";
    case VK_DECIMAL:
      return ".";
    case VK_DIVIDE:
      return "/";
    default:
      return "";
  }
}

namespace {

// The key-down, then its characters to the same window (which may pass them on to the new
// focus window). Answers the control that acts on the key: the one all the characters reached,
// or for a key without characters the one the key-down reached.
HWND deliverPress(const KeyRoute& route, int vk, LPARAM lParam, const QKeyEvent* e) {
  HWND downAt = deliverInput(route.hwnd, route.system ? WM_SYSKEYDOWN : WM_KEYDOWN,
                             static_cast<WPARAM>(vk), lParam);
  std::string chars = charactersForKey(vk, e);
  if (chars.empty()) return downAt;
  HWND charsAt = nullptr;
  bool together = true;
  for (char c : chars) {
    if (!IsWindow(route.hwnd)) return nullptr;
    HWND at = deliverInput(route.hwnd, route.system ? WM_SYSCHAR : WM_CHAR,
                           static_cast<unsigned char>(c), lParam);
    together = together && at && (!charsAt || at == charsAt);
    charsAt = at;
  }
  return together ? charsAt : nullptr;
}

}  // namespace

bool keyEventToMessages(HWND own, QKeyEvent* e, bool fromKeyboard) {
  int vk = virtualKeyOf(e->key(), e->modifiers() & Qt::KeypadModifier);
  // A key the table does not know that types a character (a letter with an accent, say) comes
  // as VK_PACKET, the key Win32 gives typed Unicode characters.
  if (vk == 0 && typesText(e)) vk = VK_PACKET;
  noteModifiers(e->modifiers());
  bool press = e->type() == QEvent::KeyPress;
  if (!press && e->isAutoRepeat()) return true;  // a held key repeats its key-down only
  if (vk == 0) return false;
  if (vk != VK_PACKET) setKeyDown(vk, press);
  if (press && !e->isAutoRepeat()) noteKeyPressed(vk);
  KeyRoute route = routeOf(own, vk, e, fromKeyboard);
  if (!IsWindow(route.hwnd)) return false;
  LPARAM lParam = 1 | (static_cast<LPARAM>(e->nativeScanCode() & 0xFF) << 16);
  if (route.altDown) lParam |= 1L << 29;
  if (press && e->isAutoRepeat()) lParam |= 1L << 30;
  if (!press) lParam |= 3L << 30;
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  noteInputMessage(cursor);
  HWND actOn = press ? deliverPress(route, vk, lParam, e)
                     : deliverInput(route.hwnd, route.system ? WM_SYSKEYUP : WM_KEYUP,
                                    static_cast<WPARAM>(vk), lParam);
  e->accept();
  if (actOn && IsWindow(actOn) && isControl(actOn)) passToWidget(clientWidgetOf(actOn), e);
  return true;
}

}  // namespace vornplatform
