#include "plugins/vtraySetup/skin/FlatSkinManager.h"

#include <algorithm>

#include "plugins/vtraySetup/rt/Application.h"
#include "plugins/vtraySetup/rt/Screen.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"

namespace skin {

namespace {

FlatSkinManager* running = nullptr;

bool hasOwnSkin(const frt::Form* form) {
  for (frt::Component* component : form->components())
    if (dynamic_cast<FlatSkin*>(component)) return true;
  return false;
}

template <typename T>
bool holds(const std::vector<T*>& list, const T* item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

FlatSkinManager& FlatSkinManager::instance() {
  if (running == nullptr) running = new FlatSkinManager();
  return *running;
}

void FlatSkinManager::end() {
  delete running;
  running = nullptr;
  frt::Application::instance().end();  // its procedure goes with the library
}

FlatSkinManager::FlatSkinManager() {
  screenListener_ = frt::Screen::instance().listen(
      [this](frt::Form* form, bool inserted) { formNoticed(form, inserted); });
  applicationListener_ = frt::Application::instance().listen(
      [this](UINT, WPARAM, LPARAM) { return seeMessage(); });
}

FlatSkinManager::~FlatSkinManager() {
  frt::Screen::instance().unlisten(screenListener_);
  frt::Application::instance().unlisten(applicationListener_);
}

void FlatSkinManager::add(FlatSkin* skin) {
  skins_.push_back(skin);
  // A form skinned as foreign that now has a component of its own is left to it.
  frt::Form* own = skin->form();
  if (current_ && holds(skinned_, own)) {
    current_->unhookForeign(own);
    forget(own);
  }
}

void FlatSkinManager::remove(FlatSkin* skin) {
  skins_.erase(std::remove(skins_.begin(), skins_.end(), skin), skins_.end());
  if (current_ != skin) return;
  current_ = nullptr;  // its hooks went with it
  skinned_.clear();
  refresh();
}

FlatSkin* FlatSkinManager::foreignSkinner() const {
  for (FlatSkin* skin : skins_)
    if (skin->active() && !skin->disableSubclassing()) return skin;
  return nullptr;
}

void FlatSkinManager::refresh() {
  FlatSkin* next = foreignSkinner();
  if (next != current_) {
    if (current_)
      for (frt::Form* form : skinned_) current_->unhookForeign(form);
    skinned_.clear();
    current_ = next;
  }
  waiting_.clear();
  if (current_ == nullptr) return;
  std::vector<frt::Form*> forms = frt::Screen::instance().forms();
  for (frt::Form* form : forms) skinIfForeign(form);
}

void FlatSkinManager::skinIfForeign(frt::Form* form) {
  if (form->tag == FlatSkin::kExemptTag || hasOwnSkin(form) || holds(skinned_, form)) return;
  current_->hookForeign(form);
  skinned_.push_back(form);
}

void FlatSkinManager::forget(frt::Form* form) {
  skinned_.erase(std::remove(skinned_.begin(), skinned_.end(), form), skinned_.end());
  waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), form), waiting_.end());
}

// A new form has no controls yet: it is skinned at the next message, which this makes sure of.
void FlatSkinManager::formNoticed(frt::Form* form, bool inserted) {
  if (!inserted) {
    forget(form);
    return;
  }
  waiting_.push_back(form);
  HWND application = frt::Application::instance().handle();
  if (application) PostMessageA(application, WM_NULL, 0, 0);
}

bool FlatSkinManager::seeMessage() {
  if (waiting_.empty()) return false;
  std::vector<frt::Form*> waiting;
  waiting.swap(waiting_);
  if (current_ == nullptr) return false;
  for (frt::Form* form : waiting) skinIfForeign(form);
  return false;
}

}  // namespace skin
