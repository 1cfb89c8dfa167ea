// What a transfer asks of the session that owns it, from the transfer's own thread: a control
// line to send, a console line to print, and the local path to save an offered file to.
#pragma once

#include <string>

class TransferLines {
 public:
  virtual void sendLine(const std::string& line) = 0;
  virtual void printLine(const std::string& line) = 0;
  // Blocks until the user chose a path; empty when cancelled or the session ends.
  virtual std::string chooseTarget(const std::string& offeredName) = 0;

 protected:
  ~TransferLines() = default;
};
