// The events-file loader: a "[VARS]" section of reusable pattern pieces, then an "[EVENTS]"
// section of event definitions, each line "name = item + item ..." (quoted text or variable).
#include "host/EventsFile.h"

#include <cctype>
#include <cstdio>
#include <cstring>

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

enum class ParseResult { Nothing, Definition, Fault };

// Variables can double each other's text line after line; these bounds keep a small hostile
// file from taking gigabytes. One definition's text, and everything one load keeps.
const int kMaxDefinitionLength = 65536;
const long kMaxLoadLength = 16L * 1024 * 1024;

class EventsFileParser {
 public:
  EventsFileParser(EventList& list, const char* path)
      : list_(list), console_(list.console()), path_(path) {}

  bool load();

 private:
  void parseLines(FILE* file);
  void handleDefinition();
  ParseResult parseDefinition();
  // Reads one item at p into data_; returns where it ends, or null after a report.
  const char* parseItem(const char* p);
  // Appends to data_ unless the definition grows past its bound (then reports, false).
  bool appendData(const char* text, int length);
  void reportLine(const char* message);
  void reportFile(const char* fmt);

  EventList& list_;
  EventConsole* console_;
  const char* path_;
  char line_[4096];
  bool inEvents_ = false;
  VariableTable variables_;
  String name_;
  String data_;
  long kept_ = 0;  // text of the variables and events stored so far
};

void EventsFileParser::reportFile(const char* fmt) {
  if (!console_) return;
  console_->printColored(128, 0, 0, "Event File Error : ");
  console_->printColored(0, 0, 0, fmt, path_);
}

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

bool EventsFileParser::load() {
  list_.enter();
  FILE* file = fopenPath(path_, "r");
  if (!file) {
    reportFile("Can't open %s.\n");
    list_.leave();
    return false;
  }
  bool loaded = false;
  if (!std::fgets(line_, sizeof line_, file)) {
    reportFile("Empty file (%s).\n");
  } else {
    list_.clear();
    if (startsWithIgnoringCase(line_, "[VARS]")) {
      loaded = true;
    } else if (startsWithIgnoringCase(line_, "[EVENTS]")) {
      inEvents_ = true;
      loaded = true;
    } else {
      reportFile("%s is not a events file.\n");
    }
  }
  if (loaded) parseLines(file);
  std::fclose(file);
  list_.leave();
  return loaded;
}

void EventsFileParser::parseLines(FILE* file) {
  while (std::fgets(line_, sizeof line_, file)) {
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
    list_.addEvent(name_.text(), data_.text());
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

}  // namespace

bool loadEventsFile(EventList& list, const char* path) {
  EventsFileParser parser(list, path ? path : "");
  return parser.load();
}
