// A raw TCP client for the chat server's tests; POSIX stays in this file, so tests that also
// include the host's headers (which declare the sockets the Win32 way) can use it.
#include "outside/tests/TestClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

TestClient::TestClient(int port) {
  fd_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

TestClient::~TestClient() {
  if (fd_ >= 0) ::close(fd_);
}

void TestClient::send(const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    ssize_t sent = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent <= 0) return;
    done += static_cast<size_t>(sent);
  }
}

template <class Done>
bool TestClient::readUntil(int timeoutMs, Done done) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !readSome(static_cast<int>(left.count()))) return done();
  }
  return true;
}

bool TestClient::waitFor(const std::string& text, int timeoutMs) {
  size_t found = std::string::npos;
  if (!readUntil(timeoutMs,
                 [&] { return (found = received_.find(text, cursor_)) != std::string::npos; }))
    return false;
  cursor_ = found + text.size();
  return true;
}

void TestClient::drain(int timeoutMs) {
  readUntil(timeoutMs, [] { return false; });
}

bool TestClient::waitForClose(int timeoutMs) {
  readUntil(timeoutMs, [&] { return peerClosed_; });
  return peerClosed_;
}

bool TestClient::login(const std::string& name, const std::string& password) {
  if (!waitFor("<Nev> Login: ")) return false;
  send(name + "\n");
  if (!password.empty()) {
    if (!waitFor("<Nev> Password: ")) return false;
    send(password + "\n");
  }
  return waitFor("<Nev> Welcome " + name + ", you are logged in.\n");
}

bool TestClient::readSome(int timeoutMs) {
  if (fd_ < 0 || peerClosed_) return false;
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0) return false;
  char buffer[65536];
  ssize_t count = recv(fd_, buffer, sizeof buffer, 0);
  if (count <= 0) {
    peerClosed_ = true;
    return false;
  }
  received_.append(buffer, static_cast<size_t>(count));
  return true;
}
