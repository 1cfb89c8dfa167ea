// Dialog templates registered by modules and the modeless dialogs made from them. Dialog
// units follow the dialog font's average character width and height, as Win32 measures them.
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/WindowTable.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

struct StoredItem {
  std::string className, text;
  VornDialogItem item;
};

struct StoredTemplate {
  VornDialogTemplate dialog;
  std::string title, face;
  std::vector<StoredItem> items;
};

std::mutex templateLock;
std::map<std::pair<HMODULE, int>, StoredTemplate> templates;
std::map<HWND, DLGPROC> dialogProcs;
thread_local DLGPROC creatingProc = nullptr;
const char* const kDialogClass = "#32770";

DLGPROC procOf(HWND hwnd) {
  auto found = dialogProcs.find(hwnd);
  if (found != dialogProcs.end()) return found->second;
  if (creatingProc == nullptr) return nullptr;
  dialogProcs[hwnd] = creatingProc;  // the first message of a window being created
  return creatingProc;
}

LRESULT CALLBACK dialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DLGPROC proc = procOf(hwnd);
  if (msg == WM_NCDESTROY) dialogProcs.erase(hwnd);
  if (proc != nullptr) {
    INT_PTR handled = proc(hwnd, msg, wParam, lParam);
    if (handled) return handled;
  }
  if (msg == WM_CLOSE) {
    SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void registerDialogClass() {
  WNDCLASSEXA known{};
  if (GetClassInfoExA(nullptr, kDialogClass, &known)) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = dialogWindowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kDialogClass;
  RegisterClassExA(&wc);
}

// Average character width and height of the font: Win32's dialog base units.
SIZE baseUnitsOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent{0, 0};
  GetTextExtentPoint32A(dc, letters, 52, &extent);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SIZE units{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
  if (units.cx <= 0) units.cx = 6;
  if (units.cy <= 0) units.cy = 13;
  return units;
}

HFONT dialogFont(const VornDialogTemplate& dialog) {
  const char* face = (dialog.style & DS_SETFONT) && dialog.fontFace ? dialog.fontFace : "MS Sans Serif";
  int points = (dialog.style & DS_SETFONT) && dialog.pointSize > 0 ? dialog.pointSize : 8;
  return CreateFontA(-MulDiv(points, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                     0, 0, face);
}

RECT toPixels(SIZE units, int x, int y, int cx, int cy) {
  return RECT{MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8), MulDiv(cx, units.cx, 4),
              MulDiv(cy, units.cy, 8)};
}

void createItems(HWND dialog, HINSTANCE instance, const StoredTemplate& stored, SIZE units,
                 HFONT font) {
  for (const StoredItem& entry : stored.items) {
    const VornDialogItem& item = entry.item;
    RECT r = toPixels(units, item.x, item.y, item.cx, item.cy);
    HWND control = CreateWindowExA(item.exStyle, entry.className.c_str(), entry.text.c_str(),
                                   item.style | WS_CHILD, r.left, r.top, r.right, r.bottom,
                                   dialog, reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)),
                                   instance, nullptr);
    if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

BOOL VornRegisterDialogTemplate(HMODULE module, int id, const VornDialogTemplate* dialog) {
  if (module == nullptr || dialog == nullptr || dialog->itemCount < 0) return FALSE;
  StoredTemplate stored;
  stored.dialog = *dialog;
  stored.title = dialog->title ? dialog->title : "";
  stored.face = dialog->fontFace ? dialog->fontFace : "";
  for (int i = 0; i < dialog->itemCount; ++i) {
    const VornDialogItem& item = dialog->items[i];
    stored.items.push_back({item.className ? item.className : "", item.text ? item.text : "", item});
  }
  std::lock_guard<std::mutex> guard(templateLock);
  templates[{module, id}] = std::move(stored);
  return TRUE;
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param) {
  if (!IS_INTRESOURCE(templateName)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<uintptr_t>(templateName));
  StoredTemplate stored;
  {
    std::lock_guard<std::mutex> guard(templateLock);
    auto found = templates.find({reinterpret_cast<HMODULE>(instance), id});
    if (found == templates.end()) return nullptr;
    stored = found->second;
  }
  for (StoredItem& entry : stored.items) {  // the strings moved with the copy
    entry.item.className = entry.className.c_str();
    entry.item.text = entry.text.c_str();
  }
  stored.dialog.fontFace = stored.face.c_str();
  registerDialogClass();
  HFONT font = dialogFont(stored.dialog);
  SIZE units = baseUnitsOf(font);
  const VornDialogTemplate& d = stored.dialog;
  RECT r = toPixels(units, d.x, d.y, d.cx, d.cy);
  creatingProc = proc;
  HWND dialog = CreateWindowExA(d.exStyle, kDialogClass, stored.title.c_str(),
                                d.style & ~WS_VISIBLE, r.left, r.top, r.right, r.bottom,
                                (d.style & WS_CHILD) ? owner : nullptr, nullptr, instance, nullptr);
  if (dialog) procOf(dialog);
  creatingProc = nullptr;
  if (!dialog) return nullptr;
  SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  createItems(dialog, instance, stored, units, font);
  SendMessageA(dialog, WM_INITDIALOG, 0, param);
  if (IsWindow(dialog) && (d.style & WS_VISIBLE)) ShowWindow(dialog, SW_SHOW);
  return IsWindow(dialog) ? dialog : nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
  WindowPtr w = findWindow(dialog);
  if (!w) return nullptr;
  for (HWND child : w->children)
    if (IsWindow(child) && GetDlgCtrlID(child) == id) return child;
  return nullptr;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(item, buffer, size));
}
