#include "plugins/NevTimeStamp/NevTimeStampSession.h"

#include <cstdio>
#include <cstring>

#include "platform/win32.h"

namespace {

// The compiled pattern points into this text, so it lives as long as the module.
const char kStampPattern[] = "^/d/d:/d/d:/d/d (.*):(text)$";
const char kTextSave[] = "text";
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

void NevTimeStampSession::term() {
  if (compiled) freeRegExpr(stamp);
  compiled = false;
  PlugsInOutSession::term();
}

const char* NevTimeStampSession::onReceivedData(const char* text) {
  output.clear();
  if (text == nullptr) return output.c_str();
  const char* piece = text;
  while (const char* feed = std::strchr(piece, '\n')) {
    line.assign(piece, static_cast<size_t>(feed - piece) + 1);
    formatLine(line.c_str(), line.size());
    piece = feed + 1;
  }
  // A text that ends with its line feed has no last piece: an empty one would only be a stamp.
  if (*piece != '\0') {
    line.assign(piece);
    formatLine(line.c_str(), line.size());
  }
  return output.c_str();
}

const char* NevTimeStampSession::onDataToSend(const char*) { return nullptr; }

void NevTimeStampSession::formatLine(const char* text, size_t length) {
  if (length > 0 && text[0] == kBell) {
    MessageBeep(MB_ICONASTERISK);
    ++text;
    --length;
  }
  switch (setup.state) {
    case NevTimeStampSetup::KeepServerStamp:
      output.append(text, length);
      break;
    case NevTimeStampSetup::NoStamp: {
      std::string rest;
      if (savedText(text, length, rest))
        output.append(rest);
      else
        output.append(text, length);
      break;
    }
    default:
      appendLocalStamp();
      if (hasServerStamp(text, length))
        output.append(text + kStampLength, length - kStampLength);
      else
        output.append(text, length);
      break;
  }
}

bool NevTimeStampSession::hasServerStamp(const char* text, size_t length) {
  return compiled && length >= kStampLength && matchRegExpr(stamp, text) == 1;
}

// A stamp followed by nothing leaves the save absent, and so nothing.
bool NevTimeStampSession::savedText(const char* text, size_t length, std::string& rest) {
  if (!hasServerStamp(text, length)) return false;
  const RegExprSave* save = findRegExprSave(stamp, kTextSave, kTextSave + sizeof kTextSave - 1);
  if (save != nullptr) rest.assign(save->start, static_cast<size_t>(save->end - save->start));
  return true;
}

void NevTimeStampSession::appendLocalStamp() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[24];
  std::snprintf(text, sizeof text, "%02i:%02i:%02i ", now.wHour, now.wMinute, now.wSecond);
  output.append(text);
}
