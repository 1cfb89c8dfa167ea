// The alert add-in: the time from a tell reaching the session to its pop-up being shown
// (target: under 50 ms), and a watched-word search over a 64 KB line with 50 words (target:
// under 1 ms). Run headless or on a display; sounds go to no device.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/testing.h"
#include "plugins/testsupport/FakeHost.h"
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

BENCHMARK_MAIN();
