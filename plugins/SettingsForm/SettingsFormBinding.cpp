#include "plugins/SettingsForm/SettingsFormBinding.h"

#include <cctype>
#include <string>

#include "plugins/SettingsForm/SettingsFormAbi.h"

const char* const SettingsFormBinding::kLibraryFile = "Plugins\\vawareSetup.dll";

namespace {

struct BoundForm {
  bool loaded = false;
  FormCreateProc create = nullptr;
  FormGetProc edit1 = nullptr;  // bound as the library offers it, never called
  FormGetProc wordCount = nullptr;
  FormElementProc wordElement = nullptr;
  FormActionProc clearWords = nullptr;
  FormSetProc addWord = nullptr;
  FormGetProc get[AlertOptions::kRowCount] = {};
  FormSetProc set[AlertOptions::kRowCount] = {};
};

BoundForm& bound() {
  static BoundForm form;
  return form;
}

template <typename Proc>
Proc procOf(HMODULE module, const std::string& name) {
  // Through a plain function pointer: the entry point's real type is the library's word.
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name.c_str())));
}

const int kLow16 = 0xFFFF;

// Asking for the form of the page again gives the same form back and turns the library to it.
// A library that makes a second form instead keeps one set of values for all its forms: the
// stray goes, and the values travel as they always did.
bool speakTo(HWND form) {
  if (bound().create == nullptr || !IsWindow(form)) return false;
  HWND page = GetParent(form);
  HWND again = reinterpret_cast<HWND>(bound().create(reinterpret_cast<FormWord>(page)));
  if (again != form && again != nullptr && IsWindow(again)) DestroyWindow(again);
  return true;
}

}  // namespace

void SettingsFormBinding::bindModule(HMODULE module) {
  BoundForm& b = bound();
  b = BoundForm();
  b.loaded = true;
  if (module == nullptr) return;
  b.create = procOf<FormCreateProc>(module, "CreateForm");
  b.edit1 = procOf<FormGetProc>(module, "GetEdit1");
  b.wordCount = procOf<FormGetProc>(module, "GetWordListCount");
  b.wordElement = procOf<FormElementProc>(module, "GetWordListElement");
  b.clearWords = procOf<FormActionProc>(module, "ClearWordList");
  b.addWord = procOf<FormSetProc>(module, "AddWordListElement");
  AlertOptions names;
  for (int i = 0; i < AlertOptions::kRowCount; ++i) {
    b.get[i] = procOf<FormGetProc>(module, std::string("Get") + names.row(i).name);
    b.set[i] = procOf<FormSetProc>(module, std::string("Set") + names.row(i).name);
  }
}

HWND SettingsFormBinding::createForm(HWND parent) {
  if (!bound().loaded) bindModule(LoadLibraryA(kLibraryFile));
  if (bound().create == nullptr) return nullptr;
  HWND form = reinterpret_cast<HWND>(bound().create(reinterpret_cast<FormWord>(parent)));
  return IsWindow(form) ? form : nullptr;
}

void SettingsFormBinding::push(HWND form, const AlertOptions& options) {
  if (!speakTo(form)) return;
  BoundForm& b = bound();
  for (int i = 0; i < AlertOptions::kRowCount; ++i) {
    if (b.set[i] == nullptr) continue;
    const AlertOptions::Row& row = options.row(i);
    if (row.type == AlertOptions::TextRow)
      b.set[i](reinterpret_cast<FormWord>(row.text));
    else
      b.set[i](static_cast<FormWord>(row.number & kLow16));
  }
  if (b.clearWords != nullptr) b.clearWords();
  if (b.addWord == nullptr) return;
  for (const std::string& word : options.words()) b.addWord(reinterpret_cast<FormWord>(word.c_str()));
}

void SettingsFormBinding::pull(HWND form, AlertOptions& options) {
  if (!speakTo(form)) return;
  BoundForm& b = bound();
  for (int i = 0; i < AlertOptions::kRowCount; ++i) {
    if (b.get[i] == nullptr) continue;
    AlertOptions::Row& row = options.row(i);
    FormWord value = b.get[i]();
    if (row.type == AlertOptions::BoolRow) row.number = (value & kLow16) == 1 ? 1 : 0;
    if (row.type == AlertOptions::IntRow) row.number = static_cast<int>(value & kLow16);
    if (row.type == AlertOptions::TextRow && value != 0)
      options.setText(i, reinterpret_cast<const char*>(value));
  }
  if (b.wordCount == nullptr || b.wordElement == nullptr) return;
  options.words().clear();
  int count = static_cast<int>(b.wordCount() & kLow16);
  for (int i = 0; i < count; ++i) {
    const char* word = reinterpret_cast<const char*>(b.wordElement(static_cast<FormWord>(i)));
    if (word == nullptr || word[0] == '\0') continue;
    std::string lowered(word);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    options.words().push_back(lowered);
  }
}
