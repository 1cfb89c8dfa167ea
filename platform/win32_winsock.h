// Winsock 2.2 names, records, constants and error numbers over the system's BSD sockets.
// A SOCKET is a descriptor widened to pointer size; the last error is per thread.
#pragma once

#include "platform/win32_base.h"

typedef UINT_PTR SOCKET;
typedef unsigned char u_char;
typedef unsigned short u_short;
typedef unsigned int u_int;

#define INVALID_SOCKET ((SOCKET)(~0))
#define SOCKET_ERROR (-1)

// Address families, socket types and protocols this layer understands.
#define AF_UNSPEC 0
#define AF_INET 2
#define PF_INET AF_INET
#define SOCK_STREAM 1
#define SOCK_DGRAM 2
#define IPPROTO_IP 0
#define IPPROTO_TCP 6
#define IPPROTO_UDP 17

#define INADDR_ANY ((ULONG)0x00000000)
#define INADDR_LOOPBACK ((ULONG)0x7f000001)
#define INADDR_NONE ((ULONG)0xffffffff)
#define SOMAXCONN 0x7fffffff

// shutdown() directions.
#define SD_RECEIVE 0
#define SD_SEND 1
#define SD_BOTH 2

// send()/recv() flags.
#define MSG_OOB 0x1
#define MSG_PEEK 0x2
#define MSG_DONTROUTE 0x4
#define MSG_WAITALL 0x8

// setsockopt() levels and options.
#define SOL_SOCKET 0xffff
#define SO_REUSEADDR 0x0004
#define SO_KEEPALIVE 0x0008
#define TCP_NODELAY 0x0001

// Error numbers reported by WSAGetLastError.
#define WSABASEERR 10000
#define WSAEINTR 10004
#define WSAEBADF 10009
#define WSAEACCES 10013
#define WSAEFAULT 10014
#define WSAEINVAL 10022
#define WSAEMFILE 10024
#define WSAEWOULDBLOCK 10035
#define WSAEINPROGRESS 10036
#define WSAEALREADY 10037
#define WSAENOTSOCK 10038
#define WSAEDESTADDRREQ 10039
#define WSAEMSGSIZE 10040
#define WSAEPROTOTYPE 10041
#define WSAENOPROTOOPT 10042
#define WSAEPROTONOSUPPORT 10043
#define WSAESOCKTNOSUPPORT 10044
#define WSAEOPNOTSUPP 10045
#define WSAEPFNOSUPPORT 10046
#define WSAEAFNOSUPPORT 10047
#define WSAEADDRINUSE 10048
#define WSAEADDRNOTAVAIL 10049
#define WSAENETDOWN 10050
#define WSAENETUNREACH 10051
#define WSAENETRESET 10052
#define WSAECONNABORTED 10053
#define WSAECONNRESET 10054
#define WSAENOBUFS 10055
#define WSAEISCONN 10056
#define WSAENOTCONN 10057
#define WSAESHUTDOWN 10058
#define WSAETOOMANYREFS 10059
#define WSAETIMEDOUT 10060
#define WSAECONNREFUSED 10061
#define WSAELOOP 10062
#define WSAENAMETOOLONG 10063
#define WSAEHOSTDOWN 10064
#define WSAEHOSTUNREACH 10065
#define WSASYSNOTREADY 10091
#define WSAVERNOTSUPPORTED 10092
#define WSANOTINITIALISED 10093
#define WSAHOST_NOT_FOUND 11001
#define WSATRY_AGAIN 11002
#define WSANO_RECOVERY 11003
#define WSANO_DATA 11004

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

// The 64-bit field order: the two counts and the vendor pointer come before the texts.
struct WSAData {
  WORD wVersion;
  WORD wHighVersion;
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
};
typedef WSAData WSADATA;
typedef WSAData* LPWSADATA;

// An IPv4 address in network byte order, readable as bytes, words or one number.
struct in_addr {
  union {
    union {
      struct {
        u_char s_b1, s_b2, s_b3, s_b4;
      } S_un_b;
      struct {
        u_short s_w1, s_w2;
      } S_un_w;
      ULONG S_addr;
    } S_un;
    ULONG s_addr;
  };
};
typedef in_addr IN_ADDR;
typedef in_addr* PIN_ADDR;
typedef in_addr* LPIN_ADDR;

struct sockaddr {
  u_short sa_family;
  char sa_data[14];
};
typedef sockaddr SOCKADDR;
typedef sockaddr* PSOCKADDR;
typedef sockaddr* LPSOCKADDR;

struct sockaddr_in {
  short sin_family;
  u_short sin_port;
  in_addr sin_addr;
  char sin_zero[8];
};
typedef sockaddr_in SOCKADDR_IN;
typedef sockaddr_in* PSOCKADDR_IN;
typedef sockaddr_in* LPSOCKADDR_IN;

// A name look-up result; gethostbyname keeps one per thread, valid until that thread's next
// look-up.
struct hostent {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;
};
#define h_addr h_addr_list[0]
typedef hostent HOSTENT;
typedef hostent* PHOSTENT;
typedef hostent* LPHOSTENT;

VORNAPI int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
VORNAPI int WSACleanup();
VORNAPI int WSAGetLastError();
VORNAPI void WSASetLastError(int iError);

VORNAPI SOCKET socket(int af, int type, int protocol);
VORNAPI int connect(SOCKET s, const sockaddr* name, int namelen);
VORNAPI int bind(SOCKET s, const sockaddr* name, int namelen);
VORNAPI int listen(SOCKET s, int backlog);
VORNAPI SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen);
VORNAPI int getsockname(SOCKET s, sockaddr* name, int* namelen);
VORNAPI int getpeername(SOCKET s, sockaddr* name, int* namelen);
VORNAPI int send(SOCKET s, const char* buf, int len, int flags);
VORNAPI int recv(SOCKET s, char* buf, int len, int flags);
VORNAPI int shutdown(SOCKET s, int how);
VORNAPI int closesocket(SOCKET s);
VORNAPI int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
VORNAPI int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen);

// WSAPoll's record and its event bits, with Winsock's values.
struct WsaPollFd {
  SOCKET fd;
  SHORT events;
  SHORT revents;
};
typedef WsaPollFd WSAPOLLFD;
typedef WsaPollFd* LPWSAPOLLFD;
#define POLLRDNORM 0x0100
#define POLLRDBAND 0x0200
#define POLLIN (POLLRDNORM | POLLRDBAND)
#define POLLPRI 0x0400
#define POLLWRNORM 0x0010
#define POLLOUT (POLLWRNORM)
#define POLLWRBAND 0x0020
#define POLLERR 0x0001
#define POLLHUP 0x0002
#define POLLNVAL 0x0004

// ioctlsocket commands.
#define FIONBIO ((LONG)0x8004667eu)

VORNAPI int WSAPoll(LPWSAPOLLFD fdArray, ULONG fds, int timeout);
VORNAPI int ioctlsocket(SOCKET s, LONG cmd, ULONG* argp);

VORNAPI hostent* gethostbyname(const char* name);
VORNAPI int gethostname(char* name, int namelen);
VORNAPI ULONG inet_addr(const char* cp);
VORNAPI char* inet_ntoa(in_addr in);

VORNAPI u_short htons(u_short hostshort);
VORNAPI u_short ntohs(u_short netshort);
VORNAPI ULONG htonl(ULONG hostlong);
VORNAPI ULONG ntohl(ULONG netlong);
