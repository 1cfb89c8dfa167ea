// Winsock calls: checks the caller's records and numbers, then hands plain values to the
// system socket calls in PosixNet.cpp. The error number is the thread's last error.
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/PosixNet.h"
#include "platform/win32.h"

using namespace vornplatform;

// Callers copy these records byte for byte; their sizes are Winsock's on 64 bits.
static_assert(sizeof(SOCKET) == sizeof(void*), "SOCKET is pointer-sized");
static_assert(sizeof(in_addr) == 4 && sizeof(sockaddr) == 16 && sizeof(sockaddr_in) == 16,
              "address records");
static_assert(sizeof(WSADATA) == 408, "WSADATA");

namespace {

int fail(int code) {
  SetLastError(static_cast<DWORD>(code));
  return SOCKET_ERROR;
}

// A SOCKET is a descriptor; anything else is not one of ours.
bool toDescriptor(SOCKET s, int* fd) {
  if (s > static_cast<SOCKET>(INT_MAX)) {
    SetLastError(WSAENOTSOCK);
    return false;
  }
  *fd = static_cast<int>(s);
  return true;
}

bool readEndpoint(const sockaddr* name, int namelen, NetEndpoint* out) {
  if (!name || namelen < static_cast<int>(sizeof(sockaddr_in))) {
    SetLastError(WSAEFAULT);
    return false;
  }
  sockaddr_in address;
  std::memcpy(&address, name, sizeof address);
  if (address.sin_family != AF_INET) {
    SetLastError(WSAEAFNOSUPPORT);
    return false;
  }
  out->address = address.sin_addr.s_addr;
  out->port = address.sin_port;
  return true;
}

bool roomForEndpoint(const sockaddr* name, const int* namelen) {
  if (name && namelen && *namelen >= static_cast<int>(sizeof(sockaddr_in))) return true;
  SetLastError(WSAEFAULT);
  return false;
}

void writeEndpoint(const NetEndpoint& endpoint, sockaddr* name, int* namelen) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = endpoint.port;
  address.sin_addr.s_addr = endpoint.address;
  std::memcpy(name, &address, sizeof address);
  *namelen = sizeof address;
}

bool toNetFlags(int flags, int allowed, int* out) {
  if (flags & ~allowed) {
    SetLastError(WSAEOPNOTSUPP);
    return false;
  }
  *out = 0;
  if (flags & MSG_OOB) *out |= NetOutOfBand;
  if (flags & MSG_PEEK) *out |= NetPeek;
  if (flags & MSG_DONTROUTE) *out |= NetDontRoute;
  if (flags & MSG_WAITALL) *out |= NetWaitAll;
  return true;
}

bool validBuffer(const char* buf, int len) {
  if (len >= 0 && (buf || len == 0)) return true;
  SetLastError(WSAEFAULT);
  return false;
}

// The boolean options this layer knows, by Winsock's level and option numbers.
bool toNetOption(int level, int optname, NetOption* option) {
  if (level == SOL_SOCKET && optname == SO_KEEPALIVE) {
    *option = NetKeepAlive;
  } else if (level == SOL_SOCKET && optname == SO_REUSEADDR) {
    *option = NetReuseAddress;
  } else if (level == IPPROTO_TCP && optname == TCP_NODELAY) {
    *option = NetNoDelay;
  } else {
    SetLastError(level == SOL_SOCKET || level == IPPROTO_TCP ? WSAENOPROTOOPT : WSAEINVAL);
    return false;
  }
  return true;
}

// gethostbyname's answer lives here, one per thread, until that thread's next look-up.
struct HostEntryStore {
  hostent entry{};
  std::string name;
  std::vector<uint32_t> addresses;
  std::vector<char*> addressList;
  char* aliases[1] = {nullptr};

  hostent* fill() {
    addressList.clear();
    for (uint32_t& address : addresses) addressList.push_back(reinterpret_cast<char*>(&address));
    addressList.push_back(nullptr);
    entry.h_name = &name[0];
    entry.h_aliases = aliases;
    entry.h_addrtype = AF_INET;
    entry.h_length = sizeof(uint32_t);
    entry.h_addr_list = addressList.data();
    return &entry;
  }
};

thread_local HostEntryStore hostStore;

void copyText(char* target, size_t size, const char* text) {
  std::snprintf(target, size, "%s", text);
}

}  // namespace

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData) {
  if (!lpWSAData) return WSAEFAULT;
  const WORD highest = MAKEWORD(2, 2);
  BYTE major = LOBYTE(wVersionRequested);
  BYTE minor = HIBYTE(wVersionRequested);
  if (major == 0) return WSAVERNOTSUPPORTED;
  bool aboveHighest = major > 2 || (major == 2 && minor > 2);
  std::memset(lpWSAData, 0, sizeof *lpWSAData);
  lpWSAData->wVersion = aboveHighest ? highest : wVersionRequested;
  lpWSAData->wHighVersion = highest;
  copyText(lpWSAData->szDescription, sizeof lpWSAData->szDescription, "Vornith sockets");
  copyText(lpWSAData->szSystemStatus, sizeof lpWSAData->szSystemStatus, "Running");
  return 0;
}

// Nothing to release: the system's sockets need no start-up.
int WSACleanup() { return 0; }

int WSAGetLastError() { return static_cast<int>(GetLastError()); }
void WSASetLastError(int iError) { SetLastError(static_cast<DWORD>(iError)); }

SOCKET socket(int af, int type, int protocol) {
  if (af != AF_INET) {
    SetLastError(WSAEAFNOSUPPORT);
    return INVALID_SOCKET;
  }
  if (type != SOCK_STREAM && type != SOCK_DGRAM) {
    SetLastError(WSAESOCKTNOSUPPORT);
    return INVALID_SOCKET;
  }
  int fd = netSocket(type == SOCK_STREAM ? NetStream : NetDatagram, protocol);
  return fd < 0 ? INVALID_SOCKET : static_cast<SOCKET>(fd);
}

int connect(SOCKET s, const sockaddr* name, int namelen) {
  int fd;
  NetEndpoint to;
  if (!toDescriptor(s, &fd) || !readEndpoint(name, namelen, &to)) return SOCKET_ERROR;
  return netConnect(fd, to) == 0 ? 0 : SOCKET_ERROR;
}

int bind(SOCKET s, const sockaddr* name, int namelen) {
  int fd;
  NetEndpoint at;
  if (!toDescriptor(s, &fd) || !readEndpoint(name, namelen, &at)) return SOCKET_ERROR;
  return netBind(fd, at) == 0 ? 0 : SOCKET_ERROR;
}

int listen(SOCKET s, int backlog) {
  int fd;
  if (!toDescriptor(s, &fd)) return SOCKET_ERROR;
  return netListen(fd, backlog < 0 ? 0 : backlog) == 0 ? 0 : SOCKET_ERROR;
}

SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen) {
  int fd;
  if (!toDescriptor(s, &fd)) return INVALID_SOCKET;
  if (addr && !roomForEndpoint(addr, addrlen)) return INVALID_SOCKET;
  NetEndpoint from;
  int client = netAccept(fd, &from);
  if (client < 0) return INVALID_SOCKET;
  if (addr) writeEndpoint(from, addr, addrlen);
  return static_cast<SOCKET>(client);
}

int getsockname(SOCKET s, sockaddr* name, int* namelen) {
  int fd;
  if (!toDescriptor(s, &fd) || !roomForEndpoint(name, namelen)) return SOCKET_ERROR;
  NetEndpoint local;
  if (netLocalName(fd, &local) < 0) return SOCKET_ERROR;
  writeEndpoint(local, name, namelen);
  return 0;
}

int getpeername(SOCKET s, sockaddr* name, int* namelen) {
  int fd;
  if (!toDescriptor(s, &fd) || !roomForEndpoint(name, namelen)) return SOCKET_ERROR;
  NetEndpoint peer;
  if (netPeerName(fd, &peer) < 0) return SOCKET_ERROR;
  writeEndpoint(peer, name, namelen);
  return 0;
}

int send(SOCKET s, const char* buf, int len, int flags) {
  int fd;
  int netFlags;
  if (!toDescriptor(s, &fd) || !validBuffer(buf, len)) return SOCKET_ERROR;
  if (!toNetFlags(flags, MSG_OOB | MSG_DONTROUTE, &netFlags)) return SOCKET_ERROR;
  long sent = netSend(fd, buf, static_cast<size_t>(len), netFlags);
  return sent < 0 ? SOCKET_ERROR : static_cast<int>(sent);
}

int recv(SOCKET s, char* buf, int len, int flags) {
  int fd;
  int netFlags;
  if (!toDescriptor(s, &fd) || !validBuffer(buf, len)) return SOCKET_ERROR;
  if (!toNetFlags(flags, MSG_OOB | MSG_PEEK | MSG_WAITALL, &netFlags)) return SOCKET_ERROR;
  long received = netReceive(fd, buf, static_cast<size_t>(len), netFlags);
  return received < 0 ? SOCKET_ERROR : static_cast<int>(received);
}

int shutdown(SOCKET s, int how) {
  int fd;
  if (!toDescriptor(s, &fd)) return SOCKET_ERROR;
  if (how != SD_RECEIVE && how != SD_SEND && how != SD_BOTH) return fail(WSAEINVAL);
  NetDirection direction = how == SD_RECEIVE ? NetReceiveSide
                           : how == SD_SEND  ? NetSendSide
                                             : NetBothSides;
  return netShutdown(fd, direction) == 0 ? 0 : SOCKET_ERROR;
}

int closesocket(SOCKET s) {
  int fd;
  if (!toDescriptor(s, &fd)) return SOCKET_ERROR;
  return netClose(fd) == 0 ? 0 : SOCKET_ERROR;
}

int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) {
  int fd;
  NetOption option;
  if (!toDescriptor(s, &fd) || !toNetOption(level, optname, &option)) return SOCKET_ERROR;
  if (!optval || optlen < 1) return fail(WSAEFAULT);
  // Boolean options: a shorter value (a BOOLEAN or char) counts by its bytes.
  int value = 0;
  std::memcpy(&value, optval, optlen < static_cast<int>(sizeof value) ? optlen : sizeof value);
  return netSetOption(fd, option, value != 0) == 0 ? 0 : SOCKET_ERROR;
}

int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen) {
  int fd;
  NetOption option;
  int value = 0;
  if (!toDescriptor(s, &fd) || !toNetOption(level, optname, &option)) return SOCKET_ERROR;
  if (!optval || !optlen || *optlen < static_cast<int>(sizeof value)) return fail(WSAEFAULT);
  if (netGetOption(fd, option, &value) < 0) return SOCKET_ERROR;
  value = value != 0;
  std::memcpy(optval, &value, sizeof value);
  *optlen = sizeof value;
  return 0;
}

int ioctlsocket(SOCKET s, LONG cmd, ULONG* argp) {
  int fd;
  if (!toDescriptor(s, &fd)) return SOCKET_ERROR;
  if (cmd != FIONBIO) return fail(WSAEINVAL);
  if (!argp) return fail(WSAEFAULT);
  return netSetNonBlocking(fd, *argp != 0) == 0 ? 0 : SOCKET_ERROR;
}

// Read and write readiness as Winsock reports them; a socket that is not open is POLLNVAL.
int WSAPoll(LPWSAPOLLFD fdArray, ULONG fds, int timeout) {
  if (!fdArray || fds == 0) return fail(WSAEINVAL);
  std::vector<NetWatch> watches(fds);
  for (ULONG i = 0; i < fds; ++i) {
    int fd = -1;
    if (fdArray[i].fd <= static_cast<SOCKET>(INT_MAX)) fd = static_cast<int>(fdArray[i].fd);
    SHORT events = fdArray[i].events;
    watches[i] = {fd, (events & POLLIN ? NetReadable : 0) | (events & POLLOUT ? NetWritable : 0),
                  0};
  }
  int ready = netPoll(watches.data(), watches.size(), timeout);
  if (ready < 0) return SOCKET_ERROR;
  for (ULONG i = 0; i < fds; ++i) {
    int got = watches[i].ready;
    fdArray[i].revents = static_cast<SHORT>(
        (got & NetReadable ? POLLRDNORM : 0) | (got & NetWritable ? POLLWRNORM : 0) |
        (got & NetHungUp ? POLLHUP : 0) | (got & NetBroken ? POLLERR : 0) |
        (got & NetNotOpen ? POLLNVAL : 0));
  }
  return ready;
}

hostent* gethostbyname(const char* name) {
  char ownName[256];
  if (!name || !*name) {
    // No name means this machine, as gethostname reports it.
    if (netHostName(ownName, sizeof ownName) < 0) return nullptr;
    name = ownName;
  }
  HostEntryStore& store = hostStore;
  int code = netLookup(name, &store.name, &store.addresses);
  if (code != 0) {
    SetLastError(static_cast<DWORD>(code));
    return nullptr;
  }
  return store.fill();
}

int gethostname(char* name, int namelen) {
  if (!name || namelen < 1) return fail(WSAEFAULT);
  return netHostName(name, static_cast<size_t>(namelen)) == 0 ? 0 : SOCKET_ERROR;
}

ULONG inet_addr(const char* cp) {
  uint32_t address;
  if (!cp || !netParseAddress(cp, &address)) return INADDR_NONE;
  return address;
}

char* inet_ntoa(in_addr in) {
  thread_local char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", in.S_un.S_un_b.s_b1, in.S_un.S_un_b.s_b2,
                in.S_un.S_un_b.s_b3, in.S_un.S_un_b.s_b4);
  return text;
}

// Network order is big-endian whatever this machine's order is.
u_short htons(u_short hostshort) {
  const BYTE bytes[2] = {static_cast<BYTE>(hostshort >> 8), static_cast<BYTE>(hostshort)};
  u_short result;
  std::memcpy(&result, bytes, sizeof result);
  return result;
}

u_short ntohs(u_short netshort) {
  BYTE bytes[2];
  std::memcpy(bytes, &netshort, sizeof bytes);
  return static_cast<u_short>((bytes[0] << 8) | bytes[1]);
}

ULONG htonl(ULONG hostlong) {
  const BYTE bytes[4] = {static_cast<BYTE>(hostlong >> 24), static_cast<BYTE>(hostlong >> 16),
                         static_cast<BYTE>(hostlong >> 8), static_cast<BYTE>(hostlong)};
  ULONG result;
  std::memcpy(&result, bytes, sizeof result);
  return result;
}

ULONG ntohl(ULONG netlong) {
  BYTE bytes[4];
  std::memcpy(bytes, &netlong, sizeof bytes);
  return (static_cast<ULONG>(bytes[0]) << 24) | (static_cast<ULONG>(bytes[1]) << 16) |
         (static_cast<ULONG>(bytes[2]) << 8) | bytes[3];
}
