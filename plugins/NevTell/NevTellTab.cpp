#include "plugins/NevTell/NevTellTab.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "lib/CompassContainer.h"
#include "lib/ExistWindow.h"
#include "plugins/NevTell/NevTellInputWindow.h"
#include "plugins/NevTell/NevTellSession.h"
#include "plugins/NevStyle/KeyOwners.h"
#include "sdk/NoCase.h"

namespace {

const int kF9 = VK_F1 + 8;

bool held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

NevTellTab::NevTellTab(NevTellSession* session, const char* nick)
    : session(session), nick(nick != nullptr ? nick : "") {}

NevTellTab::~NevTellTab() { destroy(); }

bool NevTellTab::create() {
  if (tab != nullptr) return true;
  tab = session->addSystemTab(nick.text());
  if (tab == nullptr) return false;
  tabWindow = new ExistWindow(tab);
  container = new CompassContainer("Nev Container", false);
  output = new StyledOutputWindow("Output", session);
  input = new NevTellInputWindow(session, this);
  tabWindow->setClient(container);
  container->setRegion(output, CompassContainer::Centre, -1, 0);
  container->setRegion(input, CompassContainer::South, -1, 0);
  NevTellSetupPage& settings = session->getSettings();
  StyledOutput& styled = output->styled();
  styled.setOwnerName("NevTell");
  styled.bindFlags(&settings.withEmptyLine, &settings.displayEmoticons,
                   &settings.displayDoubleEmoticons);
  styled.sharePictures(&session->pictures());
  output->setOwner(this);
  Menu& menu = output->getMenu();
  menu.appendItem("Close", CloseItem);
  menu.appendSeparator();
  menu.appendItem("Copy", CopyItem);
  menu.appendItem("Paste", PasteItem);
  menu.appendSeparator();
  menu.appendItem("Beep", BeepItem);
  menu.appendItem("Kick", KickItem);
  menu.appendSeparator();
  menu.appendItem("Send File...", SendFileItem);
  menu.appendItem("Open white board", WhiteBoardItem);
  enablePlugItems(menu);
  for (Window* window : {static_cast<Window*>(tabWindow), static_cast<Window*>(container),
                         static_cast<Window*>(output), static_cast<Window*>(input)})
    watchKeys(window);
  applyInputFont();
  applyInputBackground();
  applyOutputBackground();
  container->update();
  return true;
}

void NevTellTab::destroy() {
  KeyOwners<NevTellTab>::forget(this);
  // Controls go before the containers that hold them, and the windows before the system tab
  // that holds them all.
  delete output;
  delete input;
  delete container;
  delete tabWindow;
  output = nullptr;
  input = nullptr;
  container = nullptr;
  tabWindow = nullptr;
  if (tab != nullptr) session->removeSystemTab(tab);
  tab = nullptr;
}

void NevTellTab::setTitle(const char* suffix) {
  scratch.assign(nick.text());
  scratch.append(suffix);
  session->setSystemTabText(tab, scratch.text());
}

bool NevTellTab::isSelected() { return tab != nullptr && session->isSystemTabSelected(tab); }

bool NevTellTab::isBusy() const { return output != nullptr && output->isMenuOpen(); }

void NevTellTab::printTime(const char* time) {
  StyledOutput& styled = output->styled();
  styled.setTextColor("timestamp");
  styled.setTextFont("timestamp");
  styled.print("%s", time != nullptr ? time : "");
}

// A tell said by who (the own login or the partner), as an emote when it is one.
void NevTellTab::printSaid(const char* who, const char* text, const char* colour) {
  NevTellSetupPage& settings = session->getSettings();
  StyledOutput& styled = output->styled();
  if (settings.interpretEmote && startsNoCase(text, "Emote ")) {
    scratch.assign(text + 6);
    char* rest = scratch.buffer();
    rest[std::strcspn(rest, "\n")] = '\0';
    rest[std::strcspn(rest, "\r")] = '\0';
    styled.setTextColor("system");
    styled.setTextFont("normal");
    styled.print("<Nev> *%s %s*\n", who, rest);
    return;
  }
  char open = settings.useSquareBracket ? '[' : '<';
  char close = settings.useSquareBracket ? ']' : '>';
  styled.setTextColor(colour);
  styled.setTextFont("normal");
  styled.print("%c%s%c %s", open, who, close, text);
}

void NevTellTab::printOwnTell(const char* time, const char* text, bool isNew) {
  if (output == nullptr) return;
  applyOutputBackground();
  printTime(time);
  printSaid(session->getOwnLogin(), text != nullptr ? text : "", "yourtext");
  if (isNew) session->selectSystemTab(tab);
}

void NevTellTab::printTell(const char* time, const char* text) {
  if (output == nullptr) return;
  applyOutputBackground();
  printTime(time);
  printSaid(nick.text(), text != nullptr ? text : "", "normal");
  session->highlightSystemTab(tab, true);
}

void NevTellTab::printSystemLine(const char* time, const char* text, bool select,
                                 bool highlight) {
  if (output == nullptr) return;
  printTime(time);
  StyledOutput& styled = output->styled();
  styled.setTextColor("system");
  styled.setTextFont("normal");
  styled.print("%s", text != nullptr ? text : "");
  if (select)
    session->selectSystemTab(tab);
  else if (highlight)
    session->highlightSystemTab(tab, true);
}

void NevTellTab::applyInputFont() {
  if (input != nullptr) input->applyFont();
}

void NevTellTab::applyOutputBackground() {
  if (output != nullptr)
    output->setBackgroundColour(session->getColor(session->isAway() ? "backaway" : "backgrnd"));
}

void NevTellTab::applyInputBackground() {
  if (input != nullptr) input->setBackgroundColour(session->getColor("backin"));
}

// Each line of the text is a tell of its own; a line that starts with CR sends one blank.
void NevTellTab::sendLine(const char* text) {
  if (text == nullptr) return;
  String piece;
  while (*text != '\0') {
    size_t length = std::strcspn(text, "\n");
    piece.assign(text, static_cast<int>(length));
    text += length;
    if (*text == '\n') ++text;
    const char* line = piece.text();
    if (line[0] == '\r')
      sendTell(" ");
    else if (line[0] == '/')
      runCommand(line + 1);
    else if (line[0] != '\0')
      sendTell(line);
  }
}

void NevTellTab::sendTell(const char* text) {
  // A CR the edit kept at a line's end is no part of what was said.
  scratch.assign(text);
  char* line = scratch.buffer();
  size_t length = std::strlen(line);
  if (length > 0 && line[length - 1] == '\r') line[length - 1] = '\0';
  session->sendData(".t %s %s\n", nick.text(), line);
}

void NevTellTab::runCommand(const char* command) {
  static const char* const kDrawHelp = "<Vornith> You need 'v2draw' to use this command !\n";
  if (startsNoCase(command, "clear")) {
    output->clear();
    output->styled().setPendingNewline(false);
  } else if (startsNoCase(command, "beep")) {
    session->sendData("beep %s\n", nick.text());
  } else if (startsNoCase(command, "close")) {
    session->closeTab(nick.text());
  } else if (startsNoCase(command, "draw") || startsNoCase(command, "enddraw")) {
    if (session->hasPlug("v2draw"))
      session->sendEvent("v2draw", startsNoCase(command, "draw") ? "begindraw" : "enddraw",
                         nick.buffer());
    else
      printSystemLine("", kDrawHelp, false, false);
  } else {
    printSystemLine("", "<Vornith> Vornith' command not found.\n", false, false);
  }
}

void NevTellTab::enablePlugItems(Menu& menu) {
  session->hasPlug("vfile") ? menu.enable(SendFileItem) : menu.disable(SendFileItem);
  session->hasPlug("v2draw") ? menu.enable(WhiteBoardItem) : menu.disable(WhiteBoardItem);
}

void NevTellTab::onOutputMenu(Menu& menu) { enablePlugItems(menu); }

void NevTellTab::onOutputCommand(int id) {
  switch (id) {
    case CloseItem:
      session->closeTab(nick.text());
      return;
    case CopyItem:
      SendMessageA(output->getHwnd(), WM_COPY, 0, 0);
      return;
    case PasteItem:
      SendMessageA(input->getHwnd(), WM_PASTE, 0, 0);
      return;
    case BeepItem:
      session->sendData("beep %s\n", nick.text());
      return;
    case KickItem:
      session->sendData("kick %s\n", nick.text());
      return;
    case SendFileItem:
      if (session->hasPlug("vfile")) session->sendEvent("vfile", "sendfile", nick.buffer());
      return;
    case WhiteBoardItem:
      if (session->hasPlug("v2draw")) session->sendEvent("v2draw", "begindraw", nick.buffer());
      return;
    default:
      return;
  }
}

void NevTellTab::onFilesDropped(const std::vector<std::string>& paths) {
  char count[16];
  std::snprintf(count, sizeof count, "%i", static_cast<int>(paths.size()));
  session->sendEvent("vfile", "nbfiles", count);
  for (const std::string& path : paths) {
    std::string data = std::string(nick.text()) + ":" + path;
    session->sendEvent("vfile", "sendfile", &data[0]);
  }
}

void NevTellTab::watchKeys(Window* window) {
  KeyOwners<NevTellTab>::watch(window, this, &NevTellTab::windowHook);
}

bool NevTellTab::windowHook(Window* window, const MSG& message) {
  NevTellTab* owner = KeyOwners<NevTellTab>::find(window, message);
  if (owner == nullptr) return false;
  if (message.message == WM_KEYDOWN) return owner->onKeyDown(static_cast<int>(message.wParam));
  owner->onCharTyped(window);
  return false;
}

bool NevTellTab::onKeyDown(int key) {
  if (session->checkKeyPressed(key)) return true;
  if (key == VK_ESCAPE) {
    session->closeTab(nick.text());
    return true;
  }
  if (key == kF9) {
    session->connect();
    return true;
  }
  return false;
}

// A character typed with Shift (a capital, a sign) is meant for the input line as much as
// any other; only Ctrl keeps it where it is.
void NevTellTab::onCharTyped(Window* window) {
  if (window == input || input == nullptr || held(VK_CONTROL)) return;
  input->setFocus();
}
