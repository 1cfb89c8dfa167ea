#include "plugins/NevTimeStamp/NevTimeStampSession.h"

#include <cstdio>
#include <cstring>

#include "platform/win32.h"

namespace {

// The compiled pattern points into this text, so it lives as long as the module.
const char kStampPattern[] = "^/d/d:/d/d:/d/d (.*):(text)$";
const size_t kStampLength = 9;  // "HH:MM:SS "
const char kBell = '\a';

}  // namespace

NevTimeStampSession::NevTimeStampSession(const char* clientName)
    : PlugsInOutSession(clientName) {}

NevTimeStampSession::~NevTimeStampSession() {
  if (compiled) freeRegExpr(stamp);
}

void NevTimeStampSession::init() {
  if (!compiled) compiled = compileRegExpr(stamp, kStampPattern) == 1;
  setup.setSession(this);
  setup.readSetup();
}

// The setting is kept at the end as every plug-in's settings are.
void NevTimeStampSession::term() {
  setup.writeSetup();
  if (compiled) freeRegExpr(stamp);
  compiled = false;
  PlugsInOutSession::term();
}

const char* NevTimeStampSession::onReceivedData(const char* text) {
  output.clear();
  if (text == nullptr) return output.c_str();
  const char* piece = text;
  while (const char* feed = std::strchr(piece, '\n')) {
    formatLine(piece, static_cast<size_t>(feed - piece) + 1);
    piece = feed + 1;
  }
  // A text that ends with its line feed has no last piece: an empty one would only be a stamp.
  if (*piece != '\0') formatLine(piece, std::strlen(piece));
  return output.c_str();
}

const char* NevTimeStampSession::onDataToSend(const char*) { return nullptr; }

void NevTimeStampSession::formatLine(const char* text, size_t length) {
  if (length > 0 && text[0] == kBell) {
    MessageBeep(MB_ICONASTERISK);
    ++text;
    --length;
  }
  // Any state but "keep" drops the server's stamp, and "local" puts the local time first.
  if (setup.state != NevTimeStampSetup::KeepServerStamp) {
    if (setup.state != NevTimeStampSetup::NoStamp) appendLocalStamp();
    if (hasServerStamp(text, length)) {
      text += kStampLength;
      length -= kStampLength;
    }
  }
  output.append(text, length);
}

// The pattern's "." takes any byte, so only the stamp decides: matching the first bytes gives
// the whole line's answer at a cost that does not grow with the line.
bool NevTimeStampSession::hasServerStamp(const char* text, size_t length) {
  if (!compiled || length < kStampLength) return false;
  char head[kStampLength + 1];
  std::memcpy(head, text, kStampLength);
  head[kStampLength] = '\0';
  return matchRegExpr(stamp, head) == 1;
}

void NevTimeStampSession::appendLocalStamp() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[24];
  std::snprintf(text, sizeof text, "%02i:%02i:%02i ", now.wHour, now.wMinute, now.wSecond);
  output.append(text);
}
