// Cuts the bytes one chat client sends into lines: bounded length, NULs and a CR before the
// line feed dropped, and (for telnet clients) the telnet negotiation removed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct ReadLine {
  std::string text;  // without the line feed
  bool cut = false;  // the client sent more than the bound; the rest was dropped
};

class LineReader {
 public:
  explicit LineReader(size_t maxLength, bool telnet = false)
      : maxLength_(maxLength), telnet_(telnet) {}

  // Appends complete lines to out; an unfinished line waits for more bytes.
  void feed(const char* bytes, size_t count, std::vector<ReadLine>& out);
  // Bytes of the line under way (for the bound test).
  size_t pending() const { return line_.size(); }

 private:
  // Whether the byte belongs to a telnet command and must be dropped.
  bool telnetCommand(unsigned char c);
  void addByte(char c, std::vector<ReadLine>& out);

  enum class Telnet { Data, Command, Option, Sub, SubCommand };

  size_t maxLength_;
  bool telnet_;
  Telnet state_ = Telnet::Data;
  std::string line_;
  bool discarding_ = false;  // skipping the rest of an overlong line up to its line feed
};
