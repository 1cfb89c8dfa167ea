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
  std::unique_lock<std::mutex> guard(lock);
  answered.wait(guard, [&] { return answer->done || closed; });
  return answer->done ? answer->path : std::string();
}

void GuiHandOff::shutDown() {
  std::lock_guard<std::mutex> guard(lock);
  closed = true;
  items.clear();
  answered.notify_all();
}

void GuiHandOff::queue(Item item) {
  {
    std::lock_guard<std::mutex> guard(lock);
    if (closed || window == nullptr) {
      if (item.answer) item.answer->done = true;
      answered.notify_all();
      return;
    }
    items.push_back(std::move(item));
  }
  PostMessageA(window, kDeliver, 0, 0);
}

// One item per posted message, so a dialog's own loop never runs later items out of order
// ahead of the ones before it.
void GuiHandOff::deliver() {
  Item item;
  {
    std::lock_guard<std::mutex> guard(lock);
    if (items.empty()) return;
    item = std::move(items.front());
    items.pop_front();
  }
  deliverItem(item);
}

void GuiHandOff::deliverItem(const Item& item) {
  switch (item.kind) {
    case Item::Send:
      receiver.sendText(item.text);
      break;
    case Item::Print:
      receiver.printText(item.text);
      break;
    case Item::Open: {
      std::string path = chooseFile(false, "");
      if (!path.empty()) receiver.fileToSend(item.text, path);
      break;
    }
    case Item::Save: {
      std::string path = chooseFile(true, item.text);
      std::lock_guard<std::mutex> guard(lock);
      item.answer->path = path;
      item.answer->done = true;
      answered.notify_all();
      break;
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
