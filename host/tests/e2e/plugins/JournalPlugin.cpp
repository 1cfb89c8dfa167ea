// A plug-in of any kind for the end-to-end tests and the line-path benchmark, built once per
// role through JOURNAL_NAME, JOURNAL_KIND (1 system, 7 main, 8 add-in, 9 in/out) and
// JOURNAL_ROLE. Every call lands in a journal, one line each, read through journalText.
#include <cstring>
#include <stdexcept>
#include <string>

#include "sdk/PlugsAddinSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/PlugsInOutSession.h"
#include "sdk/PlugsMainSession.h"
#include "sdk/PlugsSystemSession.h"

#define ROLE_JOURNAL 0  // journal every call
#define ROLE_FAULTY 1   // journal, and throw from onEvent on a line naming "boom"
#define ROLE_QUIET 2    // do nothing at all (benchmark)

#if JOURNAL_KIND == 1
#define JOURNAL_BASE PlugsSystemSession
#elif JOURNAL_KIND == 7
#define JOURNAL_BASE PlugsMainSession
#elif JOURNAL_KIND == 8
#define JOURNAL_BASE PlugsAddinSession
#else
#define JOURNAL_BASE PlugsInOutSession
#endif

namespace {

std::string journal;

void note(const std::string& line) {
  if (JOURNAL_ROLE == ROLE_QUIET) return;
  journal += line;
  journal += '\n';
}

std::string vars(EventData* data) {
  std::string text;
  for (int i = 0; data != nullptr && i < data->count; ++i) {
    text += ' ';
    text += data->vars[2 * i];
    text += '=';
    text += data->vars[2 * i + 1];
  }
  return text;
}

std::string oneLine(const char* text) {
  std::string line = text != nullptr ? text : "(null)";
  for (char& c : line)
    if (c == '\n') c = '|';
  return line;
}

class JournalSession : public JOURNAL_BASE {
 public:
  explicit JournalSession(const char* clientName) : JOURNAL_BASE(clientName) {}
  void init() override { note(std::string("init ") + getClientName()); }
  void term() override { note(std::string("term ") + getClientName()); }
#if JOURNAL_KIND == 1
  void onSystemEvent(const char* clientName, int id, EventData* data) override {
    note("system " + std::string(clientName) + " " + std::to_string(id) + " " +
         oneLine(data->getText()) + vars(data));
  }
  const char* onReceivedData(const char* clientName, const char* text) override {
    note("received " + std::string(clientName) + " " + oneLine(text));
    return nullptr;
  }
  bool onEvent(const char* clientName, int lineNo, const char* eventName,
               EventData* data) override {
    note("event " + std::string(clientName) + " " + std::to_string(lineNo) + " " + eventName +
         vars(data));
    return std::strstr(data->getText(), "intercept") != nullptr;
  }
  const char* onDataToSend(const char* clientName, const char* text) override {
    note("send " + std::string(clientName) + " " + oneLine(text));
    return nullptr;
  }
#else
  void onSystemEvent(int id, EventData* data) override {
    note("system " + std::to_string(id) + " " + oneLine(data->getText()) + vars(data));
  }
#endif
#if JOURNAL_KIND == 7
  void onEvent(int lineNo, const char* eventName, EventData* data) override {
    note("event " + std::to_string(lineNo) + " " + eventName + vars(data));
  }
#elif JOURNAL_KIND == 8
  bool onEvent(int lineNo, const char* eventName, EventData* data, bool interceptedSoFar) override {
    note("event " + std::to_string(lineNo) + " " + eventName + vars(data) +
         (interceptedSoFar ? " (intercepted)" : ""));
    if (JOURNAL_ROLE == ROLE_FAULTY && std::strstr(data->getText(), "boom") != nullptr)
      throw std::runtime_error("boom");
    return std::strstr(data->getText(), "addin-stop") != nullptr;
  }
#elif JOURNAL_KIND == 9
  const char* onReceivedData(const char* text) override {
    note("received " + oneLine(text));
    return nullptr;
  }
  // Marks what it sends so that the test sees the text went through it.
  const char* onDataToSend(const char* text) override {
    note("send " + oneLine(text));
    if (JOURNAL_ROLE == ROLE_QUIET) return nullptr;
    reply = std::string("io:") + text;
    return reply.c_str();
  }

 private:
  std::string reply;
#endif
};

class JournalFactory : public VornithPlugsFactory {
 public:
  int init() override { return 1; }
  void term() override {}
  const char* name() override { return JOURNAL_NAME; }
  float version() override { return 1.5f; }
  int kind() override { return JOURNAL_KIND; }
  const char* author() override { return "Journal Maker"; }
  const char* shortDescription() override { return "end-to-end journal"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<JournalSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }
};

JournalFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORT_ATTR const char* journalText() { return journal.c_str(); }
VORNITH_PLUGIN_EXPORT_ATTR void clearJournal() { journal.clear(); }

VORNITH_PLUGIN_EXPORTS()
