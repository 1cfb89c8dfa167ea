#include "host/ClientSetupPages.h"

#include <cctype>

namespace {

const char* const kMainHelp =
    "\nThe main plugin is the plugin which makes possible the translation of\nthe data received by "
    "the chat server. Generally, only one main plugin\nexists for a specific chat server (irc, "
    "nevchat, ...).";
const char* const kAddinsHelp =
    "\nThe addins plugins enhance or add functionalities to the main plugin.\n(Eg. : an addins "
    "plugin can create separated windows for your private\nchat, or can allow you to send files "
    "to another users).";
const char* const kInOutHelp =
    "\nThe in/out plugins are able to modify received data before the parsing\nand data just "
    "before the sending to the chat server.";

const int kMaxPort = 65535;

}  // namespace

bool parsePortText(const char* text, int* port) {
  if (text == nullptr) return false;
  while (*text == ' ' || *text == '\t') ++text;
  long value = 0;
  int digits = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text, ++digits) {
    value = value * 10 + (*text - '0');
    if (value > kMaxPort) return false;
  }
  while (*text == ' ' || *text == '\t') ++text;
  if (digits == 0 || *text != '\0' || value < 1) return false;
  *port = static_cast<int>(value);
  return true;
}

ClientSetupPages::ClientSetupPages(ButtonListener* listener)
    : addButton("Add the server", 3),
      defaultButton("Set at default", 5),
      removeButton("Remove the server", 4),
      colorButton("Setup color", 6),
      fontButton("Setup font", 7),
      mainHelp(kMainHelp, false),
      addinsHelp(kAddinsHelp, false),
      inOutHelp(kInOutHelp, false) {
  serverEdit.setNext(&portEdit);
  portEdit.setNext(&serverEdit);
  for (NotifyButton* button :
       {&addButton, &defaultButton, &removeButton, &colorButton, &fontButton})
    button->setListener(listener);
}

WindowContainer* ClientSetupPages::wrap(HWND page) {
  pageWindows.emplace_back(new ExistWindow(page));
  return pageWindows.back().get();
}

void ClientSetupPages::buildNetwork(HWND page) {
  wrap(page)->setClient(&networkFrame);
  networkFrame.setClient(&serverLine);
  serverLine.addChild(&defaultLine, 10);
  defaultLine.addChild(&defaultTitle, 10);
  defaultLine.addChild(&defaultValue, 20);
  serverLine.addChild(&serverList, 56);
  serverList.setShowSelectionAlways(true);
  serverLine.addChild(&newServerFrame, 24);
  newServerFrame.setClient(&newServerLine);
  newServerLine.addChild(&addServerLine, 100);
  addServerLine.addChild(&serverTitle, 20);
  addServerLine.addChild(&serverEdit, 80);
  newServerLine.addChild(&addPortLine, 100);
  addPortLine.addChild(&portTitle, 20);
  addPortLine.addChild(&portEdit, 80);
  serverLine.addChild(&buttonsLine, 10);
  buttonsLine.addChild(&addButton, 100);
  buttonsLine.addChild(&defaultButton, 100);
  buttonsLine.addChild(&removeButton, 100);
}

void ClientSetupPages::buildSettingList(HWND page, Frame& frame, Line& line, ListView& list,
                                        Line& buttons, Label& left, Button& button, Label& right) {
  wrap(page)->setClient(&frame);
  frame.setClient(&line);
  line.addChild(&list, 90);
  list.setShowSelectionAlways(true);
  line.addChild(&buttons, 10);
  buttons.addChild(&left, 50);
  buttons.addChild(&button, 100);
  buttons.addChild(&right, 50);
}

void ClientSetupPages::buildColors(HWND page) {
  buildSettingList(page, colorFrame, colorLine, colorList, colorButtons, colorLeft, colorButton,
                   colorRight);
}

void ClientSetupPages::buildFonts(HWND page) {
  buildSettingList(page, fontFrame, fontLine, fontList, fontButtons, fontLeft, fontButton,
                   fontRight);
}

void ClientSetupPages::buildGroup(HWND page, Group group) {
  Frame& frame = group == MainGroup ? mainFrame : group == AddinsGroup ? addinsFrame : inOutFrame;
  Label& help = group == MainGroup ? mainHelp : group == AddinsGroup ? addinsHelp : inOutHelp;
  wrap(page)->setClient(&frame);
  frame.setClient(&help);
}
