#include "plugins/vtray/VtraySession.h"

#include <cstring>

#include "plugins/SettingsForm/SettingsFormBinding.h"

VtraySession::VtraySession(const char* clientName)
    : PlugsSystemSession(clientName), store_(*this) {}

void VtraySession::init() {
  options_.read(store_);
  tray_.init(getInstance());
}

void VtraySession::term() {
  options_.write(store_);
  tray_.term(getSystemWindow());
}

void VtraySession::writeSetup() { options_.write(store_); }

void VtraySession::reloadSetup() { options_.read(store_); }

void VtraySession::createSetupWindow(HWND parent) {
  setupForm_ = SettingsFormBinding::createForm(parent);
}

void VtraySession::onSetupOpen() { SettingsFormBinding::push(setupForm_, options_); }

void VtraySession::onSetupClose() { SettingsFormBinding::pull(setupForm_, options_); }

void VtraySession::backup(void* buffer, int size) {
  if (buffer == nullptr || size != 4) return;
  float version = 0.1f;
  std::memcpy(buffer, &version, sizeof version);
}

bool VtraySession::onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  tray_.onWindowMessage(window, message, wParam, lParam);
  return false;
}
