// ClientConnection: the server list under its lock, the two flags under theirs, and the
// receive thread that walks the list, connects, reads and posts requests.
#include "host/ClientConnection.h"
#include "lib/TextCopy.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/Console.h"
#include "lib/ListView.h"

namespace {

const int kReceiveBufferSize = ClientConnection::MaxChunk + 3;
const int kHostSize = 512;
// How long the receive thread waits on the socket per round; bytes queued meanwhile by the
// GUI thread are written after at most this.
const int kWaitMs = 50;

bool sameHost(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = x - 'A' + 'a';
    if (y >= 'A' && y <= 'Z') y = y - 'A' + 'a';
    if (x != y) return false;
  }
  return *a == *b;
}

void CALLBACK requestDelivered(HWND, UINT, ULONG_PTR, LRESULT) {}

// Shared by every client's load and save, which hold loadLock while they use it.
const int kTextSize = 512;
char text[kTextSize];
CriticalSection loadLock;

void formatItem(char* out, int size, const ServerEntry* entry) {
  snprintf(out, size, "%s (%i)", entry->host, entry->port);
}

// A NUL byte would end the chunk's text early and lose every line after it: drop it.
int dropNulBytes(char* bytes, int count) {
  char* end = bytes + count;
  char* out = static_cast<char*>(std::memchr(bytes, 0, (size_t)count));
  if (!out) return count;
  for (const char* in = out; in < end; ++in)
    if (*in) *out++ = *in;
  *out = '\0';
  return static_cast<int>(out - bytes);
}

}  // namespace

ClientConnection::ClientConnection(HWND notifyWindow)
    : owner(nullptr),
      notifyWindow(notifyWindow),
      receiveBuffer(new char[kReceiveBufferSize]),
      wanted(false),
      connected(false),
      walk(nullptr),
      serverView(nullptr),
      clientName(nullptr) {}

ClientConnection::~ClientConnection() {
  term();
  clearServers();
  delete[] receiveBuffer;
  delete[] clientName;
}

const char* const ClientConnection::SettingsFile = ".\\Vornith.ini";

void ClientConnection::setClientName(const char* name) {
  delete[] clientName;
  clientName = copyText(name);
}

void ClientConnection::loadServers() {
  loadLock.enter();
  clearServers();
  IniFile ini(SettingsFile);
  ini.setSection(clientName);
  for (int i = 0; loadServer(ini, i); ++i) {
  }
  loadLock.leave();
}

// One "Server%i" key (or, for the first, the older "Server" and "Port" pair); false where the
// list ends. Caller holds loadLock.
bool ClientConnection::loadServer(IniFile& ini, int index) {
  char key[32];
  snprintf(key, sizeof key, "Server%i", index);
  ini.getString(key, text, kTextSize, "");
  // The older form names a single server: nothing follows it.
  bool older = !text[0];
  if (older) {
    if (index > 0) return false;
    ini.getString("Server", text, kTextSize, "");
    if (!text[0]) return false;
    size_t used = std::strlen(text);
    snprintf(text + used, kTextSize - used, ":%i", ini.getInt("Port", 0));
  }
  char* separator = std::strchr(text, ':');
  if (!separator) separator = std::strchr(text, ',');
  if (!separator) return false;
  *separator = '\0';
  int port = std::atoi(separator + 1);
  addServer(text, port, false);
  setSystemColorRgb(64, 64, 64);
  printSystem(". Server added : %s:%i\n", text, port);
  return !older;
}

void ClientConnection::saveServers() {
  loadLock.enter();
  serverLock.enter();
  IniFile ini(SettingsFile);
  ini.setSection(clientName);
  char key[32];
  int i = 0;
  for (ListNode<ServerEntry*>* node = servers.headNode(); node; node = node->next, ++i) {
    snprintf(text, kTextSize, "%s:%i", node->value->host, node->value->port);
    snprintf(key, sizeof key, "Server%i", i);
    ini.writeString(key, text);
  }
  // A shorter list than last time: the key after it ends what is read back.
  snprintf(key, sizeof key, "Server%i", i);
  ini.writeString(key, nullptr);
  serverLock.leave();
  loadLock.leave();
}

void ClientConnection::addViewItem(ServerEntry* entry) {
  if (!serverView) return;
  char item[kTextSize + 16];
  formatItem(item, sizeof item, entry);
  serverView->addItem(item, reinterpret_cast<LPARAM>(entry));
}

ServerEntry* ClientConnection::fillServerList() {
  serverLock.enter();
  if (serverView) serverView->clear();
  for (ListNode<ServerEntry*>* node = servers.headNode(); node; node = node->next)
    addViewItem(node->value);
  ServerEntry* first = servers.frontValue(true);
  serverLock.leave();
  return first;
}

void ClientConnection::setOwner(Client* owner, ListView* serverView) {
  this->owner = owner;
  this->serverView = serverView;
}

ServerEntry* ClientConnection::findServer(const char* host, int port) {
  if (!host) return nullptr;
  ServerEntry* found = nullptr;
  serverLock.enter();
  for (ListNode<ServerEntry*>* node = servers.headNode(); node && !found; node = node->next) {
    if (node->value->port == port && sameHost(node->value->host, host)) found = node->value;
  }
  serverLock.leave();
  return found;
}

ServerEntry* ClientConnection::getDefaultServer() {
  serverLock.enter();
  ServerEntry* first = servers.frontValue(true);
  serverLock.leave();
  return first;
}

bool ClientConnection::addServer(const char* host, int port, bool atFront) {
  if (!host) return false;
  if (findServer(host, port)) {
    setSystemColorRgb(192, 0, 0);
    printSystem("Error in %s : ", clientName ? clientName : "");
    setSystemColorRgb(0, 0, 0);
    printSystem("You can't add the server : %s:%i because\nit is already present in the list.\n",
                host, port);
    return false;
  }
  ServerEntry* entry = ServerEntry::create(host, port);
  serverLock.enter();
  servers.add(entry, atFront);
  serverLock.leave();
  addViewItem(entry);
  return true;
}

void ClientConnection::setDefaultServer(const char* host, int port) {
  ServerEntry* entry = findServer(host, port);
  if (!entry) {
    addServer(host, port, true);
    return;
  }
  serverLock.enter();
  servers.remove(entry);
  servers.add(entry, true);
  serverLock.leave();
}

bool ClientConnection::removeServer(const char* host, int port) {
  serverLock.enter();
  bool last = servers.headNode() == servers.tailNode();
  serverLock.leave();
  if (last) {
    MessageBoxA(NULL, "You can't remove the last server !", "Server Error", MB_ICONHAND);
    return false;
  }
  ServerEntry* entry = findServer(host, port);
  if (!entry) return false;
  serverLock.enter();
  servers.remove(entry);
  serverLock.leave();
  if (serverView) {
    char item[kTextSize + 16];
    formatItem(item, sizeof item, entry);
    serverView->removeItem(item);
  }
  ServerEntry::destroy(entry);
  return true;
}

// Under the server lock: the receive thread may be walking the list.
void ClientConnection::clearServers() {
  serverLock.enter();
  while (!servers.isEmpty()) {
    ServerEntry* entry = servers.frontValue(true);
    servers.removeEnd(true);
    ServerEntry::destroy(entry);
  }
  if (serverView) serverView->clear();
  serverLock.leave();
}

// The socket is closed under the flag lock, so the thread never sees the new state while
// the old connection is still open, nor starts a connection that this close would cut.
void ClientConnection::connect() {
  serverLock.enter();
  walkLeft = -1;  // a new walk: every server once
  serverLock.leave();
  linkLock.enter();
  wanted = true;
  connected = false;
  socket.close();
  linkLock.leave();
  outgoing.clear();
}

// Both flags go down before the close: the receive it interrupts reports nothing, and
// only this Closed appears.
void ClientConnection::disconnect() {
  linkLock.enter();
  bool was = connected;
  wanted = false;
  connected = false;
  socket.close();
  linkLock.leave();
  outgoing.clear();
  if (was) post(ConnectionRequest::Closed, nullptr, 0);
}

bool ClientConnection::isConnected() {
  linkLock.enter();
  bool state = connected;
  linkLock.leave();
  return state;
}

void ClientConnection::send(const char* text) {
  if (!isConnected()) {
    post(ConnectionRequest::SocketError, "You are not connected.", 0);
    return;
  }
  const char* bytes = text ? text : "";
  SendQueue::Result result = outgoing.send(socket, bytes, std::strlen(bytes));
  if (result == SendQueue::Failed) {
    dropConnection(socket.getErrorText());
  } else if (result == SendQueue::Overflow) {
    char why[128];
    snprintf(why, sizeof why, "More than %i KB wait to be sent: disconnected.",
             static_cast<int>(outgoing.maxBytes() / 1024));
    dropConnection(why);
  }
}

void ClientConnection::dropConnection(const char* why) {
  linkLock.enter();
  connected = false;
  linkLock.leave();
  post(ConnectionRequest::SocketError, why, 0);
  disconnect();
}

void ClientConnection::chunkHandled() {
  if (pendingChunks.load() > 0) --pendingChunks;
}

bool ClientConnection::postRequest(ConnectionRequest* request) {
  if (!request) return false;
  LPARAM record = reinterpret_cast<LPARAM>(request);
  if (SendMessageCallbackA(notifyWindow, ConnectionRequestMessage, 0, record, requestDelivered,
                           static_cast<ULONG_PTR>(record)))
    return true;
  ConnectionRequest::destroy(request);
  return false;
}

void ClientConnection::post(int kind, const char* text, int value) {
  postRequest(ConnectionRequest::create(kind, owner, text, value));
}

void ClientConnection::askToStop() {
  requestStop();
  std::lock_guard<std::mutex> guard(idleLock);
  idleWake.notify_all();
}

void ClientConnection::waitIdle(int milliseconds) {
  std::unique_lock<std::mutex> guard(idleLock);
  idleWake.wait_for(guard, std::chrono::milliseconds(milliseconds),
                    [this] { return stopRequested.load(); });
}

void ClientConnection::term() {
  askToStop();
  disconnect();
  // The close can come before a connect on the thread has made its socket; keep closing
  // until the thread has seen the stop flag, so an unanswered connect never holds us.
  while (!idle) {
    socket.close();
    Sleep(5);
  }
  join();
}

void ClientConnection::readState(bool* wantedNow, bool* connectedNow) {
  linkLock.enter();
  *wantedNow = wanted;
  *connectedNow = connected;
  linkLock.leave();
}

void ClientConnection::run() {
  serverLock.enter();
  walk = servers.iterator();
  serverLock.leave();
  while (!stopRequested) {
    bool wantedNow, connectedNow;
    readState(&wantedNow, &connectedNow);
    if (!wantedNow && !connectedNow) {
      serverLock.enter();
      walk->first();
      serverLock.leave();
      waitIdle(100);
    } else if (wantedNow && !connectedNow) {
      connectNextServer();
    } else if (connectedNow && !wantedNow) {
      serveConnection();
    }
  }
  serverLock.enter();
  walk->reset();
  walk = nullptr;
  serverLock.leave();
}

// Copies the next server of the walk, going round from the last to the first; false (and
// the walk rewound) once every server has been tried.
bool ClientConnection::takeNextServer(char* host, int size, int* port) {
  serverLock.enter();
  if (walkLeft < 0) {
    walkLeft = 0;
    for (ListNode<ServerEntry*>* node = servers.headNode(); node; node = node->next) ++walkLeft;
  }
  if (walkLeft > 0 && !walk->hasNext()) walk->first();
  bool found = walkLeft > 0 && walk->hasNext();
  if (found) {
    --walkLeft;
    ServerEntry* entry = walk->next();
    std::strncpy(host, entry->host, size - 2);
    host[size - 2] = '\0';
    *port = entry->port;
  } else {
    walk->first();
    walkLeft = -1;
  }
  serverLock.leave();
  return found;
}

void ClientConnection::connectNextServer() {
  char host[kHostSize];
  int port = 0;
  if (!takeNextServer(host, kHostSize, &port)) {
    linkLock.enter();
    wanted = false;
    linkLock.leave();
    post(ConnectionRequest::Connected, nullptr, -1);
    return;
  }
  bool wantedNow, connectedNow;
  readState(&wantedNow, &connectedNow);
  if (!wantedNow) return;
  post(ConnectionRequest::TryConnect, host, port);
  // A port that does not fit would silently reach another one: count it as a failure.
  bool made = port >= 0 && port <= 65535 && socket.connect(host, static_cast<unsigned short>(port));
  linkLock.enter();
  // The socket may have been closed by a connect() again between the call and the lock.
  if (made && wanted && socket.isConnected()) {
    socket.setKeepAlive(true);
    // Writes from the GUI thread must never wait on the server.
    socket.setNonBlocking(true);
    connected = true;
    wanted = false;
    // Posted under the lock so that a disconnect's Closed can never come before it.
    post(ConnectionRequest::Connected, host, port);
  } else {
    // A disconnect (or term) arrived while connecting: it wins, nothing is reported.
    if (made) socket.close();
    connected = false;
  }
  linkLock.leave();
}

// One round of a live connection: write what waits, end a connection whose server takes
// nothing, read what came.
void ClientConnection::serveConnection() {
  // The GUI thread has not caught up with the chunks: read nothing, queue nothing more.
  bool canRead = pendingChunks.load() < MaxPendingChunks;
  bool pending = outgoing.hasPending();
  if (!canRead && !pending) {
    Sleep(1);
    return;
  }
  int ready = socket.wait(canRead, pending, canRead ? kWaitMs : 1);
  if (pending && !outgoing.drain(socket)) return loseConnection(socket.getErrorText());
  if (outgoing.stalled()) {
    char why[128];
    snprintf(why, sizeof why, "The server has taken no data for %i s: disconnected.",
             outgoing.stallSeconds());
    return loseConnection(why);
  }
  if (canRead && (ready & Socket::Readable)) receiveChunk();
}

void ClientConnection::loseConnection(const char* why) {
  linkLock.enter();
  if (connected) {
    connected = false;
    post(ConnectionRequest::SocketError, why, 0);
    socket.close();
  }
  linkLock.leave();
  outgoing.clear();
}

void ClientConnection::receiveChunk() {
  int received = socket.receive(receiveBuffer, MaxChunk + 1);
  if (received < 0) return;  // nothing yet after all
  if (received > 0) {
    received = dropNulBytes(receiveBuffer, received);
    if (received == 0) return;  // only NUL bytes came
  }
  linkLock.enter();
  if (received > 0) {
    if (connected) {
      // Counted before it is sent: the GUI thread may take it off the queue at once.
      ++pendingChunks;
      if (!postRequest(ConnectionRequest::create(ConnectionRequest::Data, owner, receiveBuffer,
                                                 received, received)))
        --pendingChunks;
    }
  } else if (connected) {
    connected = false;
    if (socket.getErrorCode() == 0)
      post(ConnectionRequest::Closed, nullptr, 0);
    else
      post(ConnectionRequest::SocketError, socket.getErrorText(), 0);
    socket.close();
  }
  linkLock.leave();
  if (received == 0) outgoing.clear();
}
