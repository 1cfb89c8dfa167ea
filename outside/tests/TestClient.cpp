// A raw TCP client for the chat server's tests; POSIX stays in this file, so tests that also
// include the host's headers (which declare the sockets the Win32 way) can use it.
#include "outside/tests/TestClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count());
}

std::chrono::steady_clock::time_point deadlineIn(int timeoutMs) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
}

}  // namespace

TestClient::TestClient(int port) {
  fd_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

TestClient::~TestClient() { close(); }

void TestClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void TestClient::send(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t sent = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent <= 0) return;
    done += static_cast<size_t>(sent);
  }
}

bool TestClient::waitFor(const std::string& text, int timeoutMs) {
  auto deadline = deadlineIn(timeoutMs);
  for (;;) {
    size_t found = received_.find(text, cursor_);
    if (found != std::string::npos) {
      cursor_ = found + text.size();
      return true;
    }
    int left = millisecondsLeft(deadline);
    if (left <= 0 || !readSome(left)) return false;
  }
}

void TestClient::drain(int timeoutMs) {
  auto deadline = deadlineIn(timeoutMs);
  for (;;) {
    int left = millisecondsLeft(deadline);
    if (left <= 0 || !readSome(left)) return;
  }
}

bool TestClient::waitForClose(int timeoutMs) {
  auto deadline = deadlineIn(timeoutMs);
  while (!peerClosed_) {
    int left = millisecondsLeft(deadline);
    if (left <= 0) return false;
    readSome(left);
  }
  return true;
}

std::vector<std::string> TestClient::lines() const {
  std::vector<std::string> result;
  size_t start = 0;
  size_t end;
  while ((end = received_.find('\n', start)) != std::string::npos) {
    result.push_back(received_.substr(start, end - start + 1));
    start = end + 1;
  }
  return result;
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
