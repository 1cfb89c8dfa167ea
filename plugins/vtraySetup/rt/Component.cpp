#include "plugins/vtraySetup/rt/Component.h"

#include <algorithm>

namespace frt {

Component::Component(Component* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

// Owned components go in reverse order, so the last made (the skin) unhooks first.
Component::~Component() {
  std::vector<std::function<void(Component*)>> notices;
  notices.swap(freeNotices);
  for (auto& notice : notices) notice(this);
  destroyComponents();
  if (owner_) {
    auto& siblings = owner_->components_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void Component::destroyComponents() {
  while (!components_.empty()) {
    Component* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

}  // namespace frt
