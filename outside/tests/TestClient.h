// A raw TCP client for the chat server's tests: connects to 127.0.0.1, sends bytes and waits
// for text to arrive, keeping everything received.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

class TestClient {
 public:
  explicit TestClient(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~TestClient() { close(); }
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  bool connected() const { return connected_; }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  void send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      ssize_t sent = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (sent <= 0) return;
      done += static_cast<size_t>(sent);
    }
  }

  // Waits until text has arrived after what earlier waits consumed; consumes up to its end.
  bool waitFor(const std::string& text, int timeoutMs = 3000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      size_t found = received_.find(text, cursor_);
      if (found != std::string::npos) {
        cursor_ = found + text.size();
        return true;
      }
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now())
                                      .count());
      if (left <= 0 || !readSome(left)) return false;
    }
  }

  // Reads what arrives within timeoutMs (or until the server closes).
  void drain(int timeoutMs = 100) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now())
                                      .count());
      if (left <= 0 || !readSome(left)) return;
    }
  }

  // Whether the server closes the connection within timeoutMs.
  bool waitForClose(int timeoutMs = 3000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!peerClosed_) {
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now())
                                      .count());
      if (left <= 0) return false;
      readSome(left);
    }
    return true;
  }

  // Everything not yet consumed by waitFor.
  std::string unread() const { return received_.substr(cursor_); }
  const std::string& received() const { return received_; }
  // Complete lines received so far, each with its line feed.
  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    size_t start = 0;
    size_t end;
    while ((end = received_.find('\n', start)) != std::string::npos) {
      result.push_back(received_.substr(start, end - start + 1));
      start = end + 1;
    }
    return result;
  }
  void forget() {
    received_.clear();
    cursor_ = 0;
  }

  // Logs in through the prompts; true when the welcome line came.
  bool login(const std::string& name, const std::string& password = std::string()) {
    if (!waitFor("<Nev> Login: ")) return false;
    send(name + "\n");
    if (!password.empty()) {
      if (!waitFor("<Nev> Password: ")) return false;
      send(password + "\n");
    }
    return waitFor("<Nev> Welcome " + name + ", you are logged in.\n");
  }

 private:
  bool readSome(int timeoutMs) {
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

  int fd_ = -1;
  bool connected_ = false;
  bool peerClosed_ = false;
  std::string received_;
  size_t cursor_ = 0;
};
