// What a chat server sends, as arbitrary bytes: each line goes through the default events file
// to the NevChat session without its windows, and the whole input also arrives as the payload
// of another client's request and acknowledgement. Nothing may crash or read past a buffer.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/EventData.h"
#include "host/EventList.h"
#include "host/EventsFile.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "sdk/PlugsModule.h"
#include "sdk/SdkFunctions.h"

namespace {

// A fresh session after this many inputs, so state carried between runs stays small.
constexpr int kInputsPerSession = 1000;

// Formats into a scratch buffer and drops it: every argument is still read in full.
void swallow(const char* format, va_list args) {
  char text[4096];
  vsnprintf(text, sizeof text, format, args);
}

// The host's services with no effect; values the session asks for are the given defaults.
SdkFunctions& quietHost() {
  static SdkFunctions table = [] {
    SdkFunctions t{};
    t.size = sizeof(SdkFunctions);
    t.getHostVersion = [] { return 2.0f; };
    t.setSystemColor = [](int, int, int) {};
    t.printSystemV = swallow;
    t.sendDataToClient = [](const char*, const char* f, va_list a) { swallow(f, a); };
    t.disconnect = [](PlugsObject*) {};
    t.connect = [](PlugsObject*) {};
    t.isConnected = [](PlugsObject*) { return true; };
    t.addServer = [](PlugsObject*, const char*, int, int) {};
    t.sendData = [](PlugsObject*, const char* f, va_list a) { swallow(f, a); };
    t.addSystemTab = [](const char*) -> HWND { return nullptr; };
    t.removeSystemTab = [](HWND) {};
    t.highlightSystemTab = [](HWND, bool) {};
    t.selectSystemTab = [](HWND) {};
    t.isSystemTabSelected = [](HWND) { return false; };
    t.setSystemTabText = [](HWND, const char*) {};
    t.checkKeyPressed = [](int) { return false; };
    t.defineColor = [](PlugsObject*, const char*, const char*, int, int, int) {};
    t.getColor = [](PlugsObject*, const char*) -> COLORREF { return 0; };
    t.setColor = [](PlugsObject*, const char*, int, int, int) {};
    t.defineFont = [](PlugsObject*, const char*, const char*, const char*, int, int) {};
    t.getFont = [](PlugsObject*, const char*) { return FontRecord{nullptr, 0, 0}; };
    t.setFont = [](PlugsObject*, const char*, const char*, int, int) {};
    t.hasEvent = [](PlugsObject*, const char*) { return true; };
    t.getClientString = [](PlugsObject*, const char*, char* buffer, int size, const char* def) {
      if (buffer == nullptr || size <= 0) return 0;
      return snprintf(buffer, size, "%s", def != nullptr ? def : "");
    };
    t.getClientInt = [](PlugsObject*, const char*, int def) { return def; };
    t.getClientBool = [](PlugsObject*, const char*, bool def) { return def; };
    t.getClientFloat = [](PlugsObject*, const char*, float def) { return def; };
    t.writeClientString = [](PlugsObject*, const char*, const char*) {};
    t.writeClientInt = [](PlugsObject*, const char*, int) {};
    t.writeClientBool = [](PlugsObject*, const char*, bool) {};
    t.writeClientFloat = [](PlugsObject*, const char*, float) {};
    t.hasPlug = [](PlugsObject*, const char*) { return true; };
    t.getPlugAuthor = [](const char*) { return ""; };
    t.getPlugVersion = [](const char*) { return 1.5f; };
    // Every kind, a name cut by the end, and an unknown kind: the full-version answer walks it.
    t.getPlugsList = [](PlugsObject*) { return "M:NevChat A:NevTell I:Files X Q:"; };
    t.sendEvent = [](PlugsObject*, const char*, const char*, void*) {};
    t.sendRequest = [](PlugsObject*, const char*, char* answer, int size, const char*, void*) {
      if (answer != nullptr && size > 0) answer[0] = '\0';
      return -1;
    };
    t.updatePlug = [](const char*) {};
    t.getSystemString = [](const char*, char* buffer, int size, const char* def) {
      if (buffer == nullptr || size <= 0) return 0;
      return snprintf(buffer, size, "%s", def != nullptr ? def : "");
    };
    t.getSystemInt = [](const char*, int def) { return def; };
    t.getSystemBool = [](const char*, bool def) { return def; };
    t.getSystemFloat = [](const char*, float def) { return def; };
    t.writeSystemString = [](const char*, const char*) {};
    t.writeSystemInt = [](const char*, int) {};
    t.writeSystemBool = [](const char*, bool) {};
    t.writeSystemFloat = [](const char*, float) {};
    return t;
  }();
  return table;
}

EventList& events() {
  static EventList* list = [] {
    auto* made = new EventList(nullptr);
    if (!loadEventsFile(*made, NEVCHAT_EVENTS_FILE)) {
      fprintf(stderr, "cannot load %s\n", NEVCHAT_EVENTS_FILE);
      std::abort();
    }
    return made;
  }();
  return *list;
}

// The session without windows, except that each print is formatted (so every argument is read)
// and counted as output, so the search history records the events as with a chat window.
class CountingSession : public NevChatSession {
 public:
  CountingSession() : NevChatSession("fuzz") {}
  NevChatSession* printStyled(const char* format, ...) override {
    char text[4096];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length > 0) printed += length;
    return NevChatSession::printStyled("%s", text);
  }
  int outputLength() override { return printed; }

 private:
  int printed = 0;
};

// A session as after reading its settings, logged in, with the paths that answer and
// announce turned on; its windows are never built.
std::unique_ptr<NevChatSession> freshSession() {
  auto session = std::make_unique<CountingSession>();
  NevChatSetupPage& settings = session->getSettings();
  settings.setSession(session.get());
  settings.readSetup();
  settings.login.assign("alice");
  settings.password.assign("secret");
  settings.autoInfos = 1;
  settings.displayVReq = 1;
  return session;
}

NevChatSession& session() {
  static std::unique_ptr<NevChatSession> current;
  static int inputs = 0;
  if (!current || ++inputs % kInputsPerSession == 0) {
    current.reset();
    current = freshSession();
  }
  return *current;
}

// The input as the payload of private data, the way the events file names its variables.
void privateData(NevChatSession& chat, const char* request, const std::string& payload) {
  EventRecord record;
  std::string line = "[data] bob " + std::string(request) + " " + payload;
  record.set(line.c_str(), 4, "nevtime", "", "data", payload.c_str(), "request", request, "nick",
             "bob");
  chat.onEvent(1, "vdatas", &record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!plugsSetHandlers(&quietHost(), kSdkFunctionsFullSize)) std::abort();
  EventList& list = events();
  NevChatSession& chat = session();

  // Lines keep their line feed: the patterns' last captures hold it as the server's do.
  std::string input(reinterpret_cast<const char*>(data), size);
  int lineNo = 0;
  for (size_t start = 0; start < input.size();) {
    size_t end = input.find('\n', start);
    end = end == std::string::npos ? input.size() : end + 1;
    std::string line = input.substr(start, end - start);
    start = end;
    EventRecord record;
    const char* name = list.match(line.c_str(), record);
    for (int i = 0; i < 2 * record.count; ++i)
      if (record.vars[i] == nullptr) std::abort();
    chat.onEvent(++lineNo, name, &record);
  }

  // Requests are answered only while the group may send data, which the lines above set.
  std::string payload = input.c_str();
  privateData(chat, "VREQ", payload);
  privateData(chat, "VACK", payload);
  return 0;
}
