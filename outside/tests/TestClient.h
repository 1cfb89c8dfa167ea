// A raw TCP client for the chat server's tests: connects to 127.0.0.1, sends bytes and waits
// for text to arrive, keeping everything received.
#pragma once

#include <string>
#include <vector>

class TestClient {
 public:
  explicit TestClient(int port);
  ~TestClient();
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  bool connected() const { return connected_; }
  void close();
  void send(const std::string& bytes);

  // Waits until text has arrived after what earlier waits consumed; consumes up to its end.
  bool waitFor(const std::string& text, int timeoutMs = 3000);
  // Reads what arrives within timeoutMs (or until the server closes).
  void drain(int timeoutMs = 100);
  // Whether the server closes the connection within timeoutMs.
  bool waitForClose(int timeoutMs = 3000);

  // Everything not yet consumed by waitFor.
  std::string unread() const { return received_.substr(cursor_); }
  const std::string& received() const { return received_; }
  // Complete lines received so far, each with its line feed.
  std::vector<std::string> lines() const;
  void forget() {
    received_.clear();
    cursor_ = 0;
  }

  // Logs in through the prompts; true when the welcome line came.
  bool login(const std::string& name, const std::string& password = std::string());

 private:
  bool readSome(int timeoutMs);

  int fd_ = -1;
  bool connected_ = false;
  bool peerClosed_ = false;
  std::string received_;
  size_t cursor_ = 0;
};
