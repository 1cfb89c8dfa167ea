#include "plugins/vfile/TransferSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

// Waits in short slices, so a wake-up from another thread is seen even when shutdown alone
// would not end the wait (a connect still in progress).
bool waitFor(int fd, short events, int timeoutMs, const std::atomic<bool>& interrupted) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (interrupted) return false;
    pollfd entry{fd, events, 0};
    int result = poll(&entry, 1, 100);
    if (result > 0) return true;
    if (result < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= end) return false;
  }
}

}  // namespace

TransferSocket::~TransferSocket() { close(); }

bool TransferSocket::open() {
  std::lock_guard<std::mutex> guard(lock);
  if (interrupted) return false;
  if (fd < 0) fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  state = Created;
  return true;
}

bool TransferSocket::connect(const char* address, int port, int timeoutMs) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<uint16_t>(port));
  if (address == nullptr || port <= 0 || port > 65535 ||
      inet_pton(AF_INET, address, &peer.sin_addr) != 1 || !open())
    return false;
  int flags = fcntl(fd, F_GETFL, 0);
  fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  int result = ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
  if (result != 0 && errno == EINPROGRESS && waitFor(fd, POLLOUT, timeoutMs, interrupted)) {
    int error = 0;
    socklen_t length = sizeof error;
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
    result = error == 0 ? 0 : -1;
  } else if (result != 0) {
    result = -1;
  }
  fcntl(fd, F_SETFL, flags);
  std::lock_guard<std::mutex> guard(lock);
  if (result != 0 || interrupted) {
    state = Closed;
    return false;
  }
  state = Connected;
  return true;
}

bool TransferSocket::listen(int port, int backlog) {
  if (!open()) return false;
  int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in own{};
  own.sin_family = AF_INET;
  own.sin_port = htons(static_cast<uint16_t>(port));
  own.sin_addr.s_addr = htonl(INADDR_ANY);
  socklen_t length = sizeof own;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&own), sizeof own) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&own), &length) != 0 ||
      ::listen(fd, backlog) != 0)
    return false;
  boundPort = ntohs(own.sin_port);
  std::lock_guard<std::mutex> guard(lock);
  if (interrupted) return false;
  state = Listening;
  return true;
}

bool TransferSocket::accept(TransferSocket& other, int timeoutMs) {
  other.close();
  if (state != Listening || !waitFor(fd, POLLIN, timeoutMs, interrupted)) return false;
  int taken = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
  if (taken < 0) return false;
  std::lock_guard<std::mutex> guard(other.lock);
  other.fd = taken;
  other.state = other.interrupted ? Closed : Connected;
  return other.state == Connected;
}

bool TransferSocket::sendAll(const void* data, size_t size) {
  const char* next = static_cast<const char*>(data);
  while (size > 0 && state == Connected) {
    ssize_t sent = ::send(fd, next, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) break;
    next += sent;
    size -= static_cast<size_t>(sent);
  }
  if (size > 0) fail();
  return size == 0;
}

size_t TransferSocket::receiveExact(void* data, size_t size) {
  char* next = static_cast<char*>(data);
  size_t got = 0;
  while (got < size && state == Connected) {
    ssize_t result = ::recv(fd, next + got, size - got, 0);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) {
      fail();
      break;
    }
    got += static_cast<size_t>(result);
  }
  return got;
}

bool TransferSocket::sendInt(uint32_t value) {
  uint32_t wire = htonl(value);
  return sendAll(&wire, sizeof wire);
}

bool TransferSocket::receiveInt(uint32_t& value) {
  uint32_t wire = 0;
  if (receiveExact(&wire, sizeof wire) != sizeof wire) {
    fail();
    return false;
  }
  value = ntohl(wire);
  return true;
}

void TransferSocket::fail() {
  std::lock_guard<std::mutex> guard(lock);
  if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
  state = Closed;
}

void TransferSocket::interrupt() {
  std::lock_guard<std::mutex> guard(lock);
  interrupted = true;
  if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
  state = Closed;
}

void TransferSocket::close() {
  std::lock_guard<std::mutex> guard(lock);
  if (fd >= 0) ::close(fd);
  fd = -1;
  state = Closed;
}
