// Cuts the bytes one chat client sends into lines.
#include "outside/chatserver/LineReader.h"

namespace {

const unsigned char Iac = 255;
const unsigned char Sb = 250;
const unsigned char Se = 240;
const unsigned char Will = 251;
const unsigned char Dont = 254;

}  // namespace

bool LineReader::telnetCommand(unsigned char c) {
  switch (state_) {
    case Telnet::Data:
      if (c != Iac) return false;
      state_ = Telnet::Command;
      return true;
    case Telnet::Command:
      if (c == Iac) {  // a doubled IAC is the data byte 255
        state_ = Telnet::Data;
        return false;
      }
      if (c == Sb)
        state_ = Telnet::Sub;
      else if (c >= Will && c <= Dont)
        state_ = Telnet::Option;
      else
        state_ = Telnet::Data;
      return true;
    case Telnet::Option:
      state_ = Telnet::Data;
      return true;
    case Telnet::Sub:
      if (c == Iac) state_ = Telnet::SubCommand;
      return true;
    case Telnet::SubCommand:
      state_ = c == Se ? Telnet::Data : Telnet::Sub;
      return true;
  }
  return false;
}

void LineReader::addByte(char c, std::vector<ReadLine>& out) {
  if (c == '\n') {
    if (!discarding_) {
      if (!line_.empty() && line_.back() == '\r') line_.pop_back();
      out.push_back({line_, false});
    }
    line_.clear();
    discarding_ = false;
    return;
  }
  // A NUL would end the data at every client the line is relayed to.
  if (c == '\0' || discarding_) return;
  line_ += c;
  if (line_.size() >= maxLength_) {
    out.push_back({line_, true});
    line_.clear();
    discarding_ = true;
  }
}

void LineReader::feed(const char* bytes, size_t count, std::vector<ReadLine>& out) {
  for (size_t i = 0; i < count; ++i) {
    if (telnet_ && telnetCommand(static_cast<unsigned char>(bytes[i]))) continue;
    addByte(bytes[i], out);
  }
}
