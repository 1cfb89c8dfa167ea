// A peer floods the file-transfer add-in with offers (both forms, alternating) that the user
// does not answer: threads, open descriptors and resident memory of the process before the
// flood, while the offers wait, and once every dialog was answered (cancelled). Counts come
// from /proc/self/task and /proc/self/fd. Run by hand: OfferFloodBench [offers].
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ProcessMemory.h"
#include "platform/testing.h"
#include "tests/support/FakeHost.h"
#include "plugins/vfile/FileTransferSession.h"
#include "plugins/vfile/TransferSettings.h"

namespace {

size_t entriesOf(const char* path) {
  size_t count = 0;
  DIR* folder = opendir(path);
  while (folder != nullptr && readdir(folder) != nullptr) ++count;
  if (folder != nullptr) closedir(folder);
  return count > 2 ? count - 2 : 0;  // without "." and ".."
}

size_t countOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size()) ++count;
  return count;
}

void report(const char* when, FakeHost& host) {
  printf("%-34s threads %5zu  descriptors %5zu  resident %7ld kB  refusals sent %5zu\n", when,
         entriesOf("/proc/self/task"), entriesOf("/proc/self/fd"), statusField("VmRSS:"),
         countOf(host.sent, "[Refuse]"));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int offers = argc > 1 ? atoi(argv[1]) : 1000;
  transferSettings().addressOverride = "127.0.0.1";
  FakeHost host;
  FileTransferSession session("alice");
  session.init();
  vorntest::pumpFor(200);
  report("idle", host);

  for (int id = 0; id < offers; ++id) {
    std::string number = std::to_string(id);
    Vars vars = {{"nick", "mallory"}, {"filename", "f.bin"}, {"size", "1000"},
                 {"id", number.c_str()}};
    if (id % 2 == 1) {
      vars.insert(vars.end(), {{"ip", "127.0.0.1"}, {"port", "9"}, {"password", "secret12"}});
      feedAddin(session, "vfilesendserver", vars);
    } else {
      feedAddin(session, "vfilesend", vars);
    }
  }
  std::string after = std::to_string(offers) + " offers, none answered";
  report(after.c_str(), host);

  // Offscreen, every save dialog ends as cancelled: each offer is refused once.
  bool answered = vorntest::pumpUntil(
      [&] { return countOf(host.sent, "[Refuse]") >= static_cast<size_t>(offers); }, 120000);
  vorntest::pumpFor(200);
  report(answered ? "every offer answered" : "NOT every offer answered", host);
  session.term();
  return answered ? 0 : 1;
}
