#include "plugins/vfile/GuiHandOff.h"

#include "plugins/vfile/FileChooser.h"
#include "sdk/PlugsModule.h"

namespace {

const char kClassName[] = "VfileHandOff";
const UINT kDeliver = WM_APP + 41;

HINSTANCE instanceOfModule() {
  HINSTANCE instance = plugsModuleInstance();
  return instance != nullptr ? instance : GetModuleHandleA(nullptr);
}

}  // namespace

GuiHandOff::GuiHandOff(Receiver& receiver) : receiver(receiver) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &GuiHandOff::windowProc;
  windowClass.hInstance = instanceOfModule();
  windowClass.lpszClassName = kClassName;
  RegisterClassExA(&windowClass);  // fails harmlessly once registered
  window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                           instanceOfModule(), nullptr);
  if (window != nullptr) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

GuiHandOff::~GuiHandOff() {
  shutDown();
  if (window != nullptr) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

void GuiHandOff::sendLine(const std::string& line) { queue({Item::Send, line, "", "", 0}); }

void GuiHandOff::printLine(const std::string& line) { queue({Item::Print, line, "", "", 0}); }

void GuiHandOff::noticeLine(const std::string& line) { queue({Item::Notice, line, "", "", 0}); }

void GuiHandOff::askFileToSend(const std::string& nick) { queue({Item::Open, nick, "", "", 0}); }

void GuiHandOff::askSaveTarget(int key, const std::string& title, const std::string& initialName,
                               const std::string& folder) {
  queue({Item::Save, initialName, title, folder, key});
}

void GuiHandOff::shutDown() {
  std::lock_guard<std::mutex> guard(shared->lock);
  shared->closed = true;
  shared->items.clear();
}

void GuiHandOff::queue(Item item) {
  {
    std::lock_guard<std::mutex> guard(shared->lock);
    if (shared->closed || window == nullptr) return;
    shared->items.push_back(std::move(item));
  }
  PostMessageA(window, kDeliver, 0, 0);
}

// One item per posted message, in order.
void GuiHandOff::deliver() {
  Item item;
  {
    std::lock_guard<std::mutex> guard(shared->lock);
    if (shared->items.empty()) return;
    item = std::move(shared->items.front());
    shared->items.pop_front();
  }
  if (item.kind == Item::Send)
    receiver.sendText(item.text);
  else if (item.kind == Item::Print)
    receiver.printText(item.text);
  else if (item.kind == Item::Notice)
    receiver.noticeText(item.text);
  else
    answerDialog(item);
}

// A dialog runs a loop of its own, in which the owner may end: after it, only the shared part
// is touched, and the owner only when still open.
void GuiHandOff::answerDialog(const Item& item) {
  std::shared_ptr<Shared> keep = shared;
  Receiver& to = receiver;
  bool save = item.kind == Item::Save;
  std::string path = save ? chooseFile(true, item.text, item.title, item.folder)
                          : chooseFile(false, "");
  {
    std::lock_guard<std::mutex> guard(keep->lock);
    if (keep->closed) return;
  }
  if (save)
    to.targetChosen(item.key, path);
  else if (!path.empty())
    to.fileToSend(item.text, path);
}

LRESULT CALLBACK GuiHandOff::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDeliver) {
    auto* self = reinterpret_cast<GuiHandOff*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr) self->deliver();
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
