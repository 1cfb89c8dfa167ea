// The entry points of the stand-in settings form, exported by name: one machine word per
// value, flags and numbers in its low 16 bits, texts as pointers. They speak to the current
// form (SetupForm::create). Returned texts stay valid until the next call of the same entry
// point; texts passed in are copied.
#include <string>

#include "outside/vawareSetup/SetupForm.h"
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
  SetupForm::current().flags[index] = (value & kLow16) == 1 ? 1 : 0;
  SetupForm::refreshCurrent();
}

}  // namespace

SETUP_EXPORT FormWord CreateForm(FormWord parent) {
  return reinterpret_cast<FormWord>(SetupForm::create(reinterpret_cast<HWND>(parent)));
}

SETUP_EXPORT FormWord GetEdit1() { return 0; }

SETUP_EXPORT FormWord GetWordListCount() { return SetupForm::current().words.size() & kLow16; }

SETUP_EXPORT FormWord GetWordListElement(FormWord index) {
  static std::string answer;
  const SetupFormModel& model = SetupForm::current();
  if (index >= model.words.size()) return 0;
  return textAnswer(answer, model.words[index]);
}

SETUP_EXPORT void ClearWordList() {
  SetupForm::current().words.clear();
  SetupForm::refreshCurrent();
}

SETUP_EXPORT void AddWordListElement(FormWord text) {
  if (text == 0) return;
  SetupForm::current().words.push_back(textOf(text));
  SetupForm::refreshCurrent();
}

SETUP_EXPORT FormWord GetSoundOnly() { return SetupForm::current().flags[0]; }
SETUP_EXPORT void SetSoundOnly(FormWord value) { setFlag(0, value); }
SETUP_EXPORT FormWord GetDisabledWhenFullscreen() { return SetupForm::current().flags[1]; }
SETUP_EXPORT void SetDisabledWhenFullscreen(FormWord value) { setFlag(1, value); }
SETUP_EXPORT FormWord GetNoSound() { return SetupForm::current().flags[2]; }
SETUP_EXPORT void SetNoSound(FormWord value) { setFlag(2, value); }
SETUP_EXPORT FormWord GetWordOnly() { return SetupForm::current().flags[3]; }
SETUP_EXPORT void SetWordOnly(FormWord value) { setFlag(3, value); }

SETUP_EXPORT FormWord GetPosition() { return SetupForm::current().position; }
SETUP_EXPORT void SetPosition(FormWord value) {
  SetupForm::current().position = static_cast<unsigned>(value & kLow16);
  SetupForm::refreshCurrent();
}

SETUP_EXPORT FormWord GetOnTellFilename() {
  static std::string answer;
  return textAnswer(answer, SetupForm::current().onTell);
}
SETUP_EXPORT void SetOnTellFilename(FormWord text) {
  SetupForm::current().onTell = textOf(text);
  SetupForm::refreshCurrent();
}
SETUP_EXPORT FormWord GetOnWordFilename() {
  static std::string answer;
  return textAnswer(answer, SetupForm::current().onWord);
}
SETUP_EXPORT void SetOnWordFilename(FormWord text) {
  SetupForm::current().onWord = textOf(text);
  SetupForm::refreshCurrent();
}
