// Socket: the blocking TCP client of a chat connection.
// Every failure closes the connection and leaves an index into a fixed table of messages.
#pragma once

#include <atomic>

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
  // One blocking read of at most size - 1 bytes, NUL-terminated; 0 on close or error.
  virtual int receive(char* buffer, int size);
  virtual bool send(const char* buffer, int length);
  virtual bool send(const char* text);
  virtual int getErrorCode();
  virtual const char* getErrorText();

  // The message index for a WSAGetLastError code.
  static int mapSocketError(int wsaError);

 private:
  static bool initWinsock();
  void fail();

  // Atomic because the owner may close from one thread while another is blocked in receive:
  // exactly one of them then closes the handle.
  std::atomic<SOCKET> handle_;
  std::atomic<int> lastError_;
};
