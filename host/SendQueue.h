// SendQueue: the bytes a client has yet to write to its server, kept in order behind a bound,
// so the GUI thread never waits on a server that reads slowly or not at all.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>

#include "lib/CriticalSection.h"
#include "lib/Socket.h"

class SendQueue {
 public:
  enum Result { Taken, Failed, Overflow };

  // GUI thread: writes what the socket takes now; the rest waits behind anything already
  // waiting. Overflow when the waiting bytes would pass the bound (nothing is kept then).
  Result send(Socket& socket, const char* bytes, size_t length);
  // Receive thread: writes what the socket takes of the waiting bytes; false when it failed.
  bool drain(Socket& socket);
  bool hasPending();
  // Bytes have waited longer than the stall limit without the server taking any.
  bool stalled();
  void clear();

  void setLimits(size_t maxBytes, int stallMilliseconds);
  size_t maxBytes() const { return maxBytes_; }
  int stallSeconds() const { return stallMs_ / 1000; }

  static constexpr size_t DefaultMaxBytes = 4 * 1024 * 1024;
  static constexpr int DefaultStallMs = 30000;

 private:
  using Clock = std::chrono::steady_clock;
  // Under the lock: hands the socket up to one slice of the waiting bytes.
  bool writeFront(Socket& socket);
  void appendLocked(const char* bytes, size_t length);
  size_t waitingLocked() const { return waiting_; }

  CriticalSection lock_;
  // Blocks of at most one slice each: a long queue grows without copying what it holds.
  std::deque<std::string> blocks_;
  size_t offset_ = 0;  // bytes of the first block already written
  size_t waiting_ = 0;
  Clock::time_point lastTaken_;
  size_t maxBytes_ = DefaultMaxBytes;
  int stallMs_ = DefaultStallMs;
};
