#include "plugins/NevChat/NevChatSession.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NevChatRules.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevChat/NicksWindow.h"
#include "sdk/NoCase.h"

namespace {

// The backup record: its size, the version tag (float 0.1) and the field offsets.
constexpr int kBackupSize = 304;
constexpr uint32_t kBackupTag = 0x3DCCCCCD;
constexpr int kLoginAt = 16;
constexpr int kChannelAt = 32;
constexpr int kTopicAt = 48;
constexpr int kNameField = 16;
constexpr int kTopicField = 256;

const char* const kRule = "<Vornith> --------------------------------------------\n";

// A field of the record as a terminated text; a full field has no terminator of its own.
String fieldText(const unsigned char* record, int at, int size) {
  const char* field = reinterpret_cast<const char*>(record + at);
  String text;
  text.assign(field, static_cast<int>(strnlen(field, size)));
  return text;
}

void putField(unsigned char* record, int at, int size, const char* text) {
  strncpy(reinterpret_cast<char*>(record + at), text, size);
}

}  // namespace

NevChatSession::NevChatSession(const char* clientName)
    : PlugsMainSession(clientName), settings(new NevChatSetupPage()) {}

NevChatSession::~NevChatSession() {
  freeHistory();
  delete settings;
}

void NevChatSession::init() {
  defineStyles();
  settings->setSession(this);
  settings->readSetup();
  buildWindows();
  resetState();
}

void NevChatSession::term() {
  writeSetup();
  destroyWindows();
  freeHistory();
}

bool NevChatSession::hasSetupWindow() { return true; }
void NevChatSession::createSetupWindow(HWND parent) { settings->create(parent); }
void NevChatSession::writeSetup() {
  keepRegionSizes();
  settings->writeSetup();
}
void NevChatSession::reloadSetup() { settings->readSetup(); }
void NevChatSession::onSetupOpen() { settings->onSetupOpen(); }
void NevChatSession::onSetupClose() { settings->onSetupClose(); }

int NevChatSession::getBackupSizeNeeded() { return kBackupSize; }

void NevChatSession::backup(void* buffer, int size) {
  if (buffer == nullptr || size != kBackupSize) return;
  unsigned char* record = static_cast<unsigned char*>(buffer);
  memcpy(record, &kBackupTag, 4);
  record[4] = reserved;
  record[5] = helpMode;
  record[6] = inputEnabled;
  record[7] = sendDataOk;
  record[8] = away;
  int32_t swallow = whoToSwallow;
  memcpy(record + 12, &swallow, 4);
  putField(record, kLoginAt, kNameField, settings->login.text());
  putField(record, kChannelAt, kNameField, currentChannel());
  putField(record, kTopicAt, kTopicField, topicCopy.text());
  record[kTopicAt + kTopicField - 1] = '\0';
}

void NevChatSession::restore(void* buffer, int size) {
  look("vornith", "vornith");
  const unsigned char* record = static_cast<const unsigned char*>(buffer);
  uint32_t tag = 0;
  if (record != nullptr && size == kBackupSize) memcpy(&tag, record, 4);
  if (record == nullptr || size != kBackupSize) return printRestoreFailure("Wrong size");
  if (tag != kBackupTag) return printRestoreFailure("Wrong version");
  reserved = record[4];
  helpMode = record[5];
  inputEnabled = record[6];
  sendDataOk = record[7];
  away = record[8];
  int32_t swallow = 0;
  memcpy(&swallow, record + 12, 4);
  whoToSwallow = swallow;
  settings->login.assign(fieldText(record, kLoginAt, kNameField));
  changeTopic(fieldText(record, kTopicAt, kTopicField).text());
  String channel = fieldText(record, kChannelAt, kNameField);
  setChannel(channel.text());
  printStyled("%s", kRule);
  printStyled("<Vornith> Restoration done...\n");
  printStyled("%s", kRule);
  printStyled("- Login   : %s\n", settings->login.text());
  printStyled("- Topic   : %s\n", topicCopy.text());
  printStyled("- Channel : %s\n", channel.text());
  printStyled("<Vornith> --------------------------------------------\n\n");
  if (inputEnabled) requestWho();
}

void NevChatSession::printRestoreFailure(const char* reason) {
  printStyled("*** Restoration failed : %s ! ***\n\n", reason);
  inputEnabled = 1;
  static const char* const warning[] = {
      "<Vornith> NevChat Plugin's Warning :\n",
      nullptr,
      "<Vornith> You're already connected to the chat server.\n",
      "<Vornith> NevChat cannot detect  your login name... It\n",
      "<Vornith> uses the  login  written in the  setup file.\n",
      "<Vornith> It's probably better to leave the server and\n",
      "<Vornith> to relaunch the connection. In the other way\n",
      "<Vornith> you can set your login name by the command :\n",
      "<Vornith>  '/login <your_login_name>'.\n",
      nullptr,
  };
  printStyled("%s", kRule);
  for (const char* line : warning) printStyled("%s", line != nullptr ? line : kRule);
}

void NevChatSession::onUserEvent(const char*, const char* type, void* data) {
  if (!equalsNoCase(type, "sysout") || data == nullptr) return;
  look("vornith", "normal")->printStyled("<Vornith 2.0> %s\n", static_cast<const char*>(data));
}

int NevChatSession::onRequest(const char* fromPlug, char* answer, int answerSize,
                              const char* request, void* argument) {
  if (fromPlug == nullptr || answer == nullptr || request == nullptr || answerSize <= 0) return -1;
  if (equalsNoCase(request, "login")) {
    if (!inputEnabled) return -1;
    int length = static_cast<int>(strnlen(settings->login.text(), answerSize - 1));
    memcpy(answer, settings->login.text(), length);
    answer[length] = '\0';
    return length;
  }
  if (equalsNoCase(request, "senddataok")) {
    if (!inputEnabled) return -1;
    answer[0] = static_cast<char>(sendDataOk);
    return 1;
  }
  if (equalsNoCase(request, "islogged")) {
    const char* nick = static_cast<const char*>(argument);
    if (nick == nullptr) return -1;
    answer[0] = (nicks != nullptr && nicks->contains(nick)) ? 1 : 0;
    return 1;
  }
  return -1;
}

void NevChatSession::onSystemEvent(int id, EventData* data) {
  const char* text = data != nullptr ? orEmpty(data->getText()) : "";
  look("vornith", "normal");
  switch (id) {
    case 0:
      sendData("quit %s\n", settings->quitMessage.text());
      break;
    case 1:
      printStyled("<Vornith 2.0> Try to connect : %s\n", text);
      inputEnabled = 0;
      break;
    case 2:
      printStyled("<Vornith 2.0> Connection established : %s\n", text);
      resetState();
      loginAnswers.reset();
      passwordAnswers.reset();
      break;
    case 3:
      printStyled("<Vornith 2.0> Connection closed !\n");
      inputEnabled = 0;
      loginAnswers.reset();
      passwordAnswers.reset();
      break;
    case 4:
      printStyled("<Vornith 2.0> Connection failed !\n");
      inputEnabled = 0;
      break;
    case 5:
      printStyled("<Vornith 2.0> Socket Error : %s.\n", text);
      inputEnabled = 0;
      break;
    case 6:
      onColorChanged(data != nullptr ? orEmpty(data->getValue("Color")) : "");
      break;
    case 7:
      onFontChanged(data != nullptr ? orEmpty(data->getValue("Font")) : "");
      break;
    default:
      break;
  }
}

void NevChatSession::resetState() {
  setBackground("backgrnd");
  reserved = helpMode = inputEnabled = sendDataOk = away = 0;
  whoToSwallow = 0;
  if (nicks != nullptr) nicks->enableRequests(false);
}

void NevChatSession::freeHistory() {
  for (ListNode<HistoryRecord>* node = searchHistory.headNode(); node != nullptr; node = node->next)
    free(node->value.text);
  searchHistory.clear();
}

void NevChatSession::requestWho() {
  ++whoToSwallow;
  sendData("who all\n");
}

void NevChatSession::setGroup(const char* group) {
  sendDataOk = groupRefusesData(group) ? 0 : 1;
  if (nicks != nullptr) nicks->enableRequests(sendDataOk != 0);
}

// Keep-alive is only a stored setting: there is no keep-alive traffic.
void NevChatSession::startKeepAlive() {}
void NevChatSession::stopKeepAlive() {}

NevChatSession* NevChatSession::look(const char* colour, const char* font) {
  return setTextColor(colour)->setTextFont(font);
}

void NevChatSession::show(const char* colour, const char* font, const char* text) {
  look(colour, font)->printStyled("%s", text);
}

void NevChatSession::changeTopic(const char* text) {
  setTopic(text);
  topicCopy.assign(text, static_cast<int>(strcspn(text, "\r\n")));
}

const char* NevChatSession::currentChannel() {
  return nicks != nullptr ? orEmpty(nicks->channel()) : "";
}

void NevChatSession::traceNick(const char* what, const char* nick, const char* detail) {
  if (nickTrace == nullptr) return;
  nickTrace->append(what);
  nickTrace->append(" ");
  nickTrace->append(nick);
  if (detail != nullptr) {
    nickTrace->append(" ");
    nickTrace->append(detail);
  }
  nickTrace->append("\n");
}

void NevChatSession::nickAdd(const char* nick) {
  traceNick("add", nick, nullptr);
  if (nicks != nullptr) nicks->addNick(nick);
}

void NevChatSession::nickRemove(const char* nick) {
  traceNick("remove", nick, nullptr);
  if (nicks != nullptr) nicks->removeNick(nick);
}

void NevChatSession::nickStatus(const char* nick, char status) {
  char detail[2] = {status, '\0'};
  traceNick("status", nick, detail);
  if (nicks != nullptr) nicks->setStatus(nick, status);
}

void NevChatSession::nickChannel(const char* nick, const char* channel) {
  traceNick("channel", nick, channel);
  if (nicks != nullptr) nicks->setNickChannel(nick, channel);
}
