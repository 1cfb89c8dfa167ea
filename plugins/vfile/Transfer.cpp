#include "plugins/vfile/Transfer.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "plugins/vfile/TransferNames.h"
#include "plugins/vfile/TransferSettings.h"

void Transfer::setup(const Fields& given) {
  fields = given;
  int64_t bytes = transfer::fileSize(fields.path);
  size = bytes > 0 && bytes <= INT32_MAX ? static_cast<int>(bytes) : 0;
  TransferSettings& settings = transferSettings();
  if (settings.fixedPort && fields.port == 0 && settings.fixedPortNumber != 0)
    fields.port = settings.fixedPortNumber;
}

void Transfer::stop() {
  close();
  join();
}

// Lines are formatted here and handed on finished, never used as a format again.
void Transfer::sendLine(const char* format, ...) {
  char text[4096];
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  lines.sendLine(text);
}

void Transfer::printLine(const char* format, ...) {
  char text[4096];
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  lines.printLine(text);
}

void Transfer::sendRefuse() {
  sendLine("senddata %s [Varazir][Refuse][%d]\n", fields.nick.c_str(), fields.id);
}

bool Transfer::decideTarget() {
  std::string target = lines.chooseTarget(fields.path);
  if (target.empty()) {
    sendRefuse();
    return false;
  }
  fields.path = target;
  return true;
}

bool ServerTransfer::prepare() {
  if (!listenSocket.listen(port(), 5)) return false;
  fields.port = listenSocket.port();
  return true;
}

void ServerTransfer::close() {
  listenSocket.interrupt();
  dataSocket.interrupt();
}

bool ServerTransfer::passwordMatches() {
  const std::string& expected = password();
  std::string given(expected.size(), '\0');
  if (dataSocket.receiveExact(&given[0], given.size()) != given.size()) return false;
  return given == expected;
}

void ServerTransfer::run() {
  if (!isSending()) {
    if (!decideTarget()) return;
    sendLine("senddata %s [Varazir][Accept][%d][%s][%d][%s]\n", nick().c_str(), id(),
             address().c_str(), port(), password().c_str());
  }
  // One peer only: the port closes once it came, or when it never comes (refused, timed out).
  bool accepted = listenSocket.accept(dataSocket, transferSettings().acceptTimeoutMs);
  listenSocket.close();
  if (!accepted) return;
  if (!passwordMatches()) {
    printLine("Bad Password");
    dataSocket.close();
    return;
  }
  pump();
}

void ClientTransfer::run() {
  if (!isSending()) {
    if (!decideTarget()) return;
    sendLine("senddata %s [Varazir][Accept][%d]\n", nick().c_str(), id());
  }
  if (!dataSocket.connect(address().c_str(), port(), transferSettings().connectTimeoutMs)) {
    sendRefuse();
    printLine("Could not connect to server(%s:%d)", address().c_str(), port());
    return;
  }
  if (!dataSocket.sendAll(password().data(), password().size())) return;
  pump();
}
