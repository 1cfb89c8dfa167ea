#include "plugins/NevLine/NevLineSession.h"

#include <cstring>

namespace {

const char kLoginPrompt[] = "<Nev> Login";
const char kPasswordPrompt[] = "<Nev> Password";
const char kPeerLine[] = "senddata ";
const size_t kStampLength = 9;  // "HH:MM:SS "
const size_t kPromptRoom = 5;   // a tail this long or shorter (after the stamp) is no prompt
const size_t kPasswordShift = 3;
const char kPromptEnd[] = ": ";
// System events 1 to 5: trying, connected, closed, every server failed, socket error.
const int kTryingToConnect = 1, kSocketError = 5;

bool startsWith(const char* text, const char* prefix, size_t prefixLength) {
  return std::strncmp(text, prefix, prefixLength) == 0;
}

}  // namespace

NevLineSession::NevLineSession(const char* clientName) : PlugsInOutSession(clientName) {}

void NevLineSession::init() {
  setup.setSession(this);
  setup.readSetup();
}

// The settings are kept at the end as every plug-in's settings are.
void NevLineSession::term() {
  setup.writeSetup();
  PlugsInOutSession::term();
}

// --- Received side -------------------------------------------------------------------------

// A tail left by one connection is no beginning of the next one's first line.
void NevLineSession::onSystemEvent(int id, EventData* data) {
  if (id >= kTryingToConnect && id <= kSocketError) pending.clear();
  PlugsInOutSession::onSystemEvent(id, data);
}

const char* NevLineSession::onReceivedData(const char* text) {
  if (text != nullptr) pending.append(text);
  output.clear();
  size_t lastFeed = pending.rfind('\n');
  if (lastFeed != std::string::npos) {
    output.append(pending, 0, lastFeed + 1);
    pending.erase(0, lastFeed + 1);
  }
  if (isPrompt() || pending.size() > kMaxPending) {
    output.append(pending);
    output.push_back('\n');
    pending.clear();
  }
  return output.c_str();
}

// A prompt never ends its line; the comparisons stop at the tail's end. It is whole once its
// ": " has come: released earlier, the rest of a prompt the network cut would be left to
// spoil the next one.
bool NevLineSession::isPrompt() const {
  size_t length = pending.size();
  size_t skip = length > kPromptRoom && pending[0] >= '0' && pending[0] <= '9' ? kStampLength : 0;
  if (skip + kPromptRoom >= length) return false;
  const char* tail = pending.c_str() + skip;
  size_t keywordEnd = 0;
  const size_t loginLength = sizeof kLoginPrompt - 1, passwordLength = sizeof kPasswordPrompt - 1;
  if (startsWith(tail, kLoginPrompt, loginLength))
    keywordEnd = skip + loginLength;
  else if (startsWith(tail, kPasswordPrompt, passwordLength))
    keywordEnd = skip + passwordLength;
  else if (startsWith(tail + kPasswordShift, kPasswordPrompt, passwordLength))
    keywordEnd = skip + kPasswordShift + passwordLength;
  return keywordEnd != 0 && pending.find(kPromptEnd, keywordEnd) != std::string::npos;
}

// --- Send side -----------------------------------------------------------------------------

const char* NevLineSession::onDataToSend(const char* text) {
  if (text == nullptr) return nullptr;
  setup.tabSize = NevLineSetup::clampTabSize(setup.tabSize);
  if (setup.tab2Space)
    expandTabs(text);
  else
    removeTabs(text);
  if (!peerDataRefused()) return work.c_str();
  return withoutPeerLines();
}

// Each tab reaches the next tab stop, counted from the start of its line.
void NevLineSession::expandTabs(const char* text) {
  work.clear();
  const size_t size = static_cast<size_t>(setup.tabSize);
  size_t column = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\t') {
      size_t blanks = size - column % size;
      work.append(blanks, ' ');
      column += blanks;
      continue;
    }
    work.push_back(*c);
    column = *c == '\n' ? 0 : column + 1;
  }
}

void NevLineSession::removeTabs(const char* text) {
  work.clear();
  for (const char* c = text; *c != '\0'; ++c)
    if (*c != '\t') work.push_back(*c);
}

// Asked at every send: the main plug-in may change its mind. Unanswered means allowed.
bool NevLineSession::peerDataRefused() {
  char answer[1] = {0};
  int result = sendRequest("@", answer, sizeof answer, "senddataok", nullptr);
  return result != -1 && answer[0] == 0;
}

// Complete lines only, and none of the peer-data lines; an unfinished last piece is dropped.
const char* NevLineSession::withoutPeerLines() {
  sendOutput.clear();
  size_t start = 0;
  for (size_t feed = work.find('\n'); feed != std::string::npos; feed = work.find('\n', start)) {
    const char* line = work.c_str() + start;
    if (!startsWith(line, kPeerLine, sizeof kPeerLine - 1))
      sendOutput.append(work, start, feed + 1 - start);
    start = feed + 1;
  }
  return sendOutput.c_str();
}
