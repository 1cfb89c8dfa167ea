#include "plugins/vtraySetup/rt/Application.h"

#include <algorithm>

namespace frt {

namespace {
const char* const kApplicationClass = "FrtApplication";
}  // namespace

Application& Application::instance() {
  static Application application;
  return application;
}

HWND Application::handle() {
  if (handle_ && IsWindow(handle_)) return handle_;
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&Application::instance), &module);
  WNDCLASSEXA known{};
  if (!GetClassInfoExA(module, kApplicationClass, &known)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProcedure;
    wc.hInstance = module;
    wc.lpszClassName = kApplicationClass;
    if (!RegisterClassExA(&wc)) return nullptr;
  }
  handle_ = CreateWindowExA(0, kApplicationClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            module, nullptr);
  return handle_;
}

int Application::listen(Listener listener) {
  listeners_.emplace_back(nextId_, std::move(listener));
  return nextId_++;
}

void Application::unlisten(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                  [id](const auto& entry) { return entry.first == id; }),
                   listeners_.end());
}

void Application::end() {
  listeners_.clear();
  if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
  handle_ = nullptr;
}

LRESULT CALLBACK Application::windowProcedure(HWND hwnd, UINT msg, WPARAM wParam,
                                              LPARAM lParam) {
  // A listener may add or remove listeners: walk a copy.
  auto listeners = instance().listeners_;
  bool handled = false;
  for (auto& entry : listeners) handled = entry.second(msg, wParam, lParam) || handled;
  return handled ? 0 : DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace frt
