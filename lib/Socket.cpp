// Socket: a blocking TCP client over the layer's Winsock calls.
#include "lib/Socket.h"

#include <cstring>

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

Socket::Socket() : handle_(INVALID_SOCKET), lastError_(0) {}

Socket::~Socket() { close(); }

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

void Socket::fail() {
  lastError_ = mapSocketError(WSAGetLastError());
  close();
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
  handle_ = s;
  hostent* entry = gethostbyname(host);
  if (!entry || !entry->h_addr_list[0]) {
    if (entry) WSASetLastError(WSANO_DATA);
    fail();
    return false;
  }
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
    fail();
    return false;
  }
  return true;
}

void Socket::close() {
  SOCKET s = handle_.exchange(INVALID_SOCKET);
  if (s == INVALID_SOCKET) return;
  shutdown(s, SD_BOTH);
  closesocket(s);
}

bool Socket::isConnected() { return handle_ != INVALID_SOCKET; }

void Socket::setKeepAlive(bool on) {
  int value = on ? 1 : 0;
  setsockopt(handle_, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&value),
             sizeof value);
}

int Socket::receive(char* buffer, int size) {
  // No room even for the terminator: nothing to do, and nothing is touched.
  if (!buffer || size < 1) return 0;
  buffer[0] = '\0';
  if (size == 1) return 0;
  int received = recv(handle_, buffer, size - 1, 0);
  if (received == SOCKET_ERROR) {
    fail();
    return 0;
  }
  buffer[received] = '\0';
  return received;
}

bool Socket::send(const char* buffer, int length) {
  if (::send(handle_, buffer, length, 0) != SOCKET_ERROR) return true;
  fail();
  return false;
}

bool Socket::send(const char* text) {
  if (!text) text = "";
  return send(text, static_cast<int>(std::strlen(text)));
}

int Socket::getErrorCode() { return lastError_; }

const char* Socket::getErrorText() {
  int index = getErrorCode();
  return index >= 0 && index < kErrorCount ? kErrorTexts[index] : kErrorTexts[kUnknownError];
}
