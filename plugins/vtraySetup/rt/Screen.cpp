#include "plugins/vtraySetup/rt/Screen.h"

#include <algorithm>

namespace frt {

Screen& Screen::instance() {
  static Screen screen;
  return screen;
}

void Screen::add(Form* form) {
  forms_.push_back(form);
  tell(form, true);
}

void Screen::remove(Form* form) {
  auto found = std::find(forms_.begin(), forms_.end(), form);
  if (found == forms_.end()) return;
  forms_.erase(found);
  tell(form, false);
}

int Screen::listen(Notice notice) {
  listeners_.emplace_back(nextId_, std::move(notice));
  return nextId_++;
}

void Screen::unlisten(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                  [id](const auto& entry) { return entry.first == id; }),
                   listeners_.end());
}

void Screen::tell(Form* form, bool inserted) {
  auto listeners = listeners_;  // a listener may stop listening
  for (auto& entry : listeners) entry.second(form, inserted);
}

}  // namespace frt
