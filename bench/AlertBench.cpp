// The alert add-in: the time from a tell's line reaching the host's socket (and, alone, the
// session) to its pop-up being shown (target: under 50 ms), and a watched-word search over a
// 64 KB line with 50 words (target: under 1 ms). Headless; sounds go to no device.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ChatBench.h"

#include "platform/testing.h"
#include "tests/support/FakeHost.h"
#include "plugins/vaware/AlertRules.h"
#include "plugins/vaware/VawareSession.h"

namespace {

void BM_TellToVisiblePopup(benchmark::State& state) {
  FakeHost host;
  host.answers["login"] = {5, "alice"};
  HMODULE program = GetModuleHandleA(nullptr);
  setPlugsModuleInstance(program);
  AlertPopup::registerTemplate(program);
  vorntest::useSilentSoundDevice();
  VawareSession session("bench");
  session.init();
  char line[] = "bob tells you: are you there? the meeting starts in five minutes";
  char nickName[] = "nick", nick[] = "bob";
  char* vars[] = {nickName, nick};
  EventData data{line, 1, vars};
  for (auto _ : state) {
    ShowWindow(session.popup().window(), SW_HIDE);
    session.onEvent(1, "tell", &data, false);
    vorntest::pumpFor(0);  // the pop-up's window shows on the next turn of the loop
    if (!IsWindowVisible(session.popup().window())) state.SkipWithError("pop-up not shown");
  }
  session.term();
  vorntest::clearSoundDevice();
}
BENCHMARK(BM_TellToVisiblePopup)->Unit(benchmark::kMillisecond);

// The whole host with vaware as add-in: the server writes the tell, the pop-up shows.
// The host started by the benchmark below, shut down before main returns.
struct HostRun {
  TempFolder folder;
  ChatServer server;
  std::string previous = std::filesystem::current_path().string();
  bool started = false;
};
HostRun* hostRun = nullptr;

void BM_TellArrivalToPopupThroughTheHost(benchmark::State& state) {
  if (hostRun == nullptr) hostRun = new HostRun;
  TempFolder& folder = hostRun->folder;
  ChatServer& server = hostRun->server;
  static Client* client = nullptr;
  if (!hostRun->started) {
    hostRun->started = true;
    if (!server.start()) return state.SkipWithError("no chat server");
    chatbench::writeFolder(folder, server.port(), {"alert"});
    std::filesystem::copy_file(VAWARE_MODULE, folder.file("Plugins/vaware.vad"));
    folder.write("Vornith.ini", folder.read("Vornith.ini") + "Addins=Vaware\n");
    std::filesystem::current_path(folder.path());
    startUp(GetModuleHandleA(nullptr));
    client = clientList != nullptr ? clientList->findClient("alert") : nullptr;
    if (client == nullptr ||
        !vorntest::pumpUntil([&] { return server.isLoggedIn("alert"); }, 10000))
      return state.SkipWithError("the client did not log in");
    vorntest::pumpFor(300);
  }
  if (client == nullptr) return state.SkipWithError("no client");
  auto* session = chatbench::firstAddin<VawareSession>(client);
  if (session == nullptr || !session->popup().exists()) return state.SkipWithError("no pop-up");
  // The user looks at another window: with the host in front nothing would show.
  HWND other = CreateWindowExA(0, "Static", "elsewhere", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
  ShowWindow(other, SW_SHOW);
  SetForegroundWindow(other);
  std::string line = ChatServer::stampOf(std::time(nullptr)) + "bob tells you: are you there?\n";
  for (auto _ : state) {
    ShowWindow(session->popup().window(), SW_HIDE);
    SetForegroundWindow(other);
    chatbench::Clock::time_point start = chatbench::Clock::now();
    server.inject("alert", line);
    while (!IsWindowVisible(session->popup().window()) && chatbench::since(start) < 5)
      chatbench::runLoopStep();
    state.SetIterationTime(chatbench::since(start));
  }
  DestroyWindow(other);
}
BENCHMARK(BM_TellArrivalToPopupThroughTheHost)->UseManualTime()->Unit(benchmark::kMillisecond);

// No word matches, so every word is searched through the whole line.
void BM_ContainsWord64KB50Words(benchmark::State& state) {
  std::string text;
  while (text.size() < 64 * 1024) text += "the quick brown fox jumps over the lazy dog, again ";
  text.resize(64 * 1024);
  std::vector<std::string> words;
  for (int i = 0; i < 50; ++i) words.push_back("word" + std::to_string(i));
  bool wordOnly = state.range(0) != 0;
  for (auto _ : state) {
    bool any = false;
    for (const std::string& word : words)
      any = any || AlertRules::containsWord(text.c_str(), word.c_str(), wordOnly);
    benchmark::DoNotOptimize(any);
  }
}
BENCHMARK(BM_ContainsWord64KB50Words)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (hostRun != nullptr) {
    if (hostRun->started) shutDown();
    std::filesystem::current_path(hostRun->previous);
    delete hostRun;
  }
  return 0;
}
