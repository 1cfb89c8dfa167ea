// Socket: a blocking TCP client over the layer's Winsock calls.
#include "lib/Socket.h"

#include <chrono>
#include <cstring>
#include <utility>

namespace {

const char* const kErrorTexts[] = {
    "No error.",
    "Something has not been initialized ! Please, refer it to Morvash.",
    "The net is down, no connection is available.",
    "Address Invalid !",
    "System lock : try to create a socket later.",
    "Too many socket are opened, try to close anyone before creating a new socket.",
    "System error : can't create the socket, try to reboot your machine.",
    "Already in progress.",
    "Address already in use.",
    "Already connected.",
    "Connection refused.",
    "The network address can't be reached.",
    "The connection has been broken.",
    "Unknown Error !",
};
const int kErrorCount = sizeof kErrorTexts / sizeof kErrorTexts[0];
const int kUnknownError = kErrorCount - 1;

struct ErrorIndex {
  int wsaError;
  int index;
};

const ErrorIndex kErrorIndexes[] = {
    {WSAEFAULT, 3},          {WSAEAFNOSUPPORT, 3},    {WSAEADDRNOTAVAIL, 3},  {WSAEMFILE, 5},
    {WSAEWOULDBLOCK, 0},     {WSAEINPROGRESS, 4},     {WSAEALREADY, 7},       {WSAEPROTOTYPE, 6},
    {WSAEPROTONOSUPPORT, 6}, {WSAESOCKTNOSUPPORT, 6}, {WSAENOBUFS, 6},        {WSAEADDRINUSE, 8},
    {WSAENETDOWN, 2},        {WSAENETUNREACH, 11},    {WSAECONNRESET, 12},    {WSAEISCONN, 9},
    {WSAETIMEDOUT, 10},      {WSAECONNREFUSED, 10},   {WSANOTINITIALISED, 1},
};

}  // namespace

Socket::Socket() : handle_(INVALID_SOCKET), retired_(INVALID_SOCKET), users_(0), lastError_(0) {}

// Waits out any call still on the connection, so none returns into a destroyed object.
Socket::~Socket() {
  std::unique_lock<std::mutex> lock(lock_);
  dropLocked();
  waitUnusedLocked(lock);
}

// Started once per process and never cleaned up: other connections may still be open.
bool Socket::initWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

int Socket::mapSocketError(int wsaError) {
  for (const ErrorIndex& entry : kErrorIndexes) {
    if (entry.wsaError == wsaError) return entry.index;
  }
  return kUnknownError;
}

void Socket::fail(SOCKET s) {
  lastError_ = mapSocketError(WSAGetLastError());
  closeHandle(s);
}

void Socket::failClosed() {
  WSASetLastError(WSAENOTSOCK);
  lastError_ = mapSocketError(WSAENOTSOCK);
}

SOCKET Socket::acquire() {
  std::lock_guard<std::mutex> guard(lock_);
  if (handle_ != INVALID_SOCKET) ++users_;
  return handle_;
}

void Socket::release() {
  std::lock_guard<std::mutex> guard(lock_);
  if (--users_ > 0) return;
  if (retired_ != INVALID_SOCKET) closesocket(std::exchange(retired_, INVALID_SOCKET));
  released_.notify_all();
}

// Under the lock. A dropped connection in use is retired, never replacing another retired
// one: a new connection goes live only once users_ is back to 0, which clears retired_.
void Socket::dropLocked() {
  if (handle_ == INVALID_SOCKET) return;
  SOCKET s = std::exchange(handle_, INVALID_SOCKET);
  shutdown(s, SD_BOTH);
  if (users_ == 0) {
    closesocket(s);
  } else {
    retired_ = s;
  }
}

// Under the lock. Shutting the retired connection down again wakes a connect that only
// reached the system after the first shutdown.
void Socket::waitUnusedLocked(std::unique_lock<std::mutex>& lock) {
  while (users_ > 0) {
    if (retired_ != INVALID_SOCKET) shutdown(retired_, SD_BOTH);
    released_.wait_for(lock, std::chrono::milliseconds(10));
  }
}

void Socket::closeHandle(SOCKET s) {
  std::lock_guard<std::mutex> guard(lock_);
  if (s != INVALID_SOCKET && handle_ == s) dropLocked();
}

void Socket::publish(SOCKET s) {
  std::unique_lock<std::mutex> lock(lock_);
  // Another connect may publish while this one waits: drop that too, until none is left.
  do {
    dropLocked();
    waitUnusedLocked(lock);
  } while (handle_ != INVALID_SOCKET);
  handle_ = s;
}

bool Socket::connect(const char* host, unsigned short port) {
  initWinsock();
  close();
  lastError_ = 0;
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) {
    lastError_ = mapSocketError(WSAGetLastError());
    return false;
  }
  publish(s);
  hostent* entry = gethostbyname(host);
  if (!entry || !entry->h_addr_list[0]) {
    if (entry) WSASetLastError(WSANO_DATA);
    fail(s);
    return false;
  }
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);
  // Closed (or replaced by another connect) during the look-up.
  SOCKET held = acquire();
  if (held != s) {
    if (held != INVALID_SOCKET) release();
    failClosed();
    return false;
  }
  bool made = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != SOCKET_ERROR;
  if (!made) fail(s);
  release();
  return made;
}

void Socket::close() {
  std::lock_guard<std::mutex> guard(lock_);
  if (handle_ != INVALID_SOCKET) {
    dropLocked();
  } else if (retired_ != INVALID_SOCKET) {
    shutdown(retired_, SD_BOTH);  // wakes a connect that started after the first shutdown
  }
}

bool Socket::isConnected() {
  std::lock_guard<std::mutex> guard(lock_);
  return handle_ != INVALID_SOCKET;
}

void Socket::setKeepAlive(bool on) {
  int value = on ? 1 : 0;
  SOCKET s = acquire();
  if (s == INVALID_SOCKET) return;
  setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&value), sizeof value);
  release();
}

int Socket::receive(char* buffer, int size) {
  // No room even for the terminator: nothing to do, and nothing is touched.
  if (!buffer || size < 1) return 0;
  buffer[0] = '\0';
  if (size == 1) return 0;
  SOCKET s = acquire();
  if (s == INVALID_SOCKET) {
    failClosed();
    return 0;
  }
  int received = recv(s, buffer, size - 1, 0);
  if (received == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
    release();
    return -1;
  }
  if (received == SOCKET_ERROR) {
    fail(s);
    received = 0;
  }
  buffer[received] = '\0';
  release();
  return received;
}

bool Socket::send(const char* buffer, int length) {
  SOCKET s = acquire();
  if (s == INVALID_SOCKET) {
    failClosed();
    return false;
  }
  bool sent = ::send(s, buffer, length, 0) != SOCKET_ERROR;
  if (!sent) fail(s);
  release();
  return sent;
}

bool Socket::send(const char* text) {
  if (!text) text = "";
  return send(text, static_cast<int>(std::strlen(text)));
}

bool Socket::setNonBlocking(bool on) {
  SOCKET s = acquire();
  if (s == INVALID_SOCKET) return false;
  ULONG value = on ? 1 : 0;
  bool done = ioctlsocket(s, FIONBIO, &value) == 0;
  release();
  return done;
}

int Socket::sendSome(const char* buffer, int length) {
  SOCKET s = acquire();
  if (s == INVALID_SOCKET) {
    failClosed();
    return -1;
  }
  int sent = ::send(s, buffer, length, 0);
  if (sent == SOCKET_ERROR) {
    if (WSAGetLastError() == WSAEWOULDBLOCK)
      sent = 0;
    else
      fail(s);
  }
  release();
  return sent;
}

int Socket::wait(bool read, bool write, int milliseconds) {
  SOCKET s = acquire();
  if (s == INVALID_SOCKET) return Readable;
  WSAPOLLFD watch{s, static_cast<SHORT>((read ? POLLRDNORM : 0) | (write ? POLLWRNORM : 0)), 0};
  int count = WSAPoll(&watch, 1, milliseconds);
  release();
  if (count <= 0) return 0;
  int ready = 0;
  if (watch.revents & (POLLRDNORM | POLLHUP | POLLERR | POLLNVAL)) ready |= Readable;
  if (watch.revents & POLLWRNORM) ready |= Writable;
  return ready;
}

int Socket::getErrorCode() { return lastError_; }

const char* Socket::getErrorText() {
  int index = getErrorCode();
  return index >= 0 && index < kErrorCount ? kErrorTexts[index] : kErrorTexts[kUnknownError];
}
