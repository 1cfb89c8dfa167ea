// The system's socket calls behind plain types, so the Winsock records never meet libc's.
// Every call that fails returns -1 and sets the matching Winsock error as the last error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#define VORN_NET_EXPORT __attribute__((visibility("default")))

namespace vornplatform {

// Winsock error numbers for system errors and look-up failures (exported for the tests).
VORN_NET_EXPORT int wsaErrorFromErrno(int errnoValue);
VORN_NET_EXPORT int wsaErrorFromLookup(int lookupCode, int errnoValue);

enum NetType { NetStream, NetDatagram };
enum NetFlag { NetOutOfBand = 1, NetPeek = 2, NetDontRoute = 4, NetWaitAll = 8 };
enum NetOption { NetKeepAlive, NetReuseAddress, NetNoDelay };
enum NetDirection { NetReceiveSide, NetSendSide, NetBothSides };

// An IPv4 endpoint; both numbers in network byte order.
struct NetEndpoint {
  uint32_t address = 0;
  uint16_t port = 0;
};

int netSocket(NetType type, int protocol);
int netConnect(int fd, const NetEndpoint& to);
int netBind(int fd, const NetEndpoint& at);
int netListen(int fd, int backlog);
int netAccept(int fd, NetEndpoint* from);
int netLocalName(int fd, NetEndpoint* out);
int netPeerName(int fd, NetEndpoint* out);
long netSend(int fd, const void* data, size_t length, int netFlags);
long netReceive(int fd, void* data, size_t length, int netFlags);
int netShutdown(int fd, NetDirection how);
int netClose(int fd);
int netSetOption(int fd, NetOption option, int value);
int netGetOption(int fd, NetOption option, int* value);
int netSetNonBlocking(int fd, bool on);

// What netPoll watches for and reports per descriptor.
enum NetReady { NetReadable = 1, NetWritable = 2, NetHungUp = 4, NetBroken = 8, NetNotOpen = 16 };
struct NetWatch {
  int fd;
  int want;   // NetReadable | NetWritable
  int ready;  // set by netPoll
};
// Waits up to timeoutMs (negative: no bound) until a watched descriptor is ready; the number
// ready, or -1.
int netPoll(NetWatch* watches, size_t count, int timeoutMs);

// Resolves an IPv4 host; returns 0 or a Winsock look-up error. Safe from any thread.
int netLookup(const char* name, std::string* canonicalName, std::vector<uint32_t>* addresses);
int netHostName(char* buffer, size_t size);
// Dotted text (all the classic forms) to a network-order address; false when malformed.
bool netParseAddress(const char* text, uint32_t* address);

}  // namespace vornplatform
