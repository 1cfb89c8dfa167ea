// The entry points of the tray's settings-form library, exported by name: one machine word per
// value, options checked exactly when the low 16 bits of the value are 1. They act on the last
// form made while it lives; before any form, or after its parent destroyed it, Get answers 0
// and Set does nothing.
#include <algorithm>
#include <vector>

#include "plugins/vtraySetup/TrayForm.h"
#include "plugins/vtraySetup/skin/FlatSkinManager.h"
#include "plugins/SettingsForm/SettingsFormAbi.h"

#define SETUP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

TrayForm* currentForm = nullptr;

std::vector<TrayForm*>& liveForms() {
  static std::vector<TrayForm*> forms;
  return forms;
}

void forget(frt::Component* gone) {
  auto& forms = liveForms();
  forms.erase(std::remove(forms.begin(), forms.end(), gone), forms.end());
  if (currentForm == gone) currentForm = nullptr;
}

FormWord answer(frt::CheckBox* TrayForm::*box) {
  if (currentForm == nullptr) return 0;
  return (currentForm->*box)->checked() ? 1 : 0;
}

void setOption(frt::CheckBox* TrayForm::*box, FormWord value) {
  if (currentForm == nullptr) return;
  (currentForm->*box)->setChecked((value & 0xFFFF) == 1);
}

}  // namespace

SETUP_EXPORT FormWord CreateForm(FormWord parent) {
  TrayForm* form = TrayForm::create(reinterpret_cast<HWND>(parent));
  if (form == nullptr) return 0;
  form->freeNotices.push_back(forget);
  liveForms().push_back(form);
  currentForm = form;
  return reinterpret_cast<FormWord>(form->handle());
}

SETUP_EXPORT FormWord GetHideWhenMinimize() { return answer(&TrayForm::checkBox1); }
SETUP_EXPORT void SetHideWhenMinimize(FormWord value) { setOption(&TrayForm::checkBox1, value); }
SETUP_EXPORT FormWord GetSimpleClickToUntray() { return answer(&TrayForm::checkBox2); }
SETUP_EXPORT void SetSimpleClickToUntray(FormWord value) { setOption(&TrayForm::checkBox2, value); }
SETUP_EXPORT FormWord GetChatMeter() { return answer(&TrayForm::checkBox3); }
SETUP_EXPORT void SetChatMeter(FormWord value) { setOption(&TrayForm::checkBox3, value); }

__attribute__((constructor)) static void startSkinManager() { skin::FlatSkinManager::instance(); }

// Forms in foreign parents must not outlive the code of their window methods: they go
// (unhooked by their skins) before the skin manager ends with the library.
__attribute__((destructor)) static void destroyFormsAtUnload() {
  std::vector<TrayForm*> forms = liveForms();
  for (TrayForm* form : forms) delete form;
  liveForms().clear();
  currentForm = nullptr;
  skin::FlatSkinManager::end();
}
