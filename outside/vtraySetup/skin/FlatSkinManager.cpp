#include "outside/vtraySetup/skin/FlatSkinManager.h"

#include <algorithm>

#include "outside/vtraySetup/rt/Application.h"
#include "outside/vtraySetup/skin/FlatSkin.h"

namespace skin {

namespace {
FlatSkinManager* running = nullptr;
}

FlatSkinManager& FlatSkinManager::instance() {
  if (running == nullptr) running = new FlatSkinManager();
  return *running;
}

void FlatSkinManager::end() {
  delete running;
  running = nullptr;
  frt::Application::instance().end();  // its procedure goes with the library
}

void FlatSkinManager::add(FlatSkin* skin) { skins_.push_back(skin); }

void FlatSkinManager::remove(FlatSkin* skin) {
  skins_.erase(std::remove(skins_.begin(), skins_.end(), skin), skins_.end());
}

FlatSkin* FlatSkinManager::foreignSkinner() const {
  for (FlatSkin* skin : skins_)
    if (skin->active() && !skin->disableSubclassing) return skin;
  return nullptr;
}

}  // namespace skin
