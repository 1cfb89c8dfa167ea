// One TCP socket of a file-transfer link over BSD sockets. Another thread may wake a blocked
// operation with interrupt(); the descriptor itself is released only by its own thread.
#pragma once

#include <cstddef>
#include <atomic>
#include <cstdint>
#include <mutex>

class TransferSocket {
 public:
  enum State { Closed = 1, Created = 0, Connected = 2, Listening = 3 };

  TransferSocket() = default;
  ~TransferSocket();
  TransferSocket(const TransferSocket&) = delete;
  TransferSocket& operator=(const TransferSocket&) = delete;

  // Connects to a dotted IPv4 address (never a name); gives up after timeoutMs or when woken.
  bool connect(const char* address, int port, int timeoutMs);
  // Binds every interface on port (0: the system picks one), then listens.
  bool listen(int port, int backlog);
  // Takes one connection into other; false on timeout, wake-up or error.
  bool accept(TransferSocket& other, int timeoutMs);

  // Whole buffers only: false (and the link closed) when not all of it went out or came in.
  bool sendAll(const void* data, size_t size);
  // Bytes received until size came or the peer closed; the link is closed on end or error.
  size_t receiveExact(void* data, size_t size);
  bool sendInt(uint32_t value);
  bool receiveInt(uint32_t& value);

  bool isConnected() const { return state == Connected; }
  State getState() const { return state; }
  int port() const { return boundPort; }

  // From any thread: wakes whatever blocks on the socket and makes it fail from now on.
  void interrupt();
  // From the thread that uses the socket (or once it has ended): releases the descriptor.
  void close();

 private:
  bool open();
  void fail();

  std::mutex lock;
  int fd = -1;
  std::atomic<State> state{Closed};
  int boundPort = 0;
  std::atomic<bool> interrupted{false};
};
