// A client's data path on the GUI thread: received chunks through the filters, cut into lines,
// matched against the events and handed to the plug-ins; lines to send through the filters to
// the socket; every connection happening as a console line and a system event.
#include <chrono>
#include <cstring>
#include <map>

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

// --- Re-entrancy and the backlog ----------------------------------------------------------
// A plug-in's message box or dialog runs a nested message loop that may dispatch the next
// request of this client's receive thread while a chunk or a line to send is still going
// through. Such requests wait in order and run once the outer call returns, so the shared
// buffers are never overwritten halfway. The GUI thread's own requests (the socket error of a
// failed send, the close of a disconnect) made inside a running call belong to it: they are
// not queued.
//
// One loop pass handles a bounded share of what was received (so many lines or so much time,
// at least one line), so that no flood holds the window. The rest of the chunk, and every
// request that comes after it, wait in order; a thread timer brings a later pass to go on.

int Client::stepLines = 2000;
int Client::stepMilliseconds = 20;

namespace {

long long nowMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The clients whose backlog timer runs, by timer id: a timer that outlives its client finds
// nobody. Never destroyed: clients may outlive the statics.
std::map<UINT_PTR, Client*>& backlogTimers() {
  static auto* timers = new std::map<UINT_PTR, Client*>;
  return *timers;
}

}  // namespace

bool Client::enterDataPath() {
  if (inDataPath) return false;
  inDataPath = true;
  return true;
}

void Client::leaveDataPath() {
  runBacklog();
  inDataPath = false;
  scheduleBacklog();
}

bool Client::hasBacklog() const {
  return receiveAt < receiveBuffer.length() || !pendingRequests.isEmpty();
}

void Client::beginStep() {
  stepEnd = nowMicros() + 1000LL * stepMilliseconds;
  stepLinesLeft = stepLines;
}

bool Client::stepSpent() const { return stepLinesLeft <= 0 || nowMicros() >= stepEnd; }

// The unfinished chunk first, then the requests in their order, while the share lasts.
void Client::runBacklog() {
  while (!stepSpent()) {
    if (receiveAt < receiveBuffer.length()) {
      cutLines();
      continue;
    }
    if (pendingRequests.isEmpty()) return;
    PendingRequest* request = pendingRequests.frontValue(true);
    pendingRequests.removeEnd(true);
    runPending(request);
    delete request;
  }
}

// Without a timer (none can be made) the backlog is handled at once rather than left behind.
void Client::scheduleBacklog() {
  if (!hasBacklog()) {
    if (backlogTimer) {
      KillTimer(nullptr, backlogTimer);
      backlogTimers().erase(backlogTimer);
      backlogTimer = 0;
    }
    return;
  }
  if (backlogTimer) return;
  backlogTimer = SetTimer(nullptr, 0, 10, backlogTimerFired);
  if (backlogTimer) {
    backlogTimers()[backlogTimer] = this;
    return;
  }
  inDataPath = true;
  while (hasBacklog()) {
    beginStep();
    runBacklog();
  }
  inDataPath = false;
}

void CALLBACK Client::backlogTimerFired(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = backlogTimers().find(id);
  if (found == backlogTimers().end()) {
    KillTimer(nullptr, id);
    return;
  }
  found->second->continueBacklog();
}

// A pass of the loop: the next share of the backlog, unless the data path is running (a
// nested loop inside a plug-in call), which goes on with it itself.
void Client::continueBacklog() {
  if (!enterDataPath()) return;
  beginStep();
  leaveDataPath();
}

void Client::dropBacklog() {
  if (backlogTimer) {
    KillTimer(nullptr, backlogTimer);
    backlogTimers().erase(backlogTimer);
    backlogTimer = 0;
  }
  while (!pendingRequests.isEmpty()) {
    PendingRequest* request = pendingRequests.frontValue(true);
    pendingRequests.removeEnd(true);
    if (request->kind == ConnectionRequest::Data) connection.chunkHandled();
    delete request;
  }
  // A running call finishes its own chunk.
  if (!inDataPath && receiveAt < receiveBuffer.length()) finishChunk();
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
  // Queued outside a running call (behind a backlog): a later pass takes it.
  if (!inDataPath) scheduleBacklog();
}

void Client::runPending(PendingRequest* request) {
  switch (request->kind) {
    case ConnectionRequest::TryConnect:
      tryConnect(request->text, request->value);
      break;
    case ConnectionRequest::Connected:
      connected(request->text, request->value);
      break;
    case ConnectionRequest::Closed:
      connectionClosed();
      break;
    case ConnectionRequest::Data:
      receiveChunk(request->text, request->value);
      break;
    case ConnectionRequest::SocketError:
      socketError(request->text);
      break;
  }
}

// --- Connection happenings -----------------------------------------------------------------

void Client::onTryConnect(const char* host, int port) {
  if (inDataPath || hasBacklog()) return queueRequest(ConnectionRequest::TryConnect, host, port);
  enterDataPath();
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
  if (inDataPath || hasBacklog()) return queueRequest(ConnectionRequest::Connected, host, port);
  enterDataPath();
  connected(host, port);
  leaveDataPath();
}

void Client::connected(const char* host, int port) {
  log.printf("Connection established (%s:%i).\n", shown(host), port);
  receiveBuffer.assign("");
  receiveAt = 0;
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

// Inside a running call it belongs to that call; behind a backlog it waits its turn.
void Client::onConnectionClosed() {
  if (!inDataPath && hasBacklog()) return queueRequest(ConnectionRequest::Closed, nullptr, 0);
  connectionClosed();
}

void Client::connectionClosed() {
  setSystemColorRgb(0, 0, 128);
  printSystem("<%s> Connection closed !\n", shownName());
  EventRecord event;
  sendSystemEvent(ClosedEvent, &event);
}

void Client::onSocketError(const char* text) {
  if (!inDataPath && hasBacklog()) return queueRequest(ConnectionRequest::SocketError, text, 0);
  socketError(text);
}

void Client::socketError(const char* text) {
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
  if (inDataPath || hasBacklog()) return queueRequest(ConnectionRequest::Data, bytes, count);
  enterDataPath();
  beginStep();
  receiveChunk(bytes, count);
  leaveDataPath();
}

// The chunk is filtered whole, then cut into lines as far as the pass's share goes.
void Client::receiveChunk(const char* bytes, int count) {
  receiveBuffer.assign(bytes ? bytes : "", chunkLength(bytes, count));
  receiveAt = 0;
  filterReceivedData();
  cutLines();
}

// The chunk is done: the receive thread may read on.
void Client::finishChunk() {
  receiveBuffer.assign("");
  receiveAt = 0;
  connection.chunkHandled();
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
// of its own at once. The buffer is walked in place, from receiveAt, until the pass's share
// is spent; the chunk is finished when its last line is handled.
void Client::cutLines() {
  do {
    const char* text = receiveBuffer.text();
    int length = receiveBuffer.length();
    if (receiveAt >= length) break;
    const void* feed = std::memchr(text + receiveAt, '\n', (size_t)(length - receiveAt));
    int end = feed ? (int)(static_cast<const char*>(feed) - text) + 1 : length;
    currentLine.assign(text + receiveAt, end - receiveAt);
    receiveAt = end;
    --stepLinesLeft;
    analyseLine(currentLine.text());
  } while (!stepSpent());
  if (receiveAt >= receiveBuffer.length()) finishChunk();
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
