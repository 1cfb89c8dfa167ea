#include "outside/vawareSetup/SetupForm.h"

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kFormClass = "VawareSetupForm";
const int kFormWidth = 330, kFormHeight = 284;
enum ControlId {
  kFirstFlag = 101,  // 101..104, one check box a flag
  kPosition = 110,
  kOnTell = 111,
  kOnWord = 112,
  kWords = 113,
};
const char* const kFlagLabels[SetupFormModel::kFlagCount] = {
    "Sound only", "Disabled when full screen", "No sound", "Whole words only"};

std::map<HWND, SetupFormModel> forms;
std::map<HWND, SetupFormModel>& liveForms() { return forms; }
HWND currentForm = nullptr;
SetupFormModel noForm;  // what the entry points reach while no form is current

// Forms living in foreign parents must not outlive the code of their window procedure. Made
// after the list, so it ends first, while the list is still there (at unload and at exit).
struct FormsAtUnload {
  ~FormsAtUnload() { SetupForm::destroyAll(); }
} formsAtUnload;
bool refreshing = false;

HINSTANCE libraryInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&liveForms), &module);
  return module;
}

HWND control(HWND form, const char* cls, const char* text, DWORD style, int id, int x, int y,
             int w, int h) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, form,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), libraryInstance(),
                         nullptr);
}

HWND edit(HWND form, int id, int x, int y, int w, int h, DWORD style = ES_AUTOHSCROLL) {
  HWND made = control(form, "EDIT", "", WS_BORDER | WS_TABSTOP | style, id, x, y, w, h);
  SendMessageA(made, EM_SETEVENTMASK, 0, ENM_CHANGE);
  return made;
}

void buildControls(HWND form) {
  for (int i = 0; i < SetupFormModel::kFlagCount; ++i)
    control(form, "Button", kFlagLabels[i], BS_AUTOCHECKBOX | WS_TABSTOP, kFirstFlag + i, 8,
            8 + 22 * i, 220, 20);
  control(form, "Static", "Corner (1-4):", 0, 0, 8, 100, 110, 20);
  edit(form, kPosition, 120, 98, 50, 22);
  control(form, "Static", "Sound for a tell:", 0, 0, 8, 128, 110, 20);
  edit(form, kOnTell, 120, 126, 200, 22);
  control(form, "Static", "Sound for a word:", 0, 0, 8, 156, 110, 20);
  edit(form, kOnWord, 120, 154, 200, 22);
  control(form, "Static", "Watched words, one a line:", 0, 0, 8, 184, 220, 20);
  edit(form, kWords, 8, 206, 312, 70, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN);
}

std::string textOf(HWND form, int id) {
  char buffer[4096];
  GetDlgItemTextA(form, id, buffer, sizeof buffer);
  return buffer;
}

void show(HWND form) {
  auto found = liveForms().find(form);
  if (found == liveForms().end()) return;
  const SetupFormModel& model = found->second;
  refreshing = true;
  for (int i = 0; i < SetupFormModel::kFlagCount; ++i)
    SendMessageA(GetDlgItem(form, kFirstFlag + i), BM_SETCHECK,
                 model.flags[i] ? BST_CHECKED : BST_UNCHECKED, 0);
  SetDlgItemTextA(form, kPosition, std::to_string(model.position).c_str());
  SetDlgItemTextA(form, kOnTell, model.onTell.c_str());
  SetDlgItemTextA(form, kOnWord, model.onWord.c_str());
  SetDlgItemTextA(form, kWords, model.wordLines().c_str());
  refreshing = false;
}

// A person changed a control: that form's values take it, and no other form's.
void takeControl(HWND form, int id) {
  auto found = liveForms().find(form);
  if (found == liveForms().end()) return;
  SetupFormModel& model = found->second;
  if (id >= kFirstFlag && id < kFirstFlag + SetupFormModel::kFlagCount)
    model.flags[id - kFirstFlag] =
        SendMessageA(GetDlgItem(form, id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  if (id == kPosition) model.position = static_cast<unsigned>(std::atoi(textOf(form, id).c_str())) & 0xFFFF;
  if (id == kOnTell) model.onTell = textOf(form, id);
  if (id == kOnWord) model.onWord = textOf(form, id);
  if (id == kWords) model.setWordsFromLines(textOf(form, id));
}

LRESULT CALLBACK formProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && !refreshing && lParam != 0) {
    int code = HIWORD(wParam);
    if (code == BN_CLICKED || code == EN_CHANGE) takeControl(form, LOWORD(wParam));
    return 0;
  }
  if (msg == WM_DESTROY) {
    liveForms().erase(form);
    if (currentForm == form) currentForm = nullptr;
  }
  return DefWindowProcA(form, msg, wParam, lParam);
}

bool registerFormClass() {
  WNDCLASSEXA known{};
  if (GetClassInfoExA(libraryInstance(), kFormClass, &known)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = formProc;
  wc.hInstance = libraryInstance();
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kFormClass;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace

HWND SetupForm::create(HWND parent) {
  if (!IsWindow(parent)) return nullptr;
  for (auto& entry : liveForms())
    if (GetParent(entry.first) == parent) return currentForm = entry.first;
  if (!registerFormClass()) return nullptr;
  // The page may not be laid out yet: the form takes the size its controls need.
  HWND form = CreateWindowExA(0, kFormClass, "", WS_CHILD | WS_VISIBLE, 0, 0, kFormWidth,
                              kFormHeight, parent, nullptr, libraryInstance(), nullptr);
  if (form == nullptr) return nullptr;
  buildControls(form);
  liveForms()[form] = SetupFormModel();
  currentForm = form;
  show(form);
  return form;
}

SetupFormModel& SetupForm::current() {
  auto found = liveForms().find(currentForm);
  return found != liveForms().end() ? found->second : noForm;
}

void SetupForm::refreshCurrent() { show(currentForm); }

void SetupForm::destroyAll() {
  std::vector<HWND> forms;
  for (auto& entry : liveForms()) forms.push_back(entry.first);
  for (HWND form : forms) DestroyWindow(form);
  liveForms().clear();
  currentForm = nullptr;
  UnregisterClassA(kFormClass, libraryInstance());
}

int SetupForm::liveCount() { return static_cast<int>(liveForms().size()); }
