// Socket calls over file descriptors, with errno turned into Winsock error numbers.
// This file alone sees libc's socket records; it never includes the Winsock header.
#include "platform/PosixNet.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32_base.h"

namespace vornplatform {
namespace {

struct ErrnoCode {
  int errnoValue;
  int wsaCode;
};

const ErrnoCode kErrnoCodes[] = {
    {ECONNREFUSED, 10061},    {ETIMEDOUT, 10060},       {ENETUNREACH, 10051},
    {EHOSTUNREACH, 10065},    {ENETDOWN, 10050},        {ECONNRESET, 10054},
    {EPIPE, 10054},           {EISCONN, 10056},         {EALREADY, 10037},
    {EINPROGRESS, 10036},     {EWOULDBLOCK, 10035},     {EAGAIN, 10035},
    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},   {EAFNOSUPPORT, 10047},
    {EFAULT, 10014},          {EMFILE, 10024},          {ENFILE, 10024},
    {ENOBUFS, 10055},         {ENOMEM, 10055},          {EPROTOTYPE, 10041},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EBADF, 10038},
    {ENOTSOCK, 10038},        {EINTR, 10004},           {EINVAL, 10022},
    {ENOTCONN, 10057},        {ESHUTDOWN, 10058},       {ECONNABORTED, 10053},
    {EACCES, 10013},          {EMSGSIZE, 10040},        {ENOPROTOOPT, 10042},
    {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046},    {ENETRESET, 10052},
    {EHOSTDOWN, 10064},       {EDESTADDRREQ, 10039},    {ENAMETOOLONG, 10063},
    {ELOOP, 10062},
};

const int kWsaInvalidArgument = 10022;
const int kWsaNotSocket = 10038;
const int kWsaHostNotFound = 11001;
const int kWsaTryAgain = 11002;
const int kWsaNoRecovery = 11003;
const int kWsaNoData = 11004;
const int kWsaNoBuffers = 10055;
const int kWsaBadAddress = 10014;

int failWithErrno() {
  SetLastError(static_cast<DWORD>(wsaErrorFromErrno(errno)));
  return -1;
}

sockaddr_in toSockaddr(const NetEndpoint& endpoint) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = endpoint.port;
  address.sin_addr.s_addr = endpoint.address;
  return address;
}

void fromSockaddr(const sockaddr_in& address, NetEndpoint* out) {
  if (!out) return;
  out->address = address.sin_addr.s_addr;
  out->port = address.sin_port;
}

int toSystemFlags(int netFlags) {
  int flags = 0;
  if (netFlags & NetOutOfBand) flags |= MSG_OOB;
  if (netFlags & NetPeek) flags |= MSG_PEEK;
  if (netFlags & NetDontRoute) flags |= MSG_DONTROUTE;
  if (netFlags & NetWaitAll) flags |= MSG_WAITALL;
  return flags;
}

// A connect interrupted by a signal goes on in the background; wait for its outcome.
int finishInterruptedConnect(int fd) {
  pollfd entry{fd, POLLOUT, 0};
  int ready;
  do {
    ready = poll(&entry, 1, -1);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return failWithErrno();
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0) return failWithErrno();
  if (error == 0) return 0;
  errno = error;
  return failWithErrno();
}

int optionLevel(NetOption option) { return option == NetNoDelay ? IPPROTO_TCP : SOL_SOCKET; }

int optionName(NetOption option) {
  return option == NetKeepAlive      ? SO_KEEPALIVE
         : option == NetReuseAddress ? SO_REUSEADDR
                                     : TCP_NODELAY;
}

bool isSocket(int fd) {
  struct stat info;
  return fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

// Names under the reserved "invalid" domain never resolve; answering at once keeps a
// look-up from waiting on an unreachable resolver.
bool isReservedInvalidName(const char* name) {
  size_t length = std::strlen(name);
  while (length > 0 && name[length - 1] == '.') --length;
  const size_t suffix = 7;  // "invalid"
  if (length < suffix || strncasecmp(name + length - suffix, "invalid", suffix) != 0) return false;
  return length == suffix || name[length - suffix - 1] == '.';
}

}  // namespace

int wsaErrorFromErrno(int errnoValue) {
  for (const ErrnoCode& entry : kErrnoCodes) {
    if (entry.errnoValue == errnoValue) return entry.wsaCode;
  }
  return kWsaInvalidArgument;
}

int wsaErrorFromLookup(int lookupCode, int errnoValue) {
  switch (lookupCode) {
    case 0:
      return 0;
    case EAI_NONAME:
      return kWsaHostNotFound;
    case EAI_AGAIN:
      return kWsaTryAgain;
    case EAI_FAIL:
      return kWsaNoRecovery;
#ifdef EAI_NODATA
    case EAI_NODATA:
      return kWsaNoData;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
      return kWsaNoData;
#endif
    case EAI_MEMORY:
      return kWsaNoBuffers;
    case EAI_SYSTEM:
      return wsaErrorFromErrno(errnoValue);
    default:
      return kWsaNoRecovery;
  }
}

int netSocket(NetType type, int protocol) {
  int systemType = type == NetStream ? SOCK_STREAM : SOCK_DGRAM;
  int fd = socket(AF_INET, systemType | SOCK_CLOEXEC, protocol);
  return fd < 0 ? failWithErrno() : fd;
}

int netConnect(int fd, const NetEndpoint& to) {
  sockaddr_in address = toSockaddr(to);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return 0;
  if (errno == EINTR) return finishInterruptedConnect(fd);
  return failWithErrno();
}

int netBind(int fd, const NetEndpoint& at) {
  sockaddr_in address = toSockaddr(at);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return 0;
  return failWithErrno();
}

int netListen(int fd, int backlog) { return listen(fd, backlog) == 0 ? 0 : failWithErrno(); }

int netAccept(int fd, NetEndpoint* from) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  socklen_t length = sizeof address;
  int client;
  do {
    length = sizeof address;
    client = accept4(fd, reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC);
  } while (client < 0 && errno == EINTR);
  if (client < 0) return failWithErrno();
  fromSockaddr(address, from);
  return client;
}

int netLocalName(int fd, NetEndpoint* out) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  socklen_t length = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) return failWithErrno();
  fromSockaddr(address, out);
  return 0;
}

int netPeerName(int fd, NetEndpoint* out) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  socklen_t length = sizeof address;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) return failWithErrno();
  fromSockaddr(address, out);
  return 0;
}

long netSend(int fd, const void* data, size_t length, int netFlags) {
  // MSG_NOSIGNAL: a vanished peer is an error to report, never a signal that ends the process.
  int flags = toSystemFlags(netFlags) | MSG_NOSIGNAL;
  ssize_t sent;
  do {
    sent = send(fd, data, length, flags);
  } while (sent < 0 && errno == EINTR);
  return sent < 0 ? failWithErrno() : static_cast<long>(sent);
}

long netReceive(int fd, void* data, size_t length, int netFlags) {
  int flags = toSystemFlags(netFlags);
  ssize_t received;
  do {
    received = recv(fd, data, length, flags);
  } while (received < 0 && errno == EINTR);
  return received < 0 ? failWithErrno() : static_cast<long>(received);
}

int netShutdown(int fd, NetDirection how) {
  int systemHow = how == NetReceiveSide ? SHUT_RD : how == NetSendSide ? SHUT_WR : SHUT_RDWR;
  return shutdown(fd, systemHow) == 0 ? 0 : failWithErrno();
}

int netClose(int fd) {
  // Only sockets: a stray handle must never close some file the process has open.
  if (!isSocket(fd)) {
    SetLastError(kWsaNotSocket);
    return -1;
  }
  // Shutting down first wakes any thread blocked in connect, recv or accept on it.
  shutdown(fd, SHUT_RDWR);
  if (close(fd) == 0 || errno == EINTR) return 0;
  return failWithErrno();
}

int netSetOption(int fd, NetOption option, int value) {
  return setsockopt(fd, optionLevel(option), optionName(option), &value, sizeof value) == 0
             ? 0
             : failWithErrno();
}

int netGetOption(int fd, NetOption option, int* value) {
  socklen_t length = sizeof *value;
  return getsockopt(fd, optionLevel(option), optionName(option), value, &length) == 0
             ? 0
             : failWithErrno();
}

int netSetNonBlocking(int fd, bool on) {
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return failWithErrno();
  flags = on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
  return fcntl(fd, F_SETFL, flags) == 0 ? 0 : failWithErrno();
}

int netPoll(NetWatch* watches, size_t count, int timeoutMs) {
  std::vector<pollfd> polled(count);
  for (size_t i = 0; i < count; ++i) {
    polled[i].fd = watches[i].fd;
    polled[i].events = static_cast<short>((watches[i].want & NetReadable ? POLLIN : 0) |
                                          (watches[i].want & NetWritable ? POLLOUT : 0));
    polled[i].revents = 0;
  }
  int ready = poll(polled.data(), count, timeoutMs < 0 ? -1 : timeoutMs);
  if (ready < 0) return errno == EINTR ? 0 : failWithErrno();
  for (size_t i = 0; i < count; ++i) {
    short got = polled[i].revents;
    watches[i].ready = (got & POLLIN ? NetReadable : 0) | (got & POLLOUT ? NetWritable : 0) |
                       (got & POLLHUP ? NetHungUp : 0) | (got & POLLERR ? NetBroken : 0) |
                       (got & POLLNVAL ? NetNotOpen : 0);
  }
  return ready;
}

int netLookup(const char* name, std::string* canonicalName, std::vector<uint32_t>* addresses) {
  if (isReservedInvalidName(name)) return kWsaHostNotFound;
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* results = nullptr;
  int code = getaddrinfo(name, nullptr, &hints, &results);
  if (code != 0) return wsaErrorFromLookup(code, errno);
  *canonicalName = results->ai_canonname ? results->ai_canonname : name;
  addresses->clear();
  for (addrinfo* entry = results; entry; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || entry->ai_addrlen < sizeof(sockaddr_in)) continue;
    uint32_t address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
    bool seen = false;
    for (uint32_t known : *addresses) seen = seen || known == address;
    if (!seen) addresses->push_back(address);
  }
  freeaddrinfo(results);
  return addresses->empty() ? kWsaNoData : 0;
}

int netHostName(char* buffer, size_t size) {
  char name[256] = {0};
  if (gethostname(name, sizeof name - 1) != 0) return failWithErrno();
  size_t length = std::strlen(name);
  if (length >= size) {
    SetLastError(kWsaBadAddress);
    return -1;
  }
  std::memcpy(buffer, name, length + 1);
  return 0;
}

bool netParseAddress(const char* text, uint32_t* address) {
  in_addr parsed;
  if (inet_aton(text, &parsed) == 0) return false;
  *address = parsed.s_addr;
  return true;
}

}  // namespace vornplatform
