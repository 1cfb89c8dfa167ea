// The runtime's application: one hidden window that private notices are posted to, and the
// listeners (the skin's manager among them) that see every message reaching it.
#pragma once

#include <functional>
#include <vector>

#include "platform/win32.h"

namespace frt {

class Application {
 public:
  // Answers true when it handled the message.
  using Listener = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam)>;

  static Application& instance();
  // The hidden window, made on first use; null when the layer refuses it.
  HWND handle();
  // A listener stays until removed by the id this returns.
  int listen(Listener listener);
  void unlisten(int id);
  // Destroys the window (at unload, before the code behind its procedure goes).
  void end();

 private:
  static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  int nextId_ = 1;
  std::vector<std::pair<int, Listener>> listeners_;
};

}  // namespace frt
