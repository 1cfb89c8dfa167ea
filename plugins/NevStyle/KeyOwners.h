// Which owner (a tell tab, a game window) each of its windows belongs to, so that one message
// hook per owner class hands the keys typed in any of those windows to their owner.
#pragma once

#include <iterator>
#include <map>

#include "lib/Window.h"
#include "platform/win32.h"

template <typename Owner>
class KeyOwners {
 public:
  // The window's messages go through hook, which finds their owner with find().
  static void watch(Window* window, Owner* owner, WindowMessageHook hook) {
    owners()[window] = owner;
    window->setMessageHook(hook);
  }
  // The owner of a key or character sent to the window itself; null for any other message.
  static Owner* find(Window* window, const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_CHAR) return nullptr;
    if (message.hwnd != window->getHwnd()) return nullptr;
    auto found = owners().find(window);
    return found != owners().end() ? found->second : nullptr;
  }
  // Called as the owner goes, before its windows do.
  static void forget(Owner* owner) {
    auto& all = owners();
    for (auto it = all.begin(); it != all.end();)
      it = it->second == owner ? all.erase(it) : std::next(it);
  }

 private:
  static std::map<Window*, Owner*>& owners() {
    static std::map<Window*, Owner*> all;
    return all;
  }
};
