// A raw TCP client for the chat server's tests: connects to 127.0.0.1, sends bytes and waits
// for text to arrive, keeping everything received.
#pragma once

#include <string>

class TestClient {
 public:
  explicit TestClient(int port);
  ~TestClient();
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;

  bool connected() const { return connected_; }
  void send(const std::string& bytes);
  // Waits until text has arrived after what earlier waits consumed; consumes up to its end.
  bool waitFor(const std::string& text, int timeoutMs = 3000);
  // Reads what arrives within timeoutMs (or until the server closes).
  void drain(int timeoutMs = 100);
  // Whether the server closes the connection within timeoutMs.
  bool waitForClose(int timeoutMs = 3000);
  // Everything not yet consumed by waitFor, and everything received.
  std::string unread() const { return received_.substr(cursor_); }
  const std::string& received() const { return received_; }
  void forget() {
    received_.clear();
    cursor_ = 0;
  }
  // Logs in through the prompts; true when the welcome line came.
  bool login(const std::string& name, const std::string& password = std::string());

 private:
  // Reads once what arrives within timeoutMs; false on timeout or close.
  bool readSome(int timeoutMs);
  // Reads until done() or the deadline; done() answers at the end.
  template <class Done>
  bool readUntil(int timeoutMs, Done done);

  int fd_ = -1;
  bool connected_ = false;
  bool peerClosed_ = false;
  std::string received_;
  size_t cursor_ = 0;
};
