// What the chat benchmarks share: a program folder with one NevChat client of the local chat
// server, the timing of the GUI thread's trips away from its message loop, and the client's
// output pane.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoopSteps.h"
#include "bench/ProcessMemory.h"
#include "host/Client.h"
#include "host/ClientList.h"
#include "host/Host.h"
#include "outside/chatserver/ChatServer.h"
#include "lib/RichEdit.h"
#include "platform/tests/TempFolder.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "plugins/NevChat/NevChatSession.h"

namespace chatbench {

// The program folder for NevChat clients of the server at port, each logged in under its own
// name; they connect at start when connect is set.
inline void writeFolder(const TempFolder& folder, int port,
                        const std::vector<std::string>& clients, bool connect = true) {
  namespace fs = std::filesystem;
  fs::create_directories(folder.file("Plugins"));
  fs::create_directories(folder.file("Events"));
  fs::copy_file(NEVCHAT_MODULE, folder.file("Plugins/NevChat.vma"));
  fs::copy_file(NEVCHAT_EVENTS_FILE, folder.file("Events/nevchat.evt"));
  std::string host = "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n";
  std::string plugs;
  for (const std::string& client : clients) {
    std::string section = "[" + client + "]\n";
    host += section + "Autoconnect=" + (connect ? "On" : "Off") +
            "\nServer0=127.0.0.1:" + std::to_string(port) + "\nRegExpr=nevchat.evt\nMain=NevChat\n";
    plugs += section + "NevChat Login=" + client + "\n";
  }
  folder.write("Vornith.ini", host);
  folder.write("Plugs.ini", plugs);
}

// An add-in module the client loads besides NevChat, under the given name.
struct AddinModule {
  const char* module;
  const char* name;
};

// Starts the chat server and, in a fresh program folder that becomes the working folder, the
// host with one client that logs in to it, with the add-in if one is given; the client, or
// null after a line on stderr.
inline Client* startLoggedInClient(ChatServer& server, const TempFolder& folder, const char* name,
                                   const AddinModule* addin = nullptr) {
  if (!server.start()) {
    std::fprintf(stderr, "the chat server did not start: %s\n", server.error().c_str());
    return nullptr;
  }
  writeFolder(folder, server.port(), {name});
  if (addin != nullptr) {
    std::filesystem::copy_file(addin->module,
                               folder.file(std::string("Plugins/") + addin->name + ".vad"));
    // The client's section is the last one.
    folder.write("Vornith.ini",
                 folder.read("Vornith.ini") + "Addins=" + std::string(addin->name) + "\n");
  }
  std::filesystem::current_path(folder.path());
  startUp(GetModuleHandleA(nullptr));
  Client* client = clientList != nullptr ? clientList->findClient(name) : nullptr;
  if (client == nullptr || !vorntest::pumpUntil([&] { return server.isLoggedIn(name); }, 10000)) {
    std::fprintf(stderr, "the client did not log in\n");
    return nullptr;
  }
  vorntest::pumpFor(500);
  return client;
}

// The session of the client's first add-in, or null.
template <typename Session>
Session* firstAddin(Client* client) {
  ListNode<SessionRecord*>* first = client->getAddins().headNode();
  return first != nullptr ? static_cast<Session*>(first->value->session) : nullptr;
}

// The longest steps, with the message dispatched and how far the flood was.
struct SlowStep {
  double seconds;
  double peekSeconds;
  UINT message;
  long linesBefore;
  long linesAfter;
};

inline void keepSlowest(std::vector<SlowStep>& slowest, const SlowStep& step) {
  const size_t kept = 5;
  if (slowest.size() == kept && step.seconds <= slowest.back().seconds) return;
  slowest.push_back(step);
  std::sort(slowest.begin(), slowest.end(),
            [](const SlowStep& a, const SlowStep& b) { return a.seconds > b.seconds; });
  if (slowest.size() > kept) slowest.pop_back();
}

// What a flood's loop records: every step's time, the slowest steps with the flood's progress
// around them, and the resident memory every sampleEvery lines (room made before the flood).
class FloodRecord {
 public:
  explicit FloodRecord(long sampleEvery) : sampleEvery(sampleEvery), nextSample(sampleEvery) {
    slowest.reserve(8);
    resident.reserve(64);
    residentAt.reserve(64);
  }
  void add(const LoopStep& step, long linesBefore, long linesAfter) {
    steps.add(step.seconds);
    keepSlowest(slowest, {step.seconds, step.peekSeconds, step.message, linesBefore, linesAfter});
    if (linesAfter < nextSample) return;
    resident.push_back(statusField("VmRSS:"));
    residentAt.push_back(linesAfter);
    nextSample += sampleEvery;
  }
  void printSteps() const {
    std::printf("loop steps: %ld; longest %.1f ms; 99th percentile %.2f ms\n", steps.steps(),
                steps.longest() * 1e3, steps.percentile(0.99) * 1e3);
  }
  // unit: what the flood counts, as "lines" or "tells".
  void printSlowestAndMemory(const char* unit) const {
    std::printf("slowest steps (ms, of which in PeekMessageA; message; %s before and after):\n",
                unit);
    for (const SlowStep& s : slowest)
      std::printf("  %.1f  %.1f  0x%04x  %ld  %ld\n", s.seconds * 1e3, s.peekSeconds * 1e3,
                  s.message, s.linesBefore, s.linesAfter);
    std::printf("resident memory (kB) at %s:", unit);
    for (size_t i = 0; i < resident.size(); ++i)
      std::printf(" %ld:%ld", residentAt[i], resident[i]);
    std::printf("\npeak resident memory: %ld kB\n", statusField("VmHWM:"));
  }

 private:
  StepTimes steps;
  std::vector<SlowStep> slowest;
  std::vector<long> resident;
  std::vector<long> residentAt;
  long sampleEvery;
  long nextSample;
};

// Tells a flood's loop when nothing new came for the given time; between, an empty step gives
// the thread away.
class StallWatch {
 public:
  explicit StallWatch(double limitSeconds) : limit(limitSeconds) {}
  bool stalled(long done, bool got) {
    if (done != lastDone) {
      lastDone = done;
      lastProgress = Clock::now();
    } else if (since(lastProgress) > limit) {
      return true;
    } else if (!got) {
      std::this_thread::yield();
    }
    return false;
  }

 private:
  double limit;
  long lastDone = -1;
  Clock::time_point lastProgress = Clock::now();
};

inline HWND outputPane(Client* client) {
  PlugsObject* session = client->getMainRecord().session;
  if (session == nullptr) return nullptr;
  RichEdit* output = static_cast<NevChatSession*>(session)->getOutput();
  return output != nullptr ? output->getHwnd() : nullptr;
}

inline long paneMessage(HWND pane, UINT message) {
  return pane != nullptr ? static_cast<long>(SendMessageA(pane, message, 0, 0)) : -1;
}

// Whether the pane's last line ends with the flood's last words. A line cut at the end of a
// received chunk counts twice in the client's line counter, so the counter alone ends early.
inline bool showsLastLine(HWND pane, const char* lastWords) {
  long count = paneMessage(pane, EM_GETLINECOUNT);
  if (count < 1) return false;
  char text[512];
  *reinterpret_cast<WORD*>(text) = sizeof text - 1;
  LRESULT length = SendMessageA(pane, EM_GETLINE, static_cast<WPARAM>(count - 1),
                                reinterpret_cast<LPARAM>(text));
  if (length < 0 || length >= static_cast<LRESULT>(sizeof text)) return false;
  text[length] = '\0';
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n'))
    text[--length] = '\0';
  size_t words = std::strlen(lastWords);
  return static_cast<size_t>(length) >= words &&
         std::strcmp(text + length - words, lastWords) == 0;
}

}  // namespace chatbench
