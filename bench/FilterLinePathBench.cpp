// The host's line path with the three in/out filters switched on for the client (NevLine,
// NvtFilter, NevTimeStamp), headless: a loopback server floods the client with stamped chat
// lines in chunks the connection cuts where it likes, with doubled 255 bytes, echo
// negotiation and a bell now and then; the events file is NevChat's and the main plug-in does
// nothing. Prints lines per second, the longest trip away from the message loop and the
// resident memory at start, along the way and at the end.
#include <algorithm>
#include <filesystem>
#include <string>

#include "bench/LoopBench.h"
#include "host/tests/EventCorpus.h"

namespace {

const char* const kFilters[] = {NEVLINE_MODULE, NVTFILTER_MODULE, NEVTIMESTAMP_MODULE};

// Every line of the corpus behind a server stamp, some with telnet bytes or a bell; the number
// of lines the client sees is the number of line feeds.
std::string corpusText(int* lineCount) {
  std::string text;
  int index = 0;
  for (std::string line : EventCorpus(20241209).lines(20000)) {
    ++index;
    if (index % 50 == 0) line.insert(0, "\xFF\xFF");
    if (index % 100 == 0) line.insert(0, "\xFF\xFB\x01");
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02i:%02i:%02i ", index / 3600 % 24, index / 60 % 60,
                  index % 60);
    line.insert(0, stamp);
    if (index % 2000 == 0) line.insert(0, "\a");
    text += line;
  }
  *lineCount = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return text;
}

void writeFolder(const TempFolder& folder, u_short port) {
  namespace fs = std::filesystem;
  fs::create_directories(folder.file("Plugins"));
  fs::create_directories(folder.file("Events"));
  fs::copy_file(std::string(BENCH_PLUGINS_DIR) + "/QuietMain.vma",
                folder.file("Plugins/QuietMain.vma"));
  for (const char* module : kFilters)
    fs::copy_file(module, folder.file("Plugins/") + fs::path(module).filename().string());
  fs::copy_file(NEVCHAT_EVENTS_FILE, folder.file("Events/nevchat.evt"));
  folder.write("Vornith.ini",
               "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n"
               "[bench]\nAutoconnect=On\nServer0=127.0.0.1:" + std::to_string(port) +
                   "\nRegExpr=nevchat.evt\nMain=QuietMain\nInout=NevLine NvtFilter NevTimeStamp\n");
  folder.write("Plugs.ini", "[bench]\nNevTimeStamp State=1\nNevLine Tab2Space=1\n");
}

}  // namespace

int main(int argc, char** argv) {
  return loopbench::runLinePathBench(argc, argv, writeFolder, corpusText);
}
