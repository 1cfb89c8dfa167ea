// A top-level window titled "skin menu host" holding a runtime form with the flat skin on: a
// main menu on the window's bar and a pop-up menu on a right click in the form, both with
// sub-menus. Each chosen item is printed ("picked Save", "picked one.txt"), so a desktop test
// can drive the skinned menus with real input and read what the user chose.
#include <cstdio>

#include "plugins/vtraySetup/rt/Form.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"

namespace {

void printPicked(const frt::MenuItem* item) {
  if (item == nullptr) return;
  std::printf("picked %s\n", item->caption.c_str());
  std::fflush(stdout);
}

class MenuForm : public frt::Form {
 public:
  frt::PopupMenu* popup = nullptr;

 protected:
  void defaultHandler(frt::Message& message) override {
    if (message.msg == WM_RBUTTONUP && popup) {
      POINT at{static_cast<short>(LOWORD(message.lParam)),
               static_cast<short>(HIWORD(message.lParam))};
      ClientToScreen(handle(), &at);
      printPicked(popup->popup(handle(), at.x, at.y));
      message.result = 0;
      return;
    }
    if (message.msg == WM_COMMAND && bar && HIWORD(message.wParam) == 0)
      printPicked(bar->findItem(LOWORD(message.wParam)));
    frt::Form::defaultHandler(message);
  }

 public:
  frt::MainMenu* bar = nullptr;
};

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  HWND form = reinterpret_cast<HWND>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  // The bar's commands and the owner drawing of its pull-downs belong to the form.
  bool forForm = msg == WM_COMMAND || msg == WM_MEASUREITEM || msg == WM_DRAWITEM;
  if (forForm && form) return SendMessageA(form, msg, wParam, lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void fillMenus(MenuForm* form) {
  form->bar = new frt::MainMenu(form);
  frt::MenuItem* file = form->bar->add("File");
  for (const char* caption : {"New", "Open", "-", "Exit"}) file->add(caption);
  form->bar->add("Edit");
  form->bar->add("Help");
  form->popup = new frt::PopupMenu(form);
  form->popup->add("Open");
  form->popup->add("-");
  form->popup->add("Save")->checked = true;
  form->popup->add("Close")->enabled = false;
  form->popup->add("Quit");
  frt::MenuItem* recent = form->popup->add("Recent");
  recent->add("one.txt");
  recent->add("two.txt");
}

}  // namespace

int main() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = hostProc;
  wc.lpszClassName = "SkinMenuHost";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  RegisterClassExA(&wc);
  HWND window = CreateWindowExA(0, "SkinMenuHost", "skin menu host",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  auto* form = new MenuForm();
  RECT client;
  GetClientRect(window, &client);
  form->setBounds(0, 0, client.right, client.bottom);
  fillMenus(form);
  auto* skin = new skin::FlatSkin(form);
  skin->flatMenu = true;
  if (window == nullptr || !form->createHandle(window) || !form->bar->attach(window)) {
    std::fprintf(stderr, "no form\n");
    return 1;
  }
  // The bar's messages reach the top-level window; the form hears them through its parent.
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form->handle()));
  skin->setActive(true);
  std::printf("ready\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
