// The entry points of the stand-in settings form, exported by name: one machine word per
// value, flags and numbers in its low 16 bits, texts as pointers. Returned texts stay valid
// until the next call of the same entry point; texts passed in are copied.
#include <string>

#include "outside/vawareSetup/SetupForm.h"
#include "outside/vawareSetup/SetupFormModel.h"
#include "plugins/SettingsForm/SettingsFormAbi.h"

#define SETUP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const FormWord kLow16 = 0xFFFF;

FormWord textAnswer(std::string& answer, const std::string& value) {
  answer = value;
  return reinterpret_cast<FormWord>(answer.c_str());
}

std::string textOf(FormWord value) {
  const char* text = reinterpret_cast<const char*>(value);
  return text ? text : "";
}

void setFlag(int index, FormWord value) {
  setupModel().flags[index] = (value & kLow16) == 1 ? 1 : 0;
  SetupForm::refreshAll();
}

}  // namespace

SETUP_EXPORT FormWord CreateForm(FormWord parent) {
  return reinterpret_cast<FormWord>(SetupForm::create(reinterpret_cast<HWND>(parent)));
}

SETUP_EXPORT FormWord GetEdit1() { return 0; }

SETUP_EXPORT FormWord GetWordListCount() { return setupModel().words.size() & kLow16; }

SETUP_EXPORT FormWord GetWordListElement(FormWord index) {
  static std::string answer;
  const SetupFormModel& model = setupModel();
  if (index >= model.words.size()) return 0;
  return textAnswer(answer, model.words[index]);
}

SETUP_EXPORT void ClearWordList() {
  setupModel().words.clear();
  SetupForm::refreshAll();
}

SETUP_EXPORT void AddWordListElement(FormWord text) {
  if (text == 0) return;
  setupModel().words.push_back(textOf(text));
  SetupForm::refreshAll();
}

SETUP_EXPORT FormWord GetSoundOnly() { return setupModel().flags[0]; }
SETUP_EXPORT void SetSoundOnly(FormWord value) { setFlag(0, value); }
SETUP_EXPORT FormWord GetDisabledWhenFullscreen() { return setupModel().flags[1]; }
SETUP_EXPORT void SetDisabledWhenFullscreen(FormWord value) { setFlag(1, value); }
SETUP_EXPORT FormWord GetNoSound() { return setupModel().flags[2]; }
SETUP_EXPORT void SetNoSound(FormWord value) { setFlag(2, value); }
SETUP_EXPORT FormWord GetWordOnly() { return setupModel().flags[3]; }
SETUP_EXPORT void SetWordOnly(FormWord value) { setFlag(3, value); }

SETUP_EXPORT FormWord GetPosition() { return setupModel().position; }
SETUP_EXPORT void SetPosition(FormWord value) {
  setupModel().position = static_cast<unsigned>(value & kLow16);
  SetupForm::refreshAll();
}

SETUP_EXPORT FormWord GetOnTellFilename() {
  static std::string answer;
  return textAnswer(answer, setupModel().onTell);
}
SETUP_EXPORT void SetOnTellFilename(FormWord text) {
  setupModel().onTell = textOf(text);
  SetupForm::refreshAll();
}
SETUP_EXPORT FormWord GetOnWordFilename() {
  static std::string answer;
  return textAnswer(answer, setupModel().onWord);
}
SETUP_EXPORT void SetOnWordFilename(FormWord text) {
  setupModel().onWord = textOf(text);
  SetupForm::refreshAll();
}
