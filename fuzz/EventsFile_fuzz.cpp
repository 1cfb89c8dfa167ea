// Arbitrary bytes as an events file: loading must report and skip whatever it cannot use,
// never read outside its line buffer, and the events it keeps must match lines safely.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/EventConsole.h"
#include "host/EventList.h"
#include "host/EventsFile.h"

namespace {

// Keeps the reports' formatting in the run without writing them anywhere.
class QuietConsole : public EventConsole {
 public:
  void setColor(int, int, int) override {}
  void print(const char* text) override { printed += text[0] != '\0'; }
  long printed = 0;
};

// Never freed, so the exit handler that removes the folder can still read it.
const std::string& eventsPath() {
  static const std::string* path = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "vornfuzzXXXXXX").string();
    if (!mkdtemp(&folder[0])) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(std::filesystem::path(eventsPath()).parent_path(), ignored);
    });
    return new std::string(folder + "/Fuzz.events");
  }();
  return *path;
}

const char* const Lines[] = {
    "Mira tells you: hello there\n",
    "<Zed> hi all\r\n",
    "You join the channel Dessin\n",
    "Password: ",
    "",
    "\n",
    "\xff\xfe odd bytes \x80\n",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(eventsPath().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  QuietConsole console;
  EventList list(&console);
  loadEventsFile(list, eventsPath().c_str());
  EventRecord event;
  for (const char* line : Lines) {
    list.match(line, event);
    for (int i = 0; i < 2 * event.count; ++i)
      if (!event.vars[i]) std::abort();
  }
  list.hasEvent("tell");
  return 0;
}
