#include "plugins/NvtFilter/NvtFilterSession.h"

#include <cstring>

namespace {

const char kIac = '\xFF';
const char kWillEcho[] = "\xFF\xFB\x01";
const char kWontEcho[] = "\xFF\xFC\x01";
const size_t kCommandLength = 3;

// Pairs of IAC become one, left to right; the byte a pair leaves is not paired again.
void undoubleIac(std::string& text) {
  size_t kept = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    text[kept++] = text[i];
    if (text[i] == kIac && i + 1 < text.size() && text[i + 1] == kIac) ++i;
  }
  text.resize(kept);
}

// Removes the command until none is left, each time the first one from the start. Keeping what
// is left as a stack gives the same text in one pass: a command that a removal brings together
// always ends at the byte just read.
void removeEvery(std::string& text, const char* command) {
  size_t kept = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    text[kept++] = text[i];
    if (kept >= kCommandLength &&
        std::memcmp(text.data() + kept - kCommandLength, command, kCommandLength) == 0)
      kept -= kCommandLength;
  }
  text.resize(kept);
}

}  // namespace

NvtFilterSession::NvtFilterSession(const char* clientName) : PlugsInOutSession(clientName) {}

const char* NvtFilterSession::onReceivedData(const char* text) {
  received.assign(text != nullptr ? text : "");
  undoubleIac(received);
  removeEvery(received, kWillEcho);
  removeEvery(received, kWontEcho);
  return received.c_str();
}

const char* NvtFilterSession::onDataToSend(const char* text) {
  sent.clear();
  for (const char* c = text != nullptr ? text : ""; *c != '\0'; ++c) {
    sent.push_back(*c);
    if (*c == kIac) sent.push_back(kIac);
  }
  return sent.c_str();
}
