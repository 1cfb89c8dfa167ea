#include "plugins/vfile/Transfer.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

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

void Transfer::reportEnd(const std::string& failure) {
  std::string name = offeredName.empty() ? transfer::baseName(path()) : offeredName;
  std::string text = "File \"" + name + "\" " + (isSending() ? "to " : "from ") + nick() + " (" +
                     std::to_string(size) + " bytes) ";
  if (!failure.empty())
    text += "failed: " + failure;
  else
    text += isSending() ? std::string("sent") : "received into " + savedAs;
  if (resumedAt > 0) text += ", resumed at " + std::to_string(resumedAt) + " bytes";
  if (isSending())
    lines.printLine(text + "\n");
  else
    lines.noticeLine(text);
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

// A receiving side runs only once the user chose where to save: it answers yes at once.
void ServerTransfer::run() {
  if (!isSending())
    sendLine("senddata %s [Varazir][Accept][%d][%s][%d][%s]\n", nick().c_str(), id(),
             address().c_str(), port(), password().c_str());
  // One peer only: the port closes once it came, or when it never comes (refused, timed out).
  bool accepted = listenSocket.accept(dataSocket, transferSettings().acceptTimeoutMs);
  listenSocket.close();
  if (!accepted) {
    reportEnd("the peer never connected");
    return;
  }
  if (!passwordMatches()) {
    printLine("Bad Password");
    dataSocket.close();
    reportEnd("the peer gave a wrong password");
    return;
  }
  reportEnd(pump());
}

void ClientTransfer::run() {
  if (!isSending()) sendLine("senddata %s [Varazir][Accept][%d]\n", nick().c_str(), id());
  if (!dataSocket.connect(address().c_str(), port(), transferSettings().connectTimeoutMs)) {
    dataSocket.close();
    sendRefuse();
    printLine("Could not connect to server(%s:%d)", address().c_str(), port());
    reportEnd("could not connect to " + address() + ":" + std::to_string(port()));
    return;
  }
  if (!dataSocket.sendAll(password().data(), password().size())) {
    dataSocket.close();
    reportEnd(lostAfter(0));
    return;
  }
  reportEnd(pump());
}
