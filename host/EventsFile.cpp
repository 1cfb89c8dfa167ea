// The events-file loader: a "[VARS]" section of reusable pattern pieces, then an "[EVENTS]"
// section of event definitions, each line "name = item + item ..." (quoted text or variable).
#include "host/EventsFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/CompiledEvents.h"
#include "host/EventConsole.h"
#include "host/EventList.h"
#include "lib/HashTable.h"
#include "lib/String.h"
#include "platform/win32_files.h"

namespace {

struct Variable {
  char* name;
  char* text;
};

// Variables of one load. The hash only picks the bucket: two names are the same variable
// only when they are equal, so names that share a hash stay apart.
class VariableTable {
 public:
  ~VariableTable() {
    table_.forEach([](HashEntry<Variable*>& entry) {
      delete[] entry.value->name;
      delete[] entry.value->text;
      delete entry.value;
    });
  }

  const char* find(const char* name) {
    int key = hashString(name);
    const char* found = nullptr;
    // Newer entries sit first in a bucket, but a name is stored once, so any order will do.
    table_.forEach([&](HashEntry<Variable*>& entry) {
      if (!found && entry.key == key && std::strcmp(entry.value->name, name) == 0)
        found = entry.value->text;
    });
    return found;
  }

  void add(const char* name, const char* text) {
    Variable* variable = new Variable{copy(name), copy(text)};
    table_.add(hashString(name), variable);
  }

 private:
  static char* copy(const char* text) {
    size_t length = std::strlen(text);
    char* result = new char[length + 1];
    std::memcpy(result, text, length + 1);
    return result;
  }

  HashTable<Variable*> table_;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

bool startsWithIgnoringCase(const char* line, const char* prefix) {
  for (; *prefix; ++line, ++prefix)
    if (std::toupper(static_cast<unsigned char>(*line)) != static_cast<unsigned char>(*prefix))
      return false;
  return true;
}

const char* skipBlanks(const char* p) {
  while (isBlank(*p)) ++p;
  return p;
}

void reportFileError(EventConsole* console, const char* fmt, const char* path) {
  if (!console) return;
  console->printColored(128, 0, 0, "Event File Error : ");
  console->printColored(0, 0, 0, fmt, path);
}

enum class ParseResult { Nothing, Definition, Fault };

// Variables can double each other's text line after line; these bounds keep a small hostile
// file from taking gigabytes. One definition's text, everything one load keeps, and the file.
const int kMaxDefinitionLength = 65536;
const long kMaxLoadLength = 16L * 1024 * 1024;
const size_t kMaxFileLength = 16u * 1024 * 1024;

// Parses a file's text (already read) into compiled events.
class EventsFileParser {
 public:
  EventsFileParser(CompiledEvents& events, EventConsole* console, const char* path,
                   const std::string& text)
      : events_(events), console_(console), path_(path), text_(text) {}

  // Whether the text starts with a section header; its definitions are in events_ either way.
  bool parse();

 private:
  // The next line as fgets would give it from the file: at most 4095 bytes, its line feed
  // included; false at the end of the text.
  bool nextLine();
  void parseLines();
  void handleDefinition();
  ParseResult parseDefinition();
  // Reads one item at p into data_; returns where it ends, or null after a report.
  const char* parseItem(const char* p);
  // Appends to data_ unless the definition grows past its bound (then reports, false).
  bool appendData(const char* text, int length);
  void reportLine(const char* message);
  void reportFile(const char* fmt);

  CompiledEvents& events_;
  EventConsole* console_;
  const char* path_;
  const std::string& text_;
  size_t at_ = 0;
  char line_[4096];
  bool inEvents_ = false;
  VariableTable variables_;
  String name_;
  String data_;
  long kept_ = 0;  // text of the variables and events stored so far
};

void EventsFileParser::reportFile(const char* fmt) { reportFileError(console_, fmt, path_); }

void EventsFileParser::reportLine(const char* message) {
  if (!console_) return;
  console_->printColored(128, 0, 0, "Event File Error : %s (file : %s) :\n", message, path_);
  console_->printColored(64, 64, 64, " -> %s", line_);
  console_->setColor(0, 0, 0);
  console_->print("The syntax is : \"<name> = <data>\"\n");
  console_->print(" <name> must be alphanumeric.\n");
  console_->print(" <data> is an sum (using '+') of <item> used to define a regular expression\n");
  console_->print(" <item> is either a string (eg : \"...\") either a variable name\n");
  console_->print("Example : topic = nev + \"([^ ]+):(nick) tells you ?: (.*):(text)$\"\n");
}

bool EventsFileParser::nextLine() {
  if (at_ >= text_.size()) return false;
  size_t length = std::min(text_.size() - at_, sizeof line_ - 1);
  const void* feed = std::memchr(text_.data() + at_, '\n', length);
  if (feed) length = static_cast<size_t>(static_cast<const char*>(feed) - (text_.data() + at_)) + 1;
  std::memcpy(line_, text_.data() + at_, length);
  line_[length] = '\0';
  at_ += length;
  return true;
}

bool EventsFileParser::parse() {
  if (!nextLine()) return false;
  if (startsWithIgnoringCase(line_, "[EVENTS]")) {
    inEvents_ = true;
  } else if (!startsWithIgnoringCase(line_, "[VARS]")) {
    reportFile("%s is not a events file.\n");
    return false;
  }
  parseLines();
  return true;
}

void EventsFileParser::parseLines() {
  while (nextLine()) {
    if (!inEvents_ && startsWithIgnoringCase(line_, "[EVENTS]")) {
      inEvents_ = true;
      continue;
    }
    if (parseDefinition() == ParseResult::Definition) handleDefinition();
  }
}

void EventsFileParser::handleDefinition() {
  if (kept_ + data_.length() > kMaxLoadLength) {
    reportLine("Too many definitions : the file's expanded text passes 16 MB");
    return;
  }
  kept_ += data_.length();
  if (inEvents_) {
    events_.add(name_.text(), data_.text(), console_);
  } else if (variables_.find(name_.text())) {
    String message("Variable '");
    message.append(name_).append("' : redifinition");
    reportLine(message.text());
  } else {
    variables_.add(name_.text(), data_.text());
  }
}

ParseResult EventsFileParser::parseDefinition() {
  const char* p = skipBlanks(line_);
  if (*p == '\n' || *p == ';' || (p[0] == '/' && p[1] == '/')) return ParseResult::Nothing;
  const char* nameStart = p;
  while (isNameChar(*p)) ++p;
  name_.assign(nameStart, static_cast<int>(p - nameStart));
  p = skipBlanks(p);
  if (*p != '=') {
    reportLine("Invalid line, '=' not found");
    return ParseResult::Fault;
  }
  data_.assign("");
  do {
    p = parseItem(skipBlanks(p + 1));
    if (!p) return ParseResult::Fault;
    p = skipBlanks(p);
  } while (*p == '+');
  if (*p != '\n') {
    reportLine("Invalid line ... Missing '+' or <eol>");
    return ParseResult::Fault;
  }
  return ParseResult::Definition;
}

const char* EventsFileParser::parseItem(const char* p) {
  if (*p == '"') {
    const char* start = ++p;
    bool escaped = false;
    for (; *p && (escaped || *p != '"'); ++p) escaped = !escaped && *p == '/';
    if (!*p) {
      reportLine("End of string not found !");
      return nullptr;
    }
    return appendData(start, static_cast<int>(p - start)) ? p + 1 : nullptr;
  }
  const char* start = p;
  while (isNameChar(*p)) ++p;
  String name;
  name.assign(start, static_cast<int>(p - start));
  const char* text = variables_.find(name.text());
  if (!text) {
    String message("Unknown variable '");
    message.append(name).append("'");
    reportLine(message.text());
    return nullptr;
  }
  return appendData(text, static_cast<int>(std::strlen(text))) ? p : nullptr;
}

bool EventsFileParser::appendData(const char* text, int length) {
  if (data_.length() + length > kMaxDefinitionLength) {
    String message("Definition '");
    message.append(name_).append("' : too long (more than 65536 characters)");
    reportLine(message.text());
    return false;
  }
  data_.append(text, length);
  return true;
}

// Passes the load's reports on and keeps them for the lists that later share the compile; a
// load that says too much is not kept (every list then compiles it again).
class ReportKeeper : public EventConsole {
 public:
  ReportKeeper(EventConsole* to, CompiledEvents& events) : to_(to), events_(events) {}
  void setColor(int red, int green, int blue) override {
    if (to_) to_->setColor(red, green, blue);
    keep({true, red, green, blue, std::string()});
  }
  void print(const char* text) override {
    if (to_) to_->print(text);
    keep({false, 0, 0, 0, text ? text : ""});
  }
  bool overflowed() const { return kept_ > kMaxKept; }

 private:
  static constexpr size_t kMaxKept = 1024 * 1024;
  void keep(CompiledEvents::Report report) {
    if (overflowed()) return;
    kept_ += report.text.size() + 16;
    events_.reports.push_back(std::move(report));
  }
  EventConsole* to_;
  CompiledEvents& events_;
  size_t kept_ = 0;
};

// One compile per events file, while some list uses it: the file's path and its whole text
// are the key, so a changed file is compiled again and the old compile lives on with the lists
// that still use it.
class EventsFileCache {
 public:
  std::shared_ptr<const CompiledEvents> compiled(const char* path, const std::string& text,
                                                 EventConsole* console) {
    std::lock_guard<std::mutex> guard(lock_);
    dropUnused();
    for (const Entry& entry : entries_) {
      if (entry.path != path || entry.text != text) continue;
      std::shared_ptr<const CompiledEvents> shared = entry.compiled.lock();
      if (!shared) continue;
      shared->replayReports(console);
      return shared;
    }
    auto made = std::make_shared<CompiledEvents>();
    ReportKeeper recorder(console, *made);
    EventsFileParser parser(*made, console ? &recorder : nullptr, path, text);
    made->loaded = parser.parse();
    if (console == nullptr || !recorder.overflowed()) entries_.push_back({path, text, made});
    return made;
  }

  static EventsFileCache& instance() {
    static auto* cache = new EventsFileCache;  // never destroyed: lists may outlive statics
    return *cache;
  }

 private:
  struct Entry {
    std::string path;
    std::string text;
    std::weak_ptr<const CompiledEvents> compiled;
  };
  void dropUnused() {
    for (size_t i = 0; i < entries_.size();) {
      if (entries_[i].compiled.expired()) {
        entries_[i] = std::move(entries_.back());
        entries_.pop_back();
      } else {
        ++i;
      }
    }
  }
  std::mutex lock_;
  std::vector<Entry> entries_;
};

// The file's text as text mode reads it (CR LF as LF); false when it cannot be opened. Text
// past the bound is left unread, with a report.
bool readEventsText(const char* path, std::string* text, EventConsole* console) {
  FILE* file = fopenPath(path, "r");
  if (!file) return false;
  char block[65536];
  size_t got = 0;
  while (text->size() <= kMaxFileLength && (got = std::fread(block, 1, sizeof block, file)) > 0)
    text->append(block, got);
  std::fclose(file);
  if (text->size() > kMaxFileLength) {
    text->resize(kMaxFileLength);
    reportFileError(console, "%s is bigger than 16 MB : the rest is ignored.\n", path);
  }
  return true;
}

}  // namespace

bool loadEventsFile(EventList& list, const char* path) {
  if (!path) path = "";
  // Held for the whole load, so that no match sees a list half replaced.
  list.enter();
  std::string text;
  bool loaded = false;
  if (!readEventsText(path, &text, list.console())) {
    reportFileError(list.console(), "Can't open %s.\n", path);
  } else if (text.empty()) {
    reportFileError(list.console(), "Empty file (%s).\n", path);
  } else {
    std::shared_ptr<const CompiledEvents> compiled =
        EventsFileCache::instance().compiled(path, text, list.console());
    loaded = compiled->loaded;
    list.adopt(std::move(compiled));
  }
  list.leave();
  return loaded;
}
