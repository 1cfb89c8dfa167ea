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

void GuiHandOff::sendLine(const std::string& line) { queue({Item::Send, line, nullptr}); }

void GuiHandOff::printLine(const std::string& line) { queue({Item::Print, line, nullptr}); }

void GuiHandOff::askFileToSend(const std::string& nick) { queue({Item::Open, nick, nullptr}); }

std::string GuiHandOff::chooseTarget(const std::string& offeredName) {
  auto answer = std::make_shared<Answer>();
  queue({Item::Save, offeredName, answer});
  std::unique_lock<std::mutex> guard(shared->lock);
  shared->answered.wait(guard, [&] { return answer->done || shared->closed; });
  return answer->done ? answer->path : std::string();
}

void GuiHandOff::shutDown() {
  std::lock_guard<std::mutex> guard(shared->lock);
  shared->closed = true;
  shared->items.clear();
  shared->answered.notify_all();
}

void GuiHandOff::queue(Item item) {
  {
    std::lock_guard<std::mutex> guard(shared->lock);
    if (shared->closed || window == nullptr) {
      if (item.answer) item.answer->done = true;
      shared->answered.notify_all();
      return;
    }
    shared->items.push_back(std::move(item));
  }
  PostMessageA(window, kDeliver, 0, 0);
}

// One item per posted message, in order. A dialog runs a loop of its own, in which the owner
// may end: after it, only the shared part is touched, and the owner only when still open.
void GuiHandOff::deliver() {
  std::shared_ptr<Shared> keep = shared;
  Item item;
  {
    std::lock_guard<std::mutex> guard(keep->lock);
    if (keep->items.empty()) return;
    item = std::move(keep->items.front());
    keep->items.pop_front();
  }
  if (item.kind == Item::Send) {
    receiver.sendText(item.text);
  } else if (item.kind == Item::Print) {
    receiver.printText(item.text);
  } else {
    std::string path = chooseFile(item.kind == Item::Save, item.kind == Item::Save ? item.text : "");
    std::unique_lock<std::mutex> guard(keep->lock);
    if (item.kind == Item::Save) {
      item.answer->path = path;
      item.answer->done = true;
      keep->answered.notify_all();
    } else if (!keep->closed && !path.empty()) {
      guard.unlock();
      receiver.fileToSend(item.text, path);
    }
  }
}

LRESULT CALLBACK GuiHandOff::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDeliver) {
    auto* self = reinterpret_cast<GuiHandOff*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr) self->deliver();
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
