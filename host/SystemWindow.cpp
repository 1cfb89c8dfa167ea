// Settings come from the host's settings object when there is one (defaults otherwise), and
// the window state goes back into it when the window closes; the file is written at shut-down.
#include "host/SystemWindow.h"

#include <cstdint>

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Console.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemSettings.h"
#include "sdk/NoCase.h"

namespace {

const int keyTab = VK_TAB;
const int keyF11 = VK_F12 - 1;
const int keyF12 = VK_F12;
const int keyMenuToggle = VK_OEM_7;

enum MenuId {
  QuitId = 0,
  ClearId = 1,
  AlwaysOnTopId = 2,
  PluginsManagerId = 3,
  SystemPluginsSetupId = 4,
  HideMenuId = 5,
  FirstTabStyleId = 15,
  LastTabStyleId = 18,
};

int setting(int SystemSettings::*field, int fallback) {
  return systemSettings ? systemSettings->*field : fallback;
}

bool setting(bool SystemSettings::*field, bool fallback) {
  return systemSettings ? systemSettings->*field : fallback;
}

bool keyDown(int key) { return (GetKeyState(key) & 0xFF00) != 0; }

// Handles are small integers, so the low bits make the key.
int keyOf(HWND tab) { return static_cast<int>(reinterpret_cast<uintptr_t>(tab)); }

}  // namespace

const char* const SystemWindow::Title = "Vornith 2 - Created by Morvash";

SystemWindow::SystemWindow()
    : TopWindow(Title, setting(&SystemSettings::windowLeft, 0),
                setting(&SystemSettings::windowTop, 0), setting(&SystemSettings::windowWidth, 600),
                setting(&SystemSettings::windowHeight, 300), false),
      output(this),
      input(this),
      tabs(this, setting(&SystemSettings::tabStyle, 0)),
      containers("System Containers", true),
      menuBar(true),
      systemMenu(false),
      tabStyleMenu(false) {
  setMagneticForce(setting(&SystemSettings::magneticForce, 10));
  buildMenus();
  output.setInput(&input);
}

SystemWindow::~SystemWindow() {
  if (getConsole() == &output) setConsole(nullptr);
  // Destroyed without closing: nothing is stored and no quit is posted.
  if (hwnd) {
    DestroyWindow(hwnd);
    detach();
  }
  tabPages.forEach([](HashEntry<UserWindow*>& entry) { delete entry.value; });
  tabPages.clear();
}

void SystemWindow::buildMenus() {
  systemMenu.appendItem("Clear the system window", ClearId);
  systemMenu.appendCheckItem("Always on top", AlwaysOnTopId,
                             setting(&SystemSettings::alwaysOnTop, false));
  systemMenu.appendSeparator();
  systemMenu.appendItem("Plugins manager...", PluginsManagerId);
  systemMenu.appendItem("System plugins setup...", SystemPluginsSetupId);
  systemMenu.appendSeparator();
  systemMenu.appendItem("Hide the system menu (ctrl+\xB2 = show/hide it)", HideMenuId);
  int style = setting(&SystemSettings::tabStyle, 0);
  tabStyleMenu.appendCheckItem("Use bottom tabs", 15, style == 0);
  tabStyleMenu.appendCheckItem("Use top tabs", 16, style == 1);
  tabStyleMenu.appendSeparator();
  tabStyleMenu.appendCheckItem("Use buttons", 17, style == 2);
  tabStyleMenu.appendCheckItem("Use flat buttons", 18, style == 3);
  systemMenu.appendSubMenu("Tab Style Configuration", &tabStyleMenu);
  systemMenu.appendSeparator();
  systemMenu.appendItem("Quit !", QuitId);
  menuBar.appendSubMenu("System", &systemMenu);
  nextId = 32;
}

bool SystemWindow::onCreate() {
  if (setting(&SystemSettings::maximized, false)) maximize();
  menuBar.setOwner(this);
  menuShown = true;
  if (!setting(&SystemSettings::showSystemMenu, true)) hideMenu();
  setTopmost(setting(&SystemSettings::alwaysOnTop, false));
  setClient(&tabs);
  tabs.addPage(&containers, "System");
  containers.setRegion(&output, CompassContainer::Centre, 0, -1);
  containers.setRegion(&input, CompassContainer::South, setting(&SystemSettings::inputHeight, 21),
                       -1);
  setConsole(&output);
  return false;
}

bool SystemWindow::onClose() {
  if (systemSettings) {
    systemSettings->maximized = IsZoomed(hwnd) != 0;
    ShowWindow(hwnd, SW_RESTORE);
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(hwnd, &rect);
    systemSettings->windowLeft = rect.left;
    systemSettings->windowTop = rect.top;
    systemSettings->windowWidth = rect.right - rect.left;
    systemSettings->windowHeight = rect.bottom - rect.top;
    systemSettings->inputHeight = containers.regionSize(CompassContainer::South);
    systemSettings->alwaysOnTop = systemMenu.isChecked(AlwaysOnTopId);
    systemSettings->tabStyle = tabs.getTabStyle();
  }
  PostQuitMessage(0);
  return false;
}

bool SystemWindow::onCommand(int id) {
  switch (id) {
    case QuitId:
      destroy();
      break;
    case ClearId:
      output.clear();
      break;
    case AlwaysOnTopId: {
      bool on = !systemMenu.isChecked(AlwaysOnTopId);
      systemMenu.check(AlwaysOnTopId, on);
      setTopmost(on);
      break;
    }
    case PluginsManagerId:
      if (plugsManagers) plugsManagers->showWindow();
      break;
    case SystemPluginsSetupId:
      if (systemPluginsSession) systemPluginsSession->onSetupOpen();
      break;
    case HideMenuId:
      hideMenu();
      break;
    default:
      if (id >= FirstTabStyleId && id <= LastTabStyleId) {
        tabs.setTabStyle(id - FirstTabStyleId);
        syncTabStyleMenu();
      } else if (Client* client = clientList ? clientList->findClientByCommandId(id) : nullptr) {
        client->onMenuCommand(id);
      }
      break;
  }
  return true;
}

bool SystemWindow::onMessage(const MSG& message) {
  if (message.message == ConnectionRequestMessage) {
    dispatchRequest(reinterpret_cast<ConnectionRequest*>(message.lParam));
    return true;
  }
  if (systemPluginsSession) {
    MSG copy = message;
    if (systemPluginsSession->onWindowMessage(&copy)) return true;
  }
  return TopWindow::onMessage(message);
}

bool SystemWindow::onActivate(bool active) {
  if (active) tabs.setFocus();
  return true;
}

void SystemWindow::dispatchRequest(ConnectionRequest* request) {
  if (!request) return;
  // A client killed while its requests were queued is gone: its records are only freed.
  Client* client = request->client;
  if (client && clientList && clientList->contains(client)) {
    switch (request->kind) {
      case ConnectionRequest::TryConnect:
        client->onTryConnect(request->text, request->value);
        break;
      case ConnectionRequest::Connected:
        client->onConnected(request->text, request->value);
        break;
      case ConnectionRequest::Closed:
        client->onConnectionClosed();
        break;
      case ConnectionRequest::Data:
        client->onSocketData(request->text, request->value);
        break;
      case ConnectionRequest::SocketError:
        client->onSocketError(request->text);
        break;
      default:
        break;
    }
  }
  ConnectionRequest::destroy(request);
}

bool SystemWindow::checkKeyPressed(int key) {
  if (systemPluginsSession && systemPluginsSession->onCheckKeyPressed(key)) return true;
  bool ctrl = keyDown(VK_CONTROL);
  bool shift = keyDown(VK_SHIFT);
  switch (key) {
    case keyTab:
      if (!ctrl) return false;
      if (shift)
        previousTab();
      else
        nextTab();
      return true;
    case keyF11:
      previousTab();
      return true;
    case keyF12:
      nextTab();
      return true;
    case keyMenuToggle:
      if (!ctrl) return false;
      toggleMenu();
      return true;
    default:
      return false;
  }
}

void SystemWindow::nextTab() {
  int index = tabs.getSelected() + 1;
  if (index == tabs.getPageCount()) index = 1;
  tabs.select(index);
}

void SystemWindow::previousTab() {
  int index = tabs.getSelected() - 1;
  if (index < 1) index = tabs.getPageCount() - 1;
  tabs.select(index);
}

HWND SystemWindow::createStaticChild(HINSTANCE instance, HWND parent) {
  return CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, 0, 0, parent, nullptr,
                         instance, nullptr);
}

HWND SystemWindow::addTab(const char* title) { return addTabWithFactory(title, createStaticChild); }

HWND SystemWindow::addTabWithFactory(const char* title, UserWindow::CreateCallback create) {
  if (!create) return nullptr;
  UserWindow* page = new UserWindow(title);
  page->setCreateCallback(create);
  tabs.addPage(page, title);
  if (!page->isCreated()) {
    // No strip yet, or the callback made nothing: no tab stays behind.
    page->destroy();
    delete page;
    return nullptr;
  }
  HWND handle = page->getHwnd();
  tabPages.add(keyOf(handle), page);
  return page->releaseWindow();
}

UserWindow* SystemWindow::pageOf(HWND tab, int* index) {
  *index = -1;
  if (!tab) return nullptr;
  UserWindow** found = tabPages.find(keyOf(tab));
  if (!found || !*found) return nullptr;
  *index = tabs.indexOfPage(*found);
  return *found;
}

void SystemWindow::removeTab(HWND tab) {
  int index = -1;
  UserWindow* page = pageOf(tab, &index);
  if (!page) return;
  if (index != -1) {
    tabs.closePage(index);
    tabs.onSelect(tabs.getSelected());
  }
  tabPages.remove(keyOf(tab));
  delete page;
}

void SystemWindow::highlightTab(HWND tab, bool on) {
  int index = -1;
  if (pageOf(tab, &index) && index != -1) tabs.highlight(index, on);
}

void SystemWindow::selectTab(HWND tab) {
  int index = -1;
  if (pageOf(tab, &index) && index != -1) tabs.select(index);
}

bool SystemWindow::isTabSelected(HWND tab) {
  int index = -1;
  return pageOf(tab, &index) && index != -1 && index == tabs.getSelected();
}

void SystemWindow::setTabText(HWND tab, const char* text) {
  int index = -1;
  if (pageOf(tab, &index) && index != -1) tabs.setPageTitle(index, text);
}

void SystemWindow::syncTabStyleMenu() {
  int style = tabs.getTabStyle();
  for (int id = FirstTabStyleId; id <= LastTabStyleId; ++id)
    tabStyleMenu.check(id, id - FirstTabStyleId == style);
}

int SystemWindow::nextCommandId() { return nextId; }

void SystemWindow::addMenu(const char* title, Menu* popup, int idCount) {
  if (popup) menuBar.appendSubMenu(title ? title : "", popup);
  nextId += idCount;
}

void SystemWindow::removeMenu(const char* title) {
  if (!title) return;
  HMENU bar = menuBar.getHandle();
  // Right to left: of two entries with the same title, the newer one goes.
  for (int position = GetMenuItemCount(bar) - 1; position >= 0; --position) {
    char text[256] = {};
    GetMenuStringA(bar, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    if (equalsNoCase(text, title)) {
      RemoveMenu(bar, static_cast<UINT>(position), MF_BYPOSITION);
      DrawMenuBar(hwnd);
      return;
    }
  }
}

void SystemWindow::setMenuShown(bool shown) {
  menuShown = shown;
  if (systemSettings) systemSettings->showSystemMenu = shown;
  if (shown)
    menuBar.show();
  else
    menuBar.hide();
}

void SystemWindow::showMenu() { setMenuShown(true); }

void SystemWindow::hideMenu() { setMenuShown(false); }

void SystemWindow::toggleMenu() { setMenuShown(!menuShown); }
