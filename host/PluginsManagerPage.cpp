#include "host/PluginsManagerPage.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "host/Console.h"
#include "host/Host.h"
#include "platform/win32_guard.h"

namespace {

const COLORREF kInfoBackground = RGB(192, 192, 192);
const char* const kHelpError = "Vornith' Help Error";

// Copies a plug-in's text while still under the guard: the pointer is the plug-in's.
void copyText(char* buffer, size_t size, const char* text) {
  std::snprintf(buffer, size, "%s", text != nullptr ? text : "");
}

}  // namespace

PlugsList::PlugsList(const char* name, PluginsManagerPage* listener)
    : CheckList(name), listener(listener) {}

bool PlugsList::onSelect(HTREEITEM, LPARAM data) {
  listener->showPlugInfo(reinterpret_cast<PlugRecord*>(data));
  return true;
}

PluginsManagerPage::PluginsManagerPage(const char* title)
    : plugsList("Plugs List", this),
      frame(title),
      column("Horizontal Line", true),
      infoLine("Vertical Line 1", false),
      buttonLine("Vertical Line 2", false),
      version("Version", 0),
      author("Author", 0),
      description("Short Description", 0),
      helpButton("Help", 2),
      applyButton("Apply (load/unload)", 1) {
  helpButton.setListener(this);
  applyButton.setListener(this);
}

PluginsManagerPage::~PluginsManagerPage() { destroy(); }

template <typename Call>
bool PluginsManagerPage::callPlug(PlugRecord* record, const char* method, bool unload,
                                  Call&& call) {
  if (plugsManagers != nullptr) return plugsManagers->callPlug(record, method, unload, call);
  if (guardedCall(call)) return true;
  reportPluginCriticalError(record, method, unload, nullptr);
  return false;
}

HTREEITEM PluginsManagerPage::itemOf(const PlugRecord& record) {
  return reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(record.listItem));
}

void PluginsManagerPage::onButton(int id) {
  if (id == 1) apply();
  if (id == 2) showHelp();
}

void PluginsManagerPage::create(HWND parent) {
  if (pageWindow != nullptr || parent == nullptr) return;
  pageWindow = new ExistWindow(parent);
  pageWindow->setClient(&frame);
  frame.setClient(&column);
  column.addChild(&plugsList, 200);
  column.addChild(&infoLine, 30);
  column.addChild(&description, 45);
  column.addChild(&buttonLine, 25);
  infoLine.addChild(&author, 80);
  infoLine.addChild(&version, 20);
  buttonLine.addChild(&applyButton, 100);
  buttonLine.addChild(&helpButton, 100);
  for (RichEdit* edit : {&version, &author, &description})
    edit->setBackgroundColour(kInfoBackground);
  EnableWindow(helpButton.getHwnd(), FALSE);
}

void PluginsManagerPage::destroy() {
  delete pageWindow;
  pageWindow = nullptr;
}

void PluginsManagerPage::setOwner(PlugsListener* newOwner) { owner = newOwner; }

void PluginsManagerPage::setPlugList(PlugList* list) { plugList = list; }

void PluginsManagerPage::addNewItems() {
  if (plugList == nullptr) return;
  for (PlugRecord& record : *plugList) {
    if (record.flags & PLUG_LISTED) continue;
    HTREEITEM item = plugsList.addItem(record.name, reinterpret_cast<LPARAM>(&record));
    // A list without its control takes nothing; the record is listed once there is one.
    if (item == nullptr) continue;
    record.listItem = static_cast<int>(reinterpret_cast<intptr_t>(item));
    record.flags |= PLUG_LISTED;
  }
}

void PluginsManagerPage::syncChecks() {
  if (plugList == nullptr) return;
  for (PlugRecord& record : *plugList)
    if ((record.flags & PLUG_LISTED) && record.listItem != 0)
      plugsList.setChecked(itemOf(record), record.isLoaded());
}

void PluginsManagerPage::clearItems() {
  if (plugList == nullptr) return;
  for (PlugRecord& record : *plugList) {
    if ((record.flags & PLUG_LISTED) && record.listItem != 0) plugsList.removeItem(itemOf(record));
    record.listItem = 0;
    record.flags &= ~PLUG_LISTED;
  }
}

void PluginsManagerPage::showNotLoaded() {
  version.clear();
  author.clear();
  description.clear();
  description.appendText("Not loaded.");
  EnableWindow(helpButton.getHwnd(), FALSE);
}

void PluginsManagerPage::showPlugInfo(PlugRecord* record) {
  if (record == nullptr) return;
  VornithPlugsFactory* factory = record->factory;
  if (!record->isLoaded() || factory == nullptr) {
    showNotLoaded();
    return;
  }
  char authorText[1024], descriptionText[4096], versionText[64];
  bool hasHelp = false;
  bool read = callPlug(record, "shortDescription (factory)", true, [&] {
    copyText(authorText, sizeof authorText, factory->author());
    std::snprintf(versionText, sizeof versionText, "%.2f", static_cast<double>(factory->version()));
    copyText(descriptionText, sizeof descriptionText, factory->shortDescription());
    const char* help = factory->getHelpFile();
    hasHelp = help != nullptr && help[0] != '\0';
  });
  if (!read) {
    showNotLoaded();
    // The report may have unloaded the plug-in: its box must not ask for a reload on "Apply".
    if (record->listItem != 0) plugsList.setChecked(itemOf(*record), record->isLoaded());
    return;
  }
  version.clear();
  author.clear();
  description.clear();
  author.appendText(authorText);
  version.appendText(versionText);
  description.appendText(descriptionText);
  EnableWindow(helpButton.getHwnd(), hasHelp ? TRUE : FALSE);
}

void PluginsManagerPage::apply() {
  for (HTREEITEM item = plugsList.getRoot(); item != nullptr;
       item = plugsList.getNextSibling(item)) {
    PlugRecord* record = reinterpret_cast<PlugRecord*>(plugsList.getItemData(item));
    if (record == nullptr || owner == nullptr) continue;
    bool checked = plugsList.isChecked(item);
    if (!checked && record->isLoaded()) {
      if (!owner->unloadPlug(record)) plugsList.setChecked(item, true);
    } else if (checked && !record->isLoaded()) {
      if (!owner->loadPlug(record)) plugsList.setChecked(item, false);
    }
  }
  showPlugInfo(reinterpret_cast<PlugRecord*>(plugsList.getSelectedData()));
}

void PluginsManagerPage::showHelp() {
  PlugRecord* record = reinterpret_cast<PlugRecord*>(plugsList.getSelectedData());
  if (record == nullptr) {
    MessageBoxA(nullptr, "No plug selected !", kHelpError, MB_ICONERROR);
    return;
  }
  VornithPlugsFactory* factory = record->factory;
  if (!record->isLoaded() || factory == nullptr) {
    MessageBoxA(nullptr, "The plug need to be loaded to see the help !", kHelpError, MB_ICONERROR);
    return;
  }
  char file[PlugRecord::kFileSize * 4];
  bool hasHelp = false;
  if (!callPlug(record, "getHelpFile", false, [&] {
        const char* help = factory->getHelpFile();
        hasHelp = help != nullptr && help[0] != '\0';
        copyText(file, sizeof file, help);
      }))
    return;
  if (!hasHelp) {
    MessageBoxA(nullptr, "No help available for this plugin.", "Vornith' Help Message", MB_OK);
    return;
  }
  setSystemColor(RGB(0, 0, 0));
  printSystem("Help request.\n");
  ShellExecuteA(nullptr, "open", file, nullptr, ".", SW_SHOW);
}
