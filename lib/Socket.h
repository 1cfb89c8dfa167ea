// Socket: the blocking TCP client of a chat connection.
// Every failure closes the connection and leaves an index into a fixed table of messages.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/win32.h"

class Socket {
 public:
  Socket();
  // Not virtual: owners hold Socket objects themselves, never through a base.
  ~Socket();

  virtual bool connect(const char* host, unsigned short port);
  virtual void close();
  virtual bool isConnected();
  virtual void setKeepAlive(bool on);
  // One read of at most size - 1 bytes, NUL-terminated; 0 on close or error, -1 when a
  // non-blocking connection has nothing yet.
  virtual int receive(char* buffer, int size);
  virtual bool send(const char* buffer, int length);
  virtual bool send(const char* text);
  virtual int getErrorCode();
  virtual const char* getErrorText();

  // A connection in non-blocking mode never holds its caller: receive returns -1 and
  // sendSome 0 where they would wait.
  bool setNonBlocking(bool on);
  // Writes what the connection takes now: the bytes taken, or -1 when the write failed (the
  // error kept and the connection closed, as send does).
  int sendSome(const char* buffer, int length);
  // Waits at most milliseconds until the connection can be read or written; the Ready bits
  // (a closed, shut or broken connection reads as Readable, so receive reports it), 0 when
  // the time ran out.
  enum Ready { Readable = 1, Writable = 2 };
  int wait(bool read, bool write, int milliseconds);

  // The message index for a WSAGetLastError code.
  static int mapSocketError(int wsaError);

 private:
  static bool initWinsock();
  // Records the error of a call on s and closes s if it is still the live connection.
  void fail(SOCKET s);

  // Calls on no connection fail as the system's calls do on an invalid socket.
  void failClosed();

  // The owner may close from one thread while another is inside recv, send or connect. Each
  // call holds the handle for its duration, the lock only around taking and giving it back;
  // a close shuts the connection down at once, so blocked calls wake, but the descriptor is
  // released by its last user: its number is never reused under a thread still on it.
  SOCKET acquire();
  void release();
  void closeHandle(SOCKET s);
  // Makes s the live connection once no call is left on an earlier one.
  void publish(SOCKET s);
  void dropLocked();
  void waitUnusedLocked(std::unique_lock<std::mutex>& lock);

  std::mutex lock_;
  std::condition_variable released_;
  SOCKET handle_;   // the live connection
  SOCKET retired_;  // closed by the owner while still in use
  int users_;
  std::atomic<int> lastError_;
};
