#include "host/SystemPluginsSession.h"

#include <cstring>

#include "host/Console.h"
#include "host/PlugsManagers.h"
#include "sdk/PlugsSystemSession.h"

namespace {

char* heapCopy(const char* text) {
  size_t length = std::strlen(text) + 1;
  char* copy = new char[length];
  std::memcpy(copy, text, length);
  return copy;
}

void printBlue(const char* line) {
  setSystemColorRgb(0, 64, 255);
  printSystem("%s", line);
  setSystemColorRgb(0, 0, 0);
}

}  // namespace

SystemPluginsSession::SystemPluginsSession(PlugsManagers& managers, SystemSetupPages* pages)
    : managers_(managers), pages_(pages) {}

// The system session is the one of the record's first node, and counts only once flagged made.
PlugsSystemSession* SystemPluginsSession::sessionOf(PlugRecord& record) const {
  if ((record.flags & PLUG_SESSION) == 0 || record.sessions == nullptr) return nullptr;
  return static_cast<PlugsSystemSession*>(record.sessions->session);
}

template <typename Hook>
void SystemPluginsSession::broadcast(const char* method, Hook&& hook) {
  managers_.lock();
  // A faulting session unloads its record during the walk; the record itself stays listed.
  for (PlugRecord& record : *managers_.plugList(PLUG_KIND_SYSTEM)) {
    PlugsSystemSession* session = sessionOf(record);
    if (session != nullptr) managers_.callPlug(&record, method, true, [&] { hook(session); });
  }
  managers_.unlock();
}

void SystemPluginsSession::init() {
  printBlue("- System plugins Initialization.\n");
  showSetupWindow();
  managers_.lock();
  for (PlugRecord& record : *managers_.plugList(PLUG_KIND_SYSTEM)) {
    record.flags |= PLUG_SYSTEM;
    if (record.isLoaded() && record.factory != nullptr && sessionOf(record) == nullptr)
      makeSession(record);
  }
  managers_.unlock();
}

void SystemPluginsSession::term() {
  managers_.lock();
  printBlue("- System plugins Terminated.\n");
  for (PlugRecord& record : *managers_.plugList(PLUG_KIND_SYSTEM))
    if (sessionOf(record) != nullptr) dropSession(record, "deleteSession (factory)");
  managers_.unlock();
  hideSetupWindow();
}

bool SystemPluginsSession::loadPlug(PlugRecord* record) {
  if (record == nullptr) return false;
  if (record->isLoaded() && record->factory != nullptr) return true;
  char path[PlugRecord::kFileSize];
  std::memcpy(path, record->file, sizeof path);
  if (!managers_.loadPlugFile(*record, record->kind, path, false)) return false;
  makeSession(*record);
  return record->isLoaded();  // a fault while making the session has unloaded it
}

// A fault in any step has already unloaded the record through the managers, which clears the
// loaded flag: later steps then stop.
void SystemPluginsSession::makeSession(PlugRecord& record) {
  record.flags |= PLUG_SYSTEM;
  VornithPlugsFactory* factory = record.factory;
  PlugsObject* made = nullptr;
  if (!managers_.callPlug(&record, "newSession (factory)", true,
                          [&] { made = factory->newSession(PLUGS_SYSTEM_SESSION_NAME); }) ||
      made == nullptr)
    return;
  record.addSession(made, nullptr);
  auto* session = static_cast<PlugsSystemSession*>(made);
  record.flags |= PLUG_SESSION;  // before init, so a fault there drops the session too
  if (!managers_.callPlug(&record, "init", true, [&] { session->init(); })) return;
  addSetupPage(record, session);
}

void SystemPluginsSession::addSetupPage(PlugRecord& record, PlugsSystemSession* session) {
  bool hasSetup = false;
  if (!managers_.callPlug(&record, "hasSetupWindow", true,
                          [&] { hasSetup = session->hasSetupWindow(); }) ||
      !hasSetup || pages_ == nullptr)
    return;
  HWND window = nullptr;
  int page = pages_->addPage(record.name, &window);
  if (page == 0) return;
  record.sessions->setupPage = page;
  managers_.callPlug(&record, "createSetupWindow", true,
                     [&] { session->createSetupWindow(window); });
}

// Drops the system session of a record that has one; the module stays bound.
void SystemPluginsSession::dropSession(PlugRecord& record, const char* deleteName) {
  PlugsSystemSession* session = sessionOf(record);
  record.flags &= ~PLUG_SESSION;
  removeSetupPage(&record);
  managers_.callPlug(&record, "term", false, [&] { session->term(); });
  VornithPlugsFactory* factory = record.factory;
  if (factory != nullptr)
    managers_.callPlug(&record, deleteName, false, [&] { factory->deleteSession(session); });
  record.removeSession(session);
}

bool SystemPluginsSession::unloadPlug(PlugRecord* record) {
  if (record == nullptr || !record->isLoaded()) return true;
  if (sessionOf(*record) != nullptr) dropSession(*record, "deleteSession");
  // Loaded without a session (never made, or a fault before it was): still ended and freed.
  VornithPlugsFactory* factory = record->factory;
  if (factory != nullptr)
    managers_.callPlug(record, "term (factory)", false, [&] { factory->term(); });
  if (record->module != nullptr) FreeLibrary(record->module);
  record->module = nullptr;
  record->factory = nullptr;
  record->flags &= ~PLUG_LOADED;
  return true;
}

void SystemPluginsSession::removeSetupPage(PlugRecord* record) {
  if (record == nullptr || record->sessions == nullptr) return;
  SessionNode* node = record->sessions;
  if (node->setupPage != 0 && pages_ != nullptr) pages_->removePage(node->setupPage);
  node->setupPage = 0;
}

void SystemPluginsSession::onSetupOpen() {
  broadcast("onSetupOpen", [](PlugsSystemSession* session) { session->onSetupOpen(); });
  if (pages_ != nullptr) pages_->open();
}

void SystemPluginsSession::onSetupClose() {
  broadcast("onSetupClose", [](PlugsSystemSession* session) { session->onSetupClose(); });
}

void SystemPluginsSession::showSetupWindow() {
  if (pages_ == nullptr) return;
  pages_->removeAllPages();
  pages_->setListener(this);
}

void SystemPluginsSession::hideSetupWindow() {
  if (pages_ != nullptr) pages_->removeAllPages();
}

bool SystemPluginsSession::onWindowMessage(MSG* msg) {
  bool any = false;
  broadcast("onWindowMessage", [&](PlugsSystemSession* session) {
    any |= session->onWindowMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  });
  return any;
}

bool SystemPluginsSession::onCheckKeyPressed(int key) {
  bool any = false;
  broadcast("onCheckKeyPressed",
            [&](PlugsSystemSession* session) { any |= session->onCheckKeyPressed(key); });
  return any;
}

void SystemPluginsSession::onNewClient(const char* clientName) {
  broadcast("onNewClient", [&](PlugsSystemSession* session) { session->onNewClient(clientName); });
}

bool SystemPluginsSession::onEvent(const char* clientName, int lineNo, const char* eventName,
                                   EventData* data) {
  bool any = false;
  broadcast("onEvent", [&](PlugsSystemSession* session) {
    any |= session->onEvent(clientName, lineNo, eventName, data);
  });
  return any;
}

void SystemPluginsSession::onSystemEvent(const char* clientName, int id, EventData* data) {
  broadcast("onSystemEvent",
            [&](PlugsSystemSession* session) { session->onSystemEvent(clientName, id, data); });
}

bool SystemPluginsSession::onCommandLine(const char* line) {
  bool any = false;
  broadcast("onCommandLine",
            [&](PlugsSystemSession* session) { any |= session->onCommandLine(line); });
  return any;
}

char* SystemPluginsSession::onReceivedData(const char* clientName, const char* text) {
  return textChain("onReceivedData", &PlugsSystemSession::onReceivedData, clientName, text);
}

char* SystemPluginsSession::onDataToSend(const char* clientName, const char* text) {
  return textChain("onDataToSend", &PlugsSystemSession::onDataToSend, clientName, text);
}

// Each session sees the text as the previous one left it. A session that hands back the very
// buffer it was given keeps the text; any other text is copied before the next call, and a
// failed call leaves the text as it was.
char* SystemPluginsSession::textChain(const char* method, TextHook hook, const char* clientName,
                                      const char* text) {
  if (text == nullptr) return nullptr;
  managers_.lock();
  work_.assign(text);
  for (PlugRecord& record : *managers_.plugList(PLUG_KIND_SYSTEM)) {
    PlugsSystemSession* session = sessionOf(record);
    if (session == nullptr) continue;
    const char* current = work_.text();
    const char* result = nullptr;
    if (!managers_.callPlug(&record, method, true,
                            [&] { result = (session->*hook)(clientName, current); }))
      continue;
    if (result == nullptr || result == current) continue;
    String fresh(result);
    work_.assign(fresh);
  }
  char* copy = heapCopy(work_.text());
  managers_.unlock();
  return copy;
}

void SystemSessionHooks::refreshPage(int kind) {
  if (next_ != nullptr) next_->refreshPage(kind);
}

void SystemSessionHooks::showManagerWindow() {
  if (next_ != nullptr) next_->showManagerWindow();
}

bool SystemSessionHooks::systemLoadPlug(PlugRecord* record) {
  if (session_ != nullptr) return session_->loadPlug(record);
  return next_ != nullptr ? next_->systemLoadPlug(record) : true;
}

void SystemSessionHooks::systemUnloadPlug(PlugRecord* record) {
  if (session_ != nullptr)
    session_->unloadPlug(record);
  else if (next_ != nullptr)
    next_->systemUnloadPlug(record);
}

bool SystemSessionHooks::clientLoadPlug(Client* client, PlugRecord* record) {
  return next_ != nullptr ? next_->clientLoadPlug(client, record) : true;
}

void SystemSessionHooks::clientUnloadPlug(Client* client, PlugRecord* record) {
  if (next_ != nullptr) next_->clientUnloadPlug(client, record);
}
