#include "plugins/vfile/FileTransferSession.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "plugins/vfile/TransferNames.h"
#include "plugins/vfile/TransferSettings.h"

namespace {

const int kNameLimit = 4095;

bool hasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// A nick goes into a command line: no blanks or control characters.
bool isUsableNick(const std::string& nick) {
  if (nick.empty()) return false;
  for (unsigned char c : nick)
    if (c <= ' ' || c == 127) return false;
  return true;
}

}  // namespace

FileTransferSession::FileTransferSession(const char* clientName)
    : PlugsAddinSession(clientName), handOff(new GuiHandOff(*this)) {}

FileTransferSession::~FileTransferSession() {
  stopAll();
  transfers.clear();
  incoming.clear();
}

void FileTransferSession::init() {
  offerCounter = 0;
  connectMode = false;
  if (addressLookup.start()) addressLookup.resume();
}

void FileTransferSession::term() { stopAll(); }

// Wakes every socket, ends every dialog wait, then waits for every thread.
void FileTransferSession::stopAll() {
  handOff->shutDown();
  offers.clear();
  for (auto* list : {&transfers, &incoming})
    for (auto& transfer : *list) transfer->close();
  for (auto* list : {&transfers, &incoming})
    for (auto& transfer : *list) transfer->stop();
  addressLookup.cancel();
  addressLookup.join();
}

void FileTransferSession::backup(void* buffer, int size) {
  if (buffer == nullptr || size != 4) return;
  float version = 0.1f;
  memcpy(buffer, &version, sizeof version);
}

int FileTransferSession::onRequest(const char*, char* answer, int answerSize,
                                   const char* request, void* argument) {
  if (answer == nullptr || answerSize <= 0 || !equalsNoCase(request, "sentence") ||
      argument == nullptr)
    return -1;
  const char* asked = static_cast<const char*>(argument);
  const char* text = nullptr;
  if (equalsNoCase(asked, "I want the first sentence")) text = "This is the first sentence !";
  if (equalsNoCase(asked, "I want the second sentence")) text = "This is the second sentence !";
  if (text == nullptr) return -1;
  snprintf(answer, static_cast<size_t>(answerSize), "%s", text);
  return static_cast<int>(strlen(answer));
}

void FileTransferSession::onUserEvent(const char*, const char* type, void* data) {
  if (!equalsNoCase(type, "sendfile") || data == nullptr) return;
  std::string text(static_cast<const char*>(data));
  printSystem("%s\n", text.c_str());
  size_t colon = text.find(':');
  std::string nick = text.substr(0, std::min<size_t>(colon, kNameLimit));
  if (colon == std::string::npos) {
    // The dialog comes up from the message loop, not inside the caller's handler.
    handOff->askFileToSend(nick);
    return;
  }
  startSend(text.substr(colon + 1, kNameLimit), nick);
}

void FileTransferSession::fileToSend(const std::string& nick, const std::string& path) {
  startSend(path, nick);
}

std::string FileTransferSession::ownAddress() {
  return addressLookup.getAddress(transferSettings().lookupTimeoutMs + 500);
}

void FileTransferSession::startSend(const std::string& path, const std::string& nick) {
  if (path.empty() || !isUsableNick(nick)) return;
  std::string name = transfer::baseName(path);
  int64_t size = transfer::fileSize(path);
  if (size <= 0) return;
  // A line break would end the command line early and start another one at the server.
  if (hasLineBreak(path)) {
    printSystem("Cannot offer this file: its name holds a line break\n");
    return;
  }
  if (size > INT32_MAX) {
    printSystem("Cannot offer \"%s\": files of 2 GB or more cannot be sent\n", name.c_str());
    return;
  }
  std::unique_ptr<Transfer> offer(new ServerTransfer(*handOff));
  offer->setup({path, offerCounter, ownAddress(), 0, transfer::makePassword(), true, nick});
  if (!offer->prepare()) {
    printSystem("cannot open socket\n");
    return;
  }
  ++offerCounter;
  Transfer& t = *offer;
  transfers.push_back(std::move(offer));
  printSystem("Sending as server file \"senddata %s [Varazir][Send][%s][%d][%d][%s][%d][%s]\"\n",
              nick.c_str(), name.c_str(), t.fileSize(), t.id(), t.address().c_str(), t.port(),
              t.password().c_str());
  sendData("senddata %s [Varazir][Send][%s][%d][%d][%s][%d][%s]\n", nick.c_str(), name.c_str(),
           t.fileSize(), t.id(), t.address().c_str(), t.port(), t.password().c_str());
}

bool FileTransferSession::onEvent(int, const char* eventName, EventData* data, bool) {
  if (eventName == nullptr) return false;
  // A record without variables reads as one whose variables are all empty.
  EventData none{const_cast<char*>(""), 0, nullptr};
  const EventData& event = data != nullptr ? *data : none;
  if (strcmp(eventName, "vfilesendserver") == 0)
    onSendServer(event);
  else if (strcmp(eventName, "vfilesend") == 0)
    onSend(event);
  else if (strcmp(eventName, "vfileacceptserver") == 0)
    onAcceptServer(event);
  else if (strcmp(eventName, "vfileaccept") == 0)
    onAccept(event);
  else if (strcmp(eventName, "vfilerefuse") == 0)
    onRefuse(event);
  else
    return false;
  return true;
}

void FileTransferSession::sendText(const std::string& text) { sendData("%s", text.c_str()); }

void FileTransferSession::printText(const std::string& text) { printSystem("%s", text.c_str()); }

void FileTransferSession::noticeText(const std::string& text) {
  sendEvent("NevChat", "sysout", const_cast<char*>(text.c_str()));
}
