// One file transfer between two users, on either side of the link: its offer's fields, the
// link socket, the two pumps and the thread that runs the listening or connecting side. Its
// end (done, failed and why, resumed at which byte) is told in one line.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "plugins/vfile/TransferLines.h"
#include "plugins/vfile/TransferSocket.h"
#include "plugins/vfile/TransferThread.h"

class Transfer : public TransferThread {
 public:
  struct Fields {
    std::string path;  // sending: the local file; receiving: the target the user chose
    int id = 0;
    std::string address;  // own address when listening, the peer's when connecting
    int port = 0;
    std::string password;
    bool sending = true;
    std::string nick;
  };

  explicit Transfer(TransferLines& lines) : lines(lines) {}

  // Takes the fields; the size becomes that of the file at path (0 when it cannot be read).
  void setup(const Fields& fields);
  void setSize(int bytes) { size = bytes; }
  // The name the offer carried, for the end line (the path's own name when not set).
  void setOfferedName(const std::string& name) { offeredName = name; }

  // Listening side: binds and listens, then port() is the port bound. False on failure.
  virtual bool prepare() = 0;
  // From any thread: wakes the thread's sockets so that it ends soon; safe before it starts.
  virtual void close() = 0;
  virtual bool isListening() const = 0;
  // Wakes and waits for the thread.
  void stop();

  const std::string& path() const { return fields.path; }
  int id() const { return fields.id; }
  const std::string& address() const { return fields.address; }
  int port() const { return fields.port; }
  const std::string& password() const { return fields.password; }
  bool isSending() const { return fields.sending; }
  const std::string& nick() const { return fields.nick; }
  int fileSize() const { return size; }
  int64_t transferredBytes() const { return transferred; }

 protected:
  void sendRefuse();
  void sendLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void printLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The bytes after the password: offset, then the file from it. "" when the whole file
  // went over, else why not.
  std::string pump();
  // The one line that tells how the transfer ended: to the console when sending, where the
  // offer was shown when receiving.
  void reportEnd(const std::string& failure);
  std::string lostAfter(int64_t bytes) const;

  TransferLines& lines;
  Fields fields;
  TransferSocket dataSocket;

 private:
  std::string sendFile();
  std::string receiveFile();

  int size = 0;
  std::string offeredName;
  int64_t resumedAt = 0;
  std::string savedAs;
  std::atomic<int64_t> transferred{0};
  int64_t startTime = 0;
};

// The side that listens: the sender by default, or a receiver of an offer without address.
class ServerTransfer : public Transfer {
 public:
  using Transfer::Transfer;
  ~ServerTransfer() override { stop(); }

  bool prepare() override;
  void close() override;
  bool isListening() const override { return true; }

 protected:
  void run() override;

 private:
  bool passwordMatches();

  TransferSocket listenSocket;
};

// The side that connects to the peer's address and gives the password.
class ClientTransfer : public Transfer {
 public:
  using Transfer::Transfer;
  ~ClientTransfer() override { stop(); }

  bool prepare() override { return true; }
  void close() override { dataSocket.interrupt(); }
  bool isListening() const override { return false; }

 protected:
  void run() override;
};
