// The host's line path end to end, headless: a loopback server floods one client with a
// fixed-seed corpus; lines go through an in/out plug-in that changes nothing, the sample events
// file and a main plug-in that does nothing, with the client's log on. Prints lines per second
// and the memory used along the way.
#include <algorithm>
#include <filesystem>
#include <string>

#include "bench/LoopBench.h"
#include "host/tests/EventCorpus.h"

namespace {

// The corpus and the number of lines the client sees at least: one per line feed (a prompt
// without one joins the line after it; a chunk boundary can only add lines).
std::string corpusText(int* lineCount) {
  std::string text;
  for (const std::string& line : EventCorpus(20240605).lines(20000)) text += line;
  *lineCount = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return text;
}

void writeFolder(const TempFolder& folder, u_short port) {
  namespace fs = std::filesystem;
  fs::create_directories(folder.file("Plugins"));
  fs::create_directories(folder.file("Events"));
  for (const char* plugin : {"QuietMain.vma", "QuietInout.vio"})
    fs::copy_file(std::string(BENCH_PLUGINS_DIR) + "/" + plugin, folder.file("Plugins/") + plugin);
  fs::copy_file(std::string(VORNITH_BENCH_DIR) + "/chat.events", folder.file("Events/chat.events"));
  folder.write("Vornith.ini",
               "[System]\nPlugins Directory=.\\Plugins\nEvents Directory=.\\Events\n"
               "[bench]\nAutoconnect=On\nServer0=127.0.0.1:" +
                   std::to_string(port) +
                   "\nRegExpr=chat.events\nMain=QuietMain\nInout=QuietInout\n");
}

}  // namespace

int main(int argc, char** argv) {
  return loopbench::runLinePathBench(argc, argv, writeFolder, corpusText);
}
