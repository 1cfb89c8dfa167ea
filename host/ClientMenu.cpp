// The client's popup menu in the system window's menu bar: connecting, autoconnect, the setup
// window, configuration, the plugs list, the events file and killing the client.
#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Console.h"
#include "host/EventsFile.h"
#include "host/Host.h"
#include "host/PlugsListDialog.h"
#include "host/SystemWindow.h"

namespace {

const int kMenuIds = 9;
// "#" is a separator and takes no id.
const char* const kMenuItems[] = {"Connect",
                                  "Close",
                                  "#",
                                  "Autoconnect",
                                  "#",
                                  "Client setup...",
                                  "Reload setup",
                                  "Write setup",
                                  "#",
                                  "Plugins list...",
                                  "#",
                                  "Reload events file.",
                                  "#",
                                  "Kill"};

enum MenuItem {
  ConnectItem,
  CloseItem,
  AutoconnectItem,
  SetupItem,
  ReloadSetupItem,
  WriteSetupItem,
  PlugsListItem,
  ReloadEventsItem,
  KillItem,
};

const char* orEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

void Client::buildMenu() {
  if (systemWindow != nullptr) firstCommandId = systemWindow->nextCommandId();
  int id = firstCommandId;
  for (const char* item : kMenuItems) {
    if (item[0] == '#')
      popupMenu.appendSeparator();
    else
      popupMenu.appendItem(item, id++);
  }
  if (systemWindow != nullptr) systemWindow->addMenu(orEmpty(name), &popupMenu, kMenuIds);
}

bool Client::ownsCommandId(int id) const {
  return id >= firstCommandId && id < firstCommandId + kMenuIds;
}

void Client::reloadEventsFile() {
  setSystemColorRgb(0, 64, 255);
  if (eventsFile.length() > 0) {
    printSystem("<%s> Reload events file : %s\n", orEmpty(name), eventsFile.text());
    loadEventsFile(events, eventsFile.text());
  } else {
    printSystem("<%s> There is no events' files : %s\n", orEmpty(name), eventsFile.text());
  }
}

// Deletes this client: nothing may touch it after the client list has removed it.
void Client::killClient() {
  HWND owner = systemWindow != nullptr ? systemWindow->getHwnd() : nullptr;
  if (MessageBoxA(owner,
                  "Are you sure you want to kill the client ?\n(Warning : all settings will be "
                  "destroyed too !)",
                  "Kill Action", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return;
  term();
  hostIni.clearSection();
  setSystemColorRgb(192, 0, 0);
  printSystem("Client '%s' has been destroyed !\n", orEmpty(name));
  // By identity, not by name: a client named like another but for case must not take it along.
  if (clientList != nullptr) clientList->removeClient(this);
}

void Client::onMenuCommand(int id) {
  switch (id - firstCommandId) {
    case ConnectItem:
      connection.connect();
      break;
    case CloseItem:
      connection.disconnect();
      break;
    case AutoconnectItem:
      // Written with the rest of the configuration.
      autoconnect = !autoconnect;
      popupMenu.check(firstCommandId + AutoconnectItem, autoconnect);
      break;
    case SetupItem:
      showSetup();
      break;
    case ReloadSetupItem:
      readConfig();
      reloadPlugsSetup();
      break;
    case WriteSetupItem:
      writeConfig();
      writePlugsSetup();
      break;
    case PlugsListItem:
      if (plugsListDialog == nullptr) break;
      plugsListDialog->create(this);
      plugsListDialog->show();
      break;
    case ReloadEventsItem:
      reloadEventsFile();
      break;
    case KillItem:
      killClient();
      break;
    default:
      break;
  }
}
