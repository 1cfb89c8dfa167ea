// Every handler checks its own command name first, so a handler called with another line
// does nothing. Refusals are one red line, or a red prefix and a black reason.
#include "host/SystemInput.h"

#include <cctype>
#include <cstring>

#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Console.h"
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemWindow.h"
#include "sdk/NoCase.h"

namespace {

enum Command {
  Help,
  HideMenu,
  ShowMenu,
  Send,
  Version,
  Author,
  Descript,
  Update,
  Add,
  Remove,
};

const char* const commands[SystemInput::CommandCount] = {
    "/help",   "/hidemenu", "/showmenu", "/send", "/version",
    "/author", "/descript", "/update",   "/add",  "/remove",
};

// Each line's first character picks its colour: '0' black, '1' blue, '2' red.
const char* const helpLines[] = {
    "0",
    "2System Help",
    "2===========",
    "1Some command are recognize in the system window :",
    "0- help\t\t\t: Show this help.",
    "0- hidemenu\t\t: Hide the system menu.",
    "0- showmenu\t\t: Show the system menu.",
    "0- send <client> <data>\t: Send data by the socket of the client 'client'.",
    "0- update <filename>\t\t: Update a plugins with the file <filename>.",
    "0- version <plugsname>\t: Display the plugin's version.",
    "0- author <plugsname>\t: Display the plugin's author.",
    "0- descript <plugsname>\t: Display the short description of the plugin",
    "0- add <client> <plugname>\t: Add the plugin to the client.",
    "0- remove <client> <plugname>\t: Remove the plugin from the client.",
    "0",
};

const COLORREF black = RGB(0, 0, 0);
const COLORREF errorRed = RGB(128, 0, 0);
const COLORREF titleRed = RGB(192, 0, 0);
const COLORREF grey = RGB(128, 128, 128);

COLORREF helpColour(char code) {
  if (code == '1') return RGB(0, 0, 192);
  if (code == '2') return titleRed;
  return black;
}

bool startsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix) {
    if (std::tolower(static_cast<unsigned char>(*text)) !=
        std::tolower(static_cast<unsigned char>(*prefix)))
      return false;
  }
  return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

const char* skipBlanks(const char* text) {
  while (isBlank(*text)) ++text;
  return text;
}

// The text behind the command name: null when the line is not that command.
const char* behindCommand(const char* line, int index) {
  if (!line || !startsWithNoCase(line, commands[index])) return nullptr;
  return line + std::strlen(commands[index]);
}

void refuse(const char* text) {
  setSystemColor(errorRed);
  printSystem("%s", text);
}

void refuseTwoPart(const char* prefix, const char* reason) {
  setSystemColor(errorRed);
  printSystem("%s", prefix);
  setSystemColor(black);
  printSystem("%s", reason);
}

Client* findClient(const char* name) { return clientList ? clientList->findClient(name) : nullptr; }

PlugRecord* findPlug(const char* name) {
  return plugsManagers ? plugsManagers->findPlug(name, 0) : nullptr;
}

const char* const infoLabels[] = {"Version ", "Author ", "Description "};
const char* const infoMethods[] = {"version (factory)", "author (factory)",
                                   "shortDescription (factory)"};

}  // namespace

SystemInput::SystemInput(SystemWindow* owner) : HistoryEditEx("System Input"), owner(owner) {}

const char* SystemInput::commandName(int index) {
  return index >= 0 && index < CommandCount ? commands[index] : nullptr;
}

bool SystemInput::onCreate() {
  registerCommands();
  return HistoryEditEx::onCreate();
}

void SystemInput::registerCommands() {
  work.assign("");
  for (const char* command : commands) {
    work.append(command);
    work.append(" ");
  }
  setWordList(work.text(), true);
}

bool SystemInput::onKey(int key, bool down) {
  if (down && owner && owner->checkKeyPressed(key)) return true;
  return HistoryEditEx::onKey(key, down);
}

bool SystemInput::onEnter() {
  int length = getTextLength();
  bool result = HistoryEditEx::onEnter();
  if (length == 0) return result;
  // A handler may open a nested loop in which another line is entered: keep this one aside.
  String line(typed.text());
  int index = findCommand(line.text());
  if (index >= 0) {
    runCommand(index, line.text());
    return result;
  }
  if (systemPluginsSession && systemPluginsSession->onCommandLine(line.text())) return result;
  setSystemColor(errorRed);
  printSystem("Invalid Command : '%s'\n", line.text());
  return result;
}

int SystemInput::findCommand(const char* line) {
  if (!line) return -1;
  work.assign(line);
  int space = work.find(' ', 0);
  if (space >= 0) work.erase(space, -1);
  for (int index = 0; index < CommandCount; ++index)
    if (equalsNoCase(work.text(), commands[index])) return index;
  return -1;
}

void SystemInput::runCommand(int index, const char* line) {
  switch (index) {
    case Help:
      printHelp();
      break;
    case HideMenu:
      if (owner) owner->hideMenu();
      break;
    case ShowMenu:
      if (owner) owner->showMenu();
      break;
    case Send:
      sendCommand(line);
      break;
    case Version:
    case Author:
    case Descript:
      showPlugInfo(index, line);
      break;
    case Update:
      updateCommand(line);
      break;
    case Add:
      addCommand(line);
      break;
    case Remove:
      removeCommand(line);
      break;
    default:
      break;
  }
}

void SystemInput::printHelp() {
  for (const char* line : helpLines) {
    setSystemColor(helpColour(line[0]));
    printSystem("%s\n", line + 1);
  }
}

void SystemInput::sendCommand(const char* line) {
  const char* rest = behindCommand(line, Send);
  if (!rest) return;
  if (*rest != ' ') return refuse("Send error : Need more arguments.\n");
  work.assign(skipBlanks(rest));
  int space = work.find(' ', 0);
  if (space < 0) return refuse("Send error : Need more arguments.\n");
  char* name = work.buffer();
  name[space] = '\0';
  const char* data = name + space + 1;
  Client* client = findClient(name);
  if (!client) {
    setSystemColor(errorRed);
    printSystem("Send error : Unknown client (%s).\n", name);
    return;
  }
  setSystemColor(grey);
  printSystem("Send (%s) : '%s'\n", name, data);
  String text(data);
  text.append("\n");
  client->sendData(text.text());
}

bool SystemInput::readPlugInfo(PlugRecord* record, int index, float* version, const char** text) {
  VornithPlugsFactory* factory = record->factory;
  int info = index - Version;
  return plugsManagers->callPlug(record, infoMethods[info], true, [&] {
    if (index == Version)
      *version = factory->version();
    else if (index == Author)
      *text = factory->author();
    else
      *text = factory->shortDescription();
  });
}

void SystemInput::showPlugInfo(int index, const char* line) {
  if (index < Version || index > Descript) return;
  const char* rest = behindCommand(line, index);
  if (!rest) return;
  if (*rest != ' ') return refuse("Send error : Need more arguments.\n");
  const char* name = rest + 1;
  PlugRecord* record = findPlug(name);
  if (!record) {
    setSystemColor(errorRed);
    printSystem("Disp Error : Unknown plugin - %s.\n", name);
    return;
  }
  if (!record->isLoaded() || !record->factory) {
    setSystemColor(errorRed);
    printSystem("Disp Error : Unable to get the information from this plugin - %s.\n", name);
    return;
  }
  float version = 0;
  const char* text = nullptr;
  // The record's name is copied first: a faulting plug-in is unloaded by the guard.
  String plugName(record->name);
  if (!readPlugInfo(record, index, &version, &text)) return;
  setSystemColor(titleRed);
  printSystem("%s", infoLabels[index - Version]);
  setSystemColor(black);
  printSystem("%s", plugName.text());
  setSystemColor(titleRed);
  printSystem(" -> ");
  setSystemColor(black);
  if (index == Version)
    printSystem("%.2f\n", static_cast<double>(version));
  else
    printSystem("%s\n", text ? text : "");
}

void SystemInput::updateCommand(const char* line) {
  const char* rest = behindCommand(line, Update);
  if (!rest) return;
  const char* file = skipBlanks(rest);
  if (!isBlank(*rest) || !*file) {
    refuseTwoPart("Update error : ", "Need more arguments.\n");
    return;
  }
  if (plugsManagers) plugsManagers->updatePlug(file);
}

bool SystemInput::findClientAndPlug(const char* line, int index, const char* prefix,
                                    Client** client, PlugRecord** record) {
  const char* rest = behindCommand(line, index);
  if (!rest) return false;
  const char* arguments = skipBlanks(rest);
  if (!isBlank(*rest) || !*arguments || !std::strchr(arguments, ' ')) {
    refuseTwoPart(prefix, "Need more arguments.\n");
    return false;
  }
  work.assign(arguments);
  int space = work.find(' ', 0);
  char* name = work.buffer();
  name[space] = '\0';
  const char* plugName = name + space + 1;
  *client = findClient(name);
  if (!*client) {
    refuseTwoPart(prefix, formatStatic("Unknown client (%s).\n", name));
    return false;
  }
  *record = findPlug(plugName);
  if (!*record) {
    refuseTwoPart(prefix, formatStatic("Unknown plugin (%s).\n", plugName));
    return false;
  }
  return true;
}

void SystemInput::addCommand(const char* line) {
  Client* client = nullptr;
  PlugRecord* record = nullptr;
  if (findClientAndPlug(line, Add, "Add error : ", &client, &record)) client->addPlug(record);
}

void SystemInput::removeCommand(const char* line) {
  Client* client = nullptr;
  PlugRecord* record = nullptr;
  if (findClientAndPlug(line, Remove, "Remove error : ", &client, &record))
    client->removePlug(record);
}
