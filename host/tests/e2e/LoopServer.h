// A one-connection chat server for the end-to-end tests: listens on 127.0.0.1 with a port the
// kernel picks, accepts one client at a time and keeps everything it receives.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "platform/tests/Loopback.h"
#include "platform/win32.h"

class LoopServer {
 public:
  LoopServer() : listener_(loopback::listening(&port_)) {
    thread_ = std::thread([this] { run(); });
  }
  ~LoopServer() {
    stopping_ = true;
    closesocket(listener_);
    dropClient();
    if (thread_.joinable()) thread_.join();
  }
  LoopServer(const LoopServer&) = delete;
  LoopServer& operator=(const LoopServer&) = delete;

  u_short port() const { return port_; }
  bool hasClient() const { return client_.load() != INVALID_SOCKET; }
  // Sends text to the client connected now; false when none is.
  bool send(const std::string& text) {
    SOCKET s = client_.load();
    return s != INVALID_SOCKET && ::send(s, text.data(), static_cast<int>(text.size()), 0) ==
                                      static_cast<int>(text.size());
  }
  // Closes the connection from the server's side.
  void dropClient() {
    SOCKET s = client_.exchange(INVALID_SOCKET);
    if (s != INVALID_SOCKET) closesocket(s);
  }
  std::string received() {
    std::lock_guard<std::mutex> hold(lock_);
    return received_;
  }
  int accepted() const { return accepted_; }

 private:
  void run() {
    while (!stopping_) {
      SOCKET s = accept(listener_, nullptr, nullptr);
      if (s == INVALID_SOCKET) return;
      client_ = s;
      ++accepted_;
      char buffer[4096];
      int n;
      while ((n = recv(s, buffer, sizeof buffer, 0)) > 0) {
        std::lock_guard<std::mutex> hold(lock_);
        received_.append(buffer, n);
      }
    }
  }

  u_short port_ = 0;
  SOCKET listener_;
  std::atomic<SOCKET> client_{INVALID_SOCKET};
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  std::mutex lock_;
  std::string received_;
  std::thread thread_;
};
