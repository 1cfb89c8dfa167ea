#include "plugins/NevTell/NevTellSetupPage.h"

#include "sdk/PlugsSession.h"

namespace {

struct FlagKey {
  const char* key;
  bool def;
  const char* label;  // its check box on the page
};

// The settings file's order, which is also the page's, two check boxes a row.
const FlagKey kFlags[NevTellSetupPage::FlagCount] = {
    {"NevTell Intercept", true, "Intercept the \"tell\" messages received by the server..."},
    {"NevTell Display Emoticons", true, "Display emoticon"},
    {"NevTell Display Double Emoticons", true, "Activate the double emoticons - ie: :))"},
    {"NevTell With Empty Line", false, "Insert an empty line at the end of the text"},
    {"NevTell Display Timestamp", true, "Display the timestamps"},
    {"NevTell Interprete Emote", true, "Interpret the \"emote\" command in a tell line"},
    {"NevTell Use Square Bracket", false, "Nick display format = '[' nick ']'"},
    {"NevTell Send Later", true, "Send the message when the user comes in."},
};

}  // namespace

NevTellSetupPage::~NevTellSetupPage() { destroyPage(); }

unsigned char* NevTellSetupPage::flag(int index) {
  unsigned char* flags[FlagCount] = {&intercept,        &displayEmoticons, &displayDoubleEmoticons,
                                     &withEmptyLine,    &displayTimestamp, &interpretEmote,
                                     &useSquareBracket, &sendLater};
  return flags[index];
}

void NevTellSetupPage::reloadSetup() {
  if (session == nullptr) return;
  for (int i = 0; i < FlagCount; ++i)
    *flag(i) = session->getClientBool(kFlags[i].key, kFlags[i].def) ? 1 : 0;
}

void NevTellSetupPage::writeSetup() {
  if (session == nullptr) return;
  for (int i = 0; i < FlagCount; ++i) session->writeClientBool(kFlags[i].key, *flag(i) != 0);
}

void NevTellSetupPage::create(HWND parent) {
  if (page != nullptr || parent == nullptr) return;
  page = new ExistWindow(parent);
  page->setClient(&tabs);
  tabs.addPage(&globalLine, "Global NevTell Setup");
  for (int i = 0; i < FlagCount; ++i) checks[i] = new CheckBoxButton(kFlags[i].label);
  for (int row = 0; row < 4; ++row) {
    globalLine.addChild(&rows[row], 10);
    rows[row].addChild(checks[2 * row], 50);
    rows[row].addChild(checks[2 * row + 1], 50);
  }
  globalLine.addChild(&filler, 20);
}

void NevTellSetupPage::destroyPage() {
  delete page;
  page = nullptr;
  for (CheckBoxButton*& check : checks) {
    delete check;
    check = nullptr;
  }
}

void NevTellSetupPage::onSetupOpen() {
  if (page == nullptr) return;
  for (int i = 0; i < FlagCount; ++i) checks[i]->setChecked(*flag(i) != 0);
}

void NevTellSetupPage::onSetupClose() {
  if (page == nullptr) return;
  for (int i = 0; i < FlagCount; ++i) *flag(i) = checks[i]->isChecked() ? 1 : 0;
}
