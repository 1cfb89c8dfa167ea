#include "plugins/vfile/AddressLookup.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "plugins/vfile/TransferNames.h"
#include "plugins/vfile/TransferSettings.h"

namespace {

std::string dotted(const in_addr& address) {
  char text[INET_ADDRSTRLEN] = "";
  inet_ntop(AF_INET, &address, text, sizeof text);
  return text;
}

bool isPublicAddress(const in_addr& address) {
  return !transfer::isPrivateAddress(reinterpret_cast<const unsigned char*>(&address.s_addr));
}

// The local end of a connection to host:port, made within timeoutMs; false when none came.
bool localEndTowards(const std::string& host, int port, int timeoutMs,
                     const std::atomic<bool>& cancelled, in_addr& local) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &peer.sin_addr) != 1) return false;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  int result = connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
  // Short slices, so that the session's end need not wait for the whole time-out.
  bool pending = result != 0 && errno == EINPROGRESS;
  for (int waited = 0; pending && waited < timeoutMs && !cancelled; waited += 100) {
    pollfd entry{fd, POLLOUT, 0};
    int ready = poll(&entry, 1, 100);
    if (ready == 0) continue;
    int error = 0;
    socklen_t length = sizeof error;
    if (ready == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
      result = 0;
    break;
  }
  sockaddr_in own{};
  socklen_t ownLength = sizeof own;
  bool found = result == 0 &&
               getsockname(fd, reinterpret_cast<sockaddr*>(&own), &ownLength) == 0;
  close(fd);
  if (found) local = own.sin_addr;
  return found;
}

// The first public address of this machine's name, if it has one.
bool publicHostAddress(in_addr& address) {
  char name[128] = "";
  if (gethostname(name, sizeof name - 1) != 0) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* list = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &list) != 0) return false;
  bool found = false;
  for (addrinfo* entry = list; entry != nullptr && !found; entry = entry->ai_next) {
    const in_addr& candidate = reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr;
    if (isPublicAddress(candidate)) {
      address = candidate;
      found = true;
    }
  }
  freeaddrinfo(list);
  return found;
}

}  // namespace

void AddressLookup::run() {
  TransferSettings& settings = transferSettings();
  if (!settings.addressOverride.empty()) {
    finish(settings.addressOverride, false);
    return;
  }
  in_addr local{};
  if (!localEndTowards(settings.lookupHost, settings.lookupPort, settings.lookupTimeoutMs,
                       cancelled, local)) {
    finish("127.0.0.1", false);
    return;
  }
  if (isPublicAddress(local)) {
    finish(dotted(local), true);
    return;
  }
  in_addr named{};
  if (publicHostAddress(named))
    finish(dotted(named), true);
  else
    finish(dotted(local), false);
}

void AddressLookup::finish(const std::string& found, bool foundPublic) {
  std::lock_guard<std::mutex> guard(lock);
  address = found.empty() ? "127.0.0.1" : found;
  publicAddress = foundPublic;
  known.notify_all();
}

std::string AddressLookup::getAddress(int waitMs) {
  std::unique_lock<std::mutex> guard(lock);
  known.wait_for(guard, std::chrono::milliseconds(waitMs), [this] { return !address.empty(); });
  return address.empty() ? "127.0.0.1" : address;
}

bool AddressLookup::isPublic() {
  std::lock_guard<std::mutex> guard(lock);
  return publicAddress;
}
