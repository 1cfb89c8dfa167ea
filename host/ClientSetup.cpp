// The client's setup window: its own pages (servers, colours, fonts), one group page per kind
// of plug-in with the setup pages of the sessions under it, and the pages' buttons.
#include <algorithm>
#include <cstring>
#include <vector>

#include "host/ClientSessionCall.h"
#include "host/ClientSetupPages.h"
#include "host/SetupWindow.h"
#include "lib/RootWindow.h"
#include "lib/String.h"
#include "sdk/PlugsObject.h"

#include "host/ColorSetting.h"
#include "host/FontSetting.h"

namespace {

const int kPortTextSize = 1024;
const int kHostTextSize = 1024;

void serverError(const char* text) { MessageBoxA(nullptr, text, "Server Error", MB_ICONHAND); }

}  // namespace

void Client::SetupPagesDeleter::operator()(ClientSetupPages* pages) const { delete pages; }

// The server view follows the pages: the connection fills it while it exists.
void Client::attachSetupPages(ClientSetupPages* pages) {
  setupPages.reset(pages);
  serverList = pages != nullptr ? &pages->serverList : nullptr;
  serverEdit = pages != nullptr ? &pages->serverEdit : nullptr;
  portEdit = pages != nullptr ? &pages->portEdit : nullptr;
  defaultServerLabel = pages != nullptr ? &pages->defaultValue : nullptr;
  colorList = pages != nullptr ? &pages->colorList : nullptr;
  fontList = pages != nullptr ? &pages->fontList : nullptr;
  connection.setOwner(this, serverList);
}

// Pages are only added under a group item, so nothing happens before the setup is built.
void Client::addSetupPageOf(PlugRecord* plug, SessionNode* node, int groupPage) {
  PlugsObject* session = node->session;
  if (setupWindow == nullptr || groupPage == 0 || session == nullptr) return;
  bool hasSetup = false;
  if (!callSession(plug, "hasSetupWindow", true, [&] { hasSetup = session->hasSetupWindow(); }) ||
      !hasSetup)
    return;
  UserWindow* page = setupWindow->newPage();
  if (page == nullptr) return;
  HWND window = page->getHwnd();
  if (!callSession(plug, "createSetupWindow", true, [&] { session->createSetupWindow(window); }))
    return;
  HTREEITEM item = setupWindow->addChildItem(pageItemOf(groupPage), plug->name, page);
  node->setupPage = pageIdOf(item);
}

void Client::addSessionSetupPages(SessionRecord* record, int groupPage) {
  if (record->plug == nullptr || record->session == nullptr) return;
  SessionNode* node = ownNodeHolding(record->plug, record->session);
  if (node != nullptr) addSetupPageOf(record->plug, node, groupPage);
}

// The window and its pages are built when first shown: most clients never open theirs, and
// building them for every client made a start with hundreds of clients slow.
void Client::setupInit() {
  log.printf("Setup init.\n");
  attachSetupPages(nullptr);
  mainPage = addinsPage = inOutPage = 0;
  setupWanted = true;
}

void Client::buildSetup() {
  if (!setupWanted || setupPages != nullptr) return;
  ClientSetupPages* pages = new ClientSetupPages(this);
  attachSetupPages(pages);
  if (setupWindow == nullptr) return;
  setupWindow->clearPages();
  setupWindow->setOwner(this);
  RootWindow* root = getRootWindow();
  if (root != nullptr && !setupWindow->isCreated()) root->addChild(setupWindow);

  auto addPage = [this](const char* title, auto build) {
    UserWindow* page = setupWindow->newPage();
    if (page == nullptr) return 0;
    build(page->getHwnd());
    return pageIdOf(setupWindow->addItem(title, page));
  };
  addPage("Network setup", [pages](HWND page) { pages->buildNetwork(page); });
  addPage("Color setup", [pages](HWND page) { pages->buildColors(page); });
  addPage("Font setup", [pages](HWND page) { pages->buildFonts(page); });
  mainPage = addPage("Main plugin's setup",
                     [pages](HWND page) { pages->buildGroup(page, ClientSetupPages::MainGroup); });
  addSessionSetupPages(&mainRecord, mainPage);
  addinsPage = addPage("Add-ins plugin's setup", [pages](HWND page) {
    pages->buildGroup(page, ClientSetupPages::AddinsGroup);
  });
  for (ListNode<SessionRecord*>* node = addins.headNode(); node != nullptr; node = node->next)
    addSessionSetupPages(node->value, addinsPage);
  inOutPage = addPage("In/Out plugin's setup", [pages](HWND page) {
    pages->buildGroup(page, ClientSetupPages::InOutGroup);
  });
  for (ListNode<SessionRecord*>* node = inOuts.headNode(); node != nullptr; node = node->next)
    addSessionSetupPages(node->value, inOutPage);
  fillSettingLists();
}

void Client::showDefaultServer(const char* host, int port) {
  if (defaultServerLabel == nullptr) return;
  if (host != nullptr)
    defaultServerLabel->setText(formatStatic("%s:%i", host, port));
  else
    defaultServerLabel->setText("No server found.");
}

void Client::showSetup() {
  log.printf("Show the setup.\n");
  buildSetup();
  ServerEntry* first = connection.fillServerList();
  showDefaultServer(first != nullptr ? first->host : nullptr, first != nullptr ? first->port : 0);
  forEachRecord([this](SessionRecord* record) {
    PlugsObject* session = record->session;
    if (session != nullptr)
      callSession(record->plug, "onSetupOpen", true, [&] { session->onSetupOpen(); });
    return false;
  });
  if (setupWindow != nullptr) setupWindow->show();
}

void Client::onSetupClose() {
  log.printf("Close the setup.\n");
  forEachRecord([this](SessionRecord* record) {
    PlugsObject* session = record->session;
    if (session != nullptr)
      callSession(record->plug, "onSetupClose", true, [&] { session->onSetupClose(); });
    return false;
  });
}

// The client's controls go before the pages that hold them.
void Client::setupTerm() {
  log.printf("Term setup.\n");
  setupWanted = false;
  attachSetupPages(nullptr);
  if (setupWindow != nullptr) setupWindow->clearPages();
  mainPage = addinsPage = inOutPage = 0;
  forEachRecord([this](SessionRecord* record) {
    SessionNode* node = record->plug != nullptr && record->session != nullptr
                            ? ownNodeHolding(record->plug, record->session)
                            : nullptr;
    if (node != nullptr) node->setupPage = 0;
    return false;
  });
}

void Client::addServerFromPage() {
  char portText[kPortTextSize] = {};
  char host[kHostTextSize] = {};
  if (portEdit != nullptr) portEdit->getText(portText, sizeof portText);
  if (serverEdit != nullptr) serverEdit->getText(host, sizeof host);
  int port = 0;
  if (!parsePortText(portText, &port) || host[0] == '\0') {
    serverError("Invalid port !");
    return;
  }
  if (!connection.addServer(host, port, true)) {
    serverError("The server already exist !");
    return;
  }
  showDefaultServer(host, port);
}

// The selected server's host is copied: removing the server frees its entry.
bool Client::selectedServer(String* host, int* port) {
  ServerEntry* entry = serverList != nullptr
                           ? reinterpret_cast<ServerEntry*>(serverList->getSelectedData())
                           : nullptr;
  if (entry == nullptr) {
    serverError("There is no selected server !");
    return false;
  }
  host->assign(entry->host);
  *port = entry->port;
  return true;
}

void Client::onButton(int id) {
  String host;
  int port = 0;
  switch (id) {
    case 3:
      addServerFromPage();
      break;
    case 4:
      if (!selectedServer(&host, &port)) break;
      connection.removeServer(host.text(), port);
      if (ServerEntry* first = connection.getDefaultServer())
        showDefaultServer(first->host, first->port);
      else
        showDefaultServer(nullptr, 0);
      break;
    case 5:
      if (!selectedServer(&host, &port)) break;
      connection.setDefaultServer(host.text(), port);
      showDefaultServer(host.text(), port);
      break;
    case 6:
      chooseSelectedColor();
      break;
    case 7:
      chooseSelectedFont();
      break;
    default:
      break;
  }
}

// The hash tables forget the order of definition; the lists show it.
template <typename Setting>
static void fillInOrder(HashTable<Setting*>& table, ListView* list) {
  if (list == nullptr) return;
  std::vector<Setting*> settings;
  table.forEach([&settings](HashEntry<Setting*>& entry) { settings.push_back(entry.value); });
  std::sort(settings.begin(), settings.end(),
            [](const Setting* a, const Setting* b) { return a->order < b->order; });
  for (Setting* setting : settings)
    list->addItem(setting->label, reinterpret_cast<LPARAM>(setting));
}

void Client::fillSettingLists() {
  fillInOrder(colors, colorList);
  fillInOrder(fonts, fontList);
}

void Client::chooseSelectedColor() {
  auto* setting = colorList != nullptr
                      ? reinterpret_cast<ColorSetting*>(colorList->getSelectedData())
                      : nullptr;
  if (setting != nullptr) chooseColor(setting->name);
}

void Client::chooseSelectedFont() {
  auto* setting =
      fontList != nullptr ? reinterpret_cast<FontSetting*>(fontList->getSelectedData()) : nullptr;
  if (setting != nullptr) chooseFont(setting->name);
}
