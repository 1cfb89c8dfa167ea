// What a transfer hands the session that owns it, from the transfer's own thread: a control
// line to send, a console line to print, and the notice of a received file's end, which goes
// where the offer was shown.
#pragma once

#include <string>

class TransferLines {
 public:
  virtual void sendLine(const std::string& line) = 0;
  virtual void printLine(const std::string& line) = 0;
  virtual void noticeLine(const std::string& line) = 0;

 protected:
  ~TransferLines() = default;
};
