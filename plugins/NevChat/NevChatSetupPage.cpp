#include "plugins/NevChat/NevChatSetupPage.h"

#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/PasswordScrambler.h"

#include <cstring>

namespace {

struct FlagKey {
  const char* key;
  bool def;
  const char* label;  // its check box on the page
};

// The nine flags in the order of the settings file and of the page's check boxes.
const FlagKey kFlags[9] = {
    {"NevChat Show Topic", true, "Show the topic"},
    {"NevChat Show Nicks", true, "Show the nicks"},
    {"NevChat Keep Alive", false, "Keep the connection alive"},
    {"NevChat Sock Default", false, "Use all new server config as default"},
    {"NevChat Display Emoticons", true, "Display emoticon"},
    {"NevChat Display Double Emoticons", true, "Activate the double emoticons - ie: :))"},
    {"NevChat With Empty Line", false, "Insert an empty line at the end of the text"},
    {"NevChat Auto Infos", false, "Get infos for each new 'come-in' user"},
    {"NevChat Display VReq", false, "Display Vornic's requests"},
};

constexpr int kTextCapacity = 256;

}  // namespace

bool SetupZone::onChar(int code) {
  if (code != '\t') return SimpleEdit::onChar(code);
  return onEnter();
}

// Enter and Tab only move on; their character never reaches the text.
bool SetupZone::onEnter() {
  if (nextZone != nullptr) nextZone->focusAll();
  return true;
}

void SetupZone::focusAll() {
  setFocus();
  if (getHwnd() != nullptr) SendMessageA(getHwnd(), EM_SETSEL, 0, -1);
}

int SetupZone::readInto(char* buffer, int size) {
  buffer[0] = '\0';
  if (getHwnd() == nullptr) return 0;
  getText(buffer, size);
  return static_cast<int>(strlen(buffer));
}

NevChatSetupPage::NevChatSetupPage() {
  login.reserve(kTextCapacity);
  password.reserve(kTextCapacity);
  quitMessage.reserve(kTextCapacity);
  quitMessage.assign("...");
  loginZone.nextZone = &passwordZone;
  passwordZone.nextZone = &quitZone;
  quitZone.nextZone = &loginZone;
}

NevChatSetupPage::~NevChatSetupPage() { destroyPage(); }

void NevChatSetupPage::setSession(NevChatSession* owner) { session = owner; }

unsigned char* NevChatSetupPage::flag(int index) {
  unsigned char* flags[9] = {&showTopic,     &showNicks,        &keepAlive,
                             &sockDefault,   &displayEmoticons, &displayDoubleEmoticons,
                             &withEmptyLine, &autoInfos,        &displayVReq};
  return flags[index];
}

void NevChatSetupPage::readSetup() {
  if (session == nullptr) return;
  inSize = session->getClientInt("NevChat In Size", 21);
  topicSize = session->getClientInt("NevChat Topic Size", 21);
  nicksSize = session->getClientInt("NevChat Nicks Size", 110);
  char buffer[kTextCapacity];
  buffer[0] = '\0';
  session->getClientString("NevChat Login", buffer, sizeof buffer, "");
  login.assign(buffer);
  buffer[0] = '\0';
  session->getClientString("NevChat Password", buffer, sizeof buffer, "");
  password.assign(unscramblePassword(buffer));
  buffer[0] = '\0';
  session->getClientString("NevChat Quit", buffer, sizeof buffer, "...");
  quitMessage.assign(buffer);
  for (int i = 0; i < 9; ++i)
    *flag(i) = session->getClientBool(kFlags[i].key, kFlags[i].def) ? 1 : 0;
  if (page != nullptr) {
    loginZone.setText(login.text());
    quitZone.setText(quitMessage.text());
  }
  if (session->getNicks() != nullptr) session->applyLayout();
}

void NevChatSetupPage::writeSetup() {
  if (session == nullptr) return;
  session->writeClientInt("NevChat In Size", inSize);
  session->writeClientInt("NevChat Topic Size", topicSize);
  session->writeClientInt("NevChat Nicks Size", nicksSize);
  session->writeClientString("NevChat Login", login.text());
  session->writeClientString("NevChat Password", scramblePassword(password.text()).text());
  session->writeClientString("NevChat Quit", quitMessage.text());
  for (int i = 0; i < 9; ++i) session->writeClientBool(kFlags[i].key, *flag(i) != 0);
}

void NevChatSetupPage::create(HWND parent) {
  if (page != nullptr || parent == nullptr) return;
  page = new ExistWindow(parent);
  page->setClient(&tabs);
  tabs.addPage(&globalLine, "Global");
  tabs.addPage(&displayLine, "Display");
  buildGlobal();
  buildDisplay();
}

void NevChatSetupPage::buildGlobal() {
  Line* lines[3] = {&loginLine, &passwordLine, &quitLine};
  Label* labels[3] = {&loginLabel, &passwordLabel, &quitLabel};
  SetupZone* zones[3] = {&loginZone, &passwordZone, &quitZone};
  for (int i = 0; i < 3; ++i) {
    globalLine.addChild(lines[i], 10);
    lines[i]->addChild(labels[i], 30);
    lines[i]->addChild(zones[i], 70);
  }
  globalLine.addChild(&globalFiller, 70);
}

void NevChatSetupPage::buildDisplay() {
  for (int i = 0; i < 9; ++i) checks[i] = new CheckBoxButton(kFlags[i].label);
  for (int row = 0; row < 5; ++row) {
    displayLine.addChild(&displayRows[row], 10);
    displayRows[row].addChild(checks[2 * row], 50);
    if (row < 4) displayRows[row].addChild(checks[2 * row + 1], 50);
  }
  displayRows[4].addChild(&displayFiller, 50);
}

void NevChatSetupPage::destroyPage() {
  delete page;
  page = nullptr;
  for (CheckBoxButton*& check : checks) {
    delete check;
    check = nullptr;
  }
}

// The saved password is never shown: its zone keeps whatever was typed.
void NevChatSetupPage::onSetupOpen() {
  if (page == nullptr) return;
  loginZone.setText(login.text());
  quitZone.setText(quitMessage.text());
  for (int i = 0; i < 9; ++i) checks[i]->setChecked(*flag(i) != 0);
}

// An empty zone keeps the value it stands for.
void NevChatSetupPage::onSetupClose() {
  if (page == nullptr) return;
  String* values[3] = {&login, &password, &quitMessage};
  SetupZone* zones[3] = {&loginZone, &passwordZone, &quitZone};
  for (int i = 0; i < 3; ++i) {
    if (zones[i]->readInto(zoneText, kTextCapacity) > 0) values[i]->assign(zoneText);
  }
  for (int i = 0; i < 9; ++i) *flag(i) = checks[i]->isChecked() ? 1 : 0;
  if (session != nullptr) session->applyLayout();
}
