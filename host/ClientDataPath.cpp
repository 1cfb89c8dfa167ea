// A client's data path on the GUI thread: received chunks through the filters, cut into lines,
// matched against the events and handed to the plug-ins; lines to send through the filters to
// the socket; every connection happening as a console line and a system event.
#include <cstring>

#include "host/Client.h"
#include "host/Console.h"
#include "host/SessionCall.h"
#include "host/SystemPluginsSession.h"
#include "host/TextFormat.h"
#include "lib/TextCopy.h"
#include "sdk/PlugsAddinSession.h"
#include "sdk/PlugsInOutSession.h"
#include "sdk/PlugsMainSession.h"

namespace {

enum SystemEventId {
  QuitEvent = 0,
  TryConnectEvent = 1,
  ConnectedEvent = 2,
  ClosedEvent = 3,
  AllFailedEvent = 4,
  SocketErrorEvent = 5,
};

const char* shown(const char* text) { return text ? text : "(null)"; }

PlugsInOutSession* inOutOf(SessionRecord* record) {
  return static_cast<PlugsInOutSession*>(record->session);
}

// The bytes of a chunk: at most count, and never past its terminating NUL.
int chunkLength(const char* bytes, int count) {
  if (!bytes || count < 1) return 0;
  const void* nul = std::memchr(bytes, 0, (size_t)count);
  return nul ? (int)(static_cast<const char*>(nul) - bytes) : count;
}

}  // namespace

// --- Re-entrancy ---------------------------------------------------------------------------
// A plug-in's message box or dialog runs a nested message loop that may dispatch the next
// request of this client's receive thread while a chunk or a line to send is still going
// through. Such requests wait in order and run once the outer call returns, so the shared
// buffers are never overwritten halfway. The GUI thread's own requests (the socket error of a
// failed send, the close of a disconnect) are not queued: they belong to the running call.

bool Client::enterDataPath() {
  if (inDataPath) return false;
  inDataPath = true;
  return true;
}

void Client::leaveDataPath() {
  while (!pendingRequests.isEmpty()) {
    PendingRequest* request = pendingRequests.frontValue(true);
    pendingRequests.removeEnd(true);
    runPending(request);
    delete[] request->text;
    delete request;
  }
  inDataPath = false;
}

void Client::queueRequest(int kind, const char* text, int value) {
  PendingRequest* request = new PendingRequest{kind, nullptr, value};
  if (kind == ConnectionRequest::Data) {
    request->value = chunkLength(text, value);
    request->text = new char[request->value + 1];
    if (request->value > 0) std::memcpy(request->text, text, (size_t)request->value);
    request->text[request->value] = 0;
  } else {
    request->text = copyText(text);
  }
  pendingRequests.add(request, false);
}

void Client::runPending(PendingRequest* request) {
  switch (request->kind) {
    case ConnectionRequest::TryConnect:
      tryConnect(request->text, request->value);
      break;
    case ConnectionRequest::Connected:
      connected(request->text, request->value);
      break;
    case ConnectionRequest::Data:
      receiveChunk(request->text, request->value);
      break;
  }
}

// --- Connection happenings -----------------------------------------------------------------

void Client::onTryConnect(const char* host, int port) {
  if (!enterDataPath()) return queueRequest(ConnectionRequest::TryConnect, host, port);
  tryConnect(host, port);
  leaveDataPath();
}

void Client::tryConnect(const char* host, int port) {
  log.printf("Try to connect to: %s:%i\n", shown(host), port);
  setSystemColorRgb(128, 0, 128);
  printSystem("<%s> Try to connect to %s:%i\n", shownName(), shown(host), port);
  String text = formatText("%s:%i", shown(host), port);
  String portText = formatText("%i", port);
  EventRecord event;
  event.set(text.text(), 2, "Server", shown(host), "Port", portText.text());
  sendSystemEvent(TryConnectEvent, &event);
}

void Client::onConnected(const char* host, int port) {
  if (!enterDataPath()) return queueRequest(ConnectionRequest::Connected, host, port);
  connected(host, port);
  leaveDataPath();
}

void Client::connected(const char* host, int port) {
  log.printf("Connection established (%s:%i).\n", shown(host), port);
  receiveBuffer.assign("");
  lineCount = 0;
  EventRecord event;
  if (!host) {
    setSystemColorRgb(128, 0, 0);
    printSystem("<%s> All connection failed !\n", shownName());
    sendSystemEvent(AllFailedEvent, &event);
    return;
  }
  setSystemColorRgb(0, 128, 0);
  printSystem("<%s> Connection established ! (%s:%i)\n", shownName(), host, port);
  String text = formatText("%s:%i", host, port);
  String portText = formatText("%i", port);
  event.set(text.text(), 2, "Server", host, "Port", portText.text());
  sendSystemEvent(ConnectedEvent, &event);
}

void Client::onConnectionClosed() {
  setSystemColorRgb(0, 0, 128);
  printSystem("<%s> Connection closed !\n", shownName());
  EventRecord event;
  sendSystemEvent(ClosedEvent, &event);
}

void Client::onSocketError(const char* text) {
  setSystemColorRgb(128, 0, 0);
  printSystem("<%s> Socket error : %s\n", shownName(), shown(text));
  EventRecord event;
  event.set(text, 1, "Error", text);
  sendSystemEvent(SocketErrorEvent, &event);
}

void Client::sendQuitEvent() {
  log.printf("Quit event.\n");
  EventRecord event;
  sendSystemEvent(QuitEvent, &event);
}

// --- Receive road --------------------------------------------------------------------------

void Client::onSocketData(const char* bytes, int count) {
  // The chunk has left the message queue: the receive thread may read on.
  connection.chunkHandled();
  if (!enterDataPath()) return queueRequest(ConnectionRequest::Data, bytes, count);
  receiveChunk(bytes, count);
  leaveDataPath();
}

void Client::receiveChunk(const char* bytes, int count) {
  receiveBuffer.assign(bytes ? bytes : "", chunkLength(bytes, count));
  filterReceivedData();
  if (receiveBuffer.length() > 0) cutLines();
  receiveBuffer.assign("");
}

void Client::filterReceivedData() {
  log.beginSection("Data received from the socket:\n");
  log.printf("System plugins call with: \n");
  log.indent();
  log.printf("%s", receiveBuffer.text());
  log.endLine();
  log.outdent();
  if (systemPluginsSession) {
    char* filtered = systemPluginsSession->onReceivedData(name, receiveBuffer.text());
    receiveBuffer.assign(filtered);
    delete[] filtered;
  }
  forEachSession(inOuts, false, [this](SessionRecord* record) {
    log.printf("Inout plugin: %s - Data:\n", record->plug->name);
    log.indent();
    log.printf("%s", receiveBuffer.text());
    log.endLine();
    log.outdent();
    const char* result = nullptr;
    PlugsInOutSession* session = inOutOf(record);
    const char* text = receiveBuffer.text();
    if (callSession(record->plug, "onReceivedData", true,
                    [&] { result = session->onReceivedData(text); }) &&
        result)
      receiveBuffer.assign(result);
  });
  log.endSection("Done.\n");
}

// Every line ends after its line feed (a CR before it stays); a rest without one is a line
// of its own at once. The buffer is walked in place and left alone meanwhile.
void Client::cutLines() {
  const char* text = receiveBuffer.text();
  int length = receiveBuffer.length();
  int start = 0;
  while (start < length) {
    const void* feed = std::memchr(text + start, '\n', (size_t)(length - start));
    int end = feed ? (int)(static_cast<const char*>(feed) - text) + 1 : length;
    currentLine.assign(text + start, end - start);
    start = end;
    analyseLine(currentLine.text());
  }
}

void Client::analyseLine(const char* line) {
  log.beginSection("Analysed line, standart event:\n");
  log.printf("Line: %s", shown(line));
  log.endLine();
  analysedLine.assign(line);
  // A copy: a plug-in may reload the events file while it holds the name.
  eventName.assign(events.match(analysedLine.text(), matchData));
  log.printf("Event found: %s\n", eventName.text());
  log.indent();
  matchData.dump(&log);
  log.outdent();
  log.printf("Event sent to the system plugins.");
  if (systemPluginsSession &&
      systemPluginsSession->onEvent(name, lineCount, eventName.text(), &matchData))
    log.printf("Intercepted by the system plugins.\n");
  else
    dispatchEvent(eventName.text());
  ++lineCount;
  log.endSection("Done.");
}

// Every add-in, told whether an earlier one intercepted; then the main plug-in unless one did.
bool Client::dispatchEvent(const char* event) {
  bool intercepted = false;
  forEachSession(addins, false, [&](SessionRecord* record) {
    log.printf("Sent to: %s", record->plug->name);
    PlugsAddinSession* session = static_cast<PlugsAddinSession*>(record->session);
    bool took = false;
    callSession(record->plug, "onEvent", true,
                [&] { took = session->onEvent(lineCount, event, &matchData, intercepted); });
    intercepted = intercepted || took;
    log.printf(intercepted ? "(intercepted)\n" : "\n");
  });
  if (intercepted || !mainRecord.session) return intercepted;
  log.printf("Sent to the main plugin: %s\n", mainRecord.plug->name);
  PlugsMainSession* session = static_cast<PlugsMainSession*>(mainRecord.session);
  callSession(mainRecord.plug, "onEvent", true,
              [&] { session->onEvent(lineCount, event, &matchData); });
  return intercepted;
}

// --- Send road -----------------------------------------------------------------------------

void Client::sendData(const char* text) {
  bool outer = enterDataPath();
  // A send started from inside another (a filter that sends) keeps its own text.
  String nested;
  String& buffer = sendDepth > 0 ? nested : sendBuffer;
  ++sendDepth;
  buffer.assign(text);
  runSendRoad(buffer);
  --sendDepth;
  if (outer) leaveDataPath();
}

void Client::runSendRoad(String& buffer) {
  log.beginSection("Send data to the socket:\n");
  forEachSession(inOuts, true, [&](SessionRecord* record) {
    log.printf("Inout plugin: %s - Data: %s", record->plug->name, buffer.text());
    log.endLine();
    const char* result = nullptr;
    PlugsInOutSession* session = inOutOf(record);
    const char* current = buffer.text();
    if (callSession(record->plug, "onDataToSend", true,
                    [&] { result = session->onDataToSend(current); }) &&
        result)
      buffer.assign(result);
  });
  log.printf("System plugins call with: %s", buffer.text());
  log.endLine();
  if (systemPluginsSession) {
    char* filtered = systemPluginsSession->onDataToSend(name, buffer.text());
    buffer.assign(filtered);
    delete[] filtered;
  }
  log.printf("Data to send: %s", buffer.text());
  log.endLine();
  connection.send(buffer.text());
  log.endSection("Done.\n");
}

// --- System events -------------------------------------------------------------------------

void Client::sendSystemEvent(int id, EventData* data) {
  EventRecord empty;
  if (!data) data = &empty;
  log.beginSection("System event: \n");
  log.printf("EventID: %i\n", id);
  log.printf("Data:\n");
  log.indent();
  // Every record the host sends is an EventRecord (same layout, no data of its own).
  static_cast<EventRecord*>(data)->dump(&log);
  log.outdent();
  log.printf("Send to the system plugs\n");
  if (systemPluginsSession) systemPluginsSession->onSystemEvent(name, id, data);
  auto send = [&](SessionRecord* record) {
    PlugsSession* session = static_cast<PlugsSession*>(record->session);
    callSession(record->plug, "onSystemEvent", true, [&] { session->onSystemEvent(id, data); });
  };
  log.printf("Send to the addins plugs\n");
  forEachSession(addins, false, send);
  log.printf("Send to the inout plugs\n");
  forEachSession(inOuts, false, send);
  log.printf("Send to the main plug\n");
  if (mainRecord.session) send(&mainRecord);
  log.endSection("Done.\n");
}
