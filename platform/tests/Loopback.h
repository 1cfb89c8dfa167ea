// Loopback sockets for the network tests: addresses on 127.0.0.1, sockets bound to ports the
// kernel chooses, listeners and plain connects to them.
#pragma once

#include "platform/win32.h"

namespace loopback {

inline sockaddr* asAddress(sockaddr_in* address) { return reinterpret_cast<sockaddr*>(address); }

inline sockaddr_in address(u_short port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = inet_addr("127.0.0.1");
  return address;
}

// The local port a socket is bound to.
inline u_short portOf(SOCKET s) {
  sockaddr_in address{};
  int length = sizeof address;
  getsockname(s, asAddress(&address), &length);
  return ntohs(address.sin_port);
}

// A new socket bound to 127.0.0.1 on a kernel-chosen port, not listening; tells the port.
inline SOCKET bound(u_short* port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in any = address(0);
  bind(s, asAddress(&any), sizeof any);
  *port = portOf(s);
  return s;
}

// The same, listening with the given queue length.
inline SOCKET listening(u_short* port, int backlog = 4) {
  SOCKET s = bound(port);
  listen(s, backlog);
  return s;
}

// A port with nobody listening: bound once, then let go, so connections are refused.
inline u_short refusedPort() {
  u_short port = 0;
  closesocket(bound(&port));
  return port;
}

// Connects s to port on 127.0.0.1; false when that fails.
inline bool connectTo(SOCKET s, u_short port) {
  sockaddr_in to = address(port);
  return connect(s, asAddress(&to), sizeof to) == 0;
}

}  // namespace loopback
