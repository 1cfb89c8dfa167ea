// Parsing and editing of profile files, kept line by line so a rewrite changes only what
// the caller asked for.
#include "platform/ProfileFile.h"

#include <set>

namespace vornplatform {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(const std::string& text) {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

std::string withoutQuotes(const std::string& value) {
  size_t n = value.size();
  if (n >= 2 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0])
    return value.substr(1, n - 2);
  return value;
}

// The text up to the first line break: a value never spills onto a line of its own.
std::string firstLine(const char* text) {
  std::string out(text);
  size_t cut = out.find_first_of("\r\n");
  if (cut != std::string::npos) out.resize(cut);
  return out;
}

}  // namespace

std::string trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

ProfileFile::ProfileFile(const std::string& content) : newline_("\n") {
  size_t pos = 0;
  while (pos < content.size()) {
    size_t end = content.find('\n', pos);
    end = (end == std::string::npos) ? content.size() : end + 1;
    lines_.push_back(parseLine(content.substr(pos, end - pos), lines_.empty()));
    pos = end;
  }
  if (!lines_.empty()) {
    const std::string& raw = lines_[0].raw;
    if (raw.size() >= 2 && raw.compare(raw.size() - 2, 2, "\r\n") == 0) newline_ = "\r\n";
  }
}

ProfileFile::Line ProfileFile::parseLine(std::string raw, bool first) {
  Line line{std::move(raw), Kind::Other, std::string(), std::string()};
  std::string content = line.raw;
  if (!content.empty() && content.back() == '\n') content.pop_back();
  // An editor's UTF-8 byte order mark must not hide the first section.
  if (first && content.compare(0, 3, "\xEF\xBB\xBF") == 0) content.erase(0, 3);
  content = trimmed(content);
  if (content.empty() || content[0] == ';') return line;
  if (content[0] == '[') {
    // The last ']' closes the name, so a name holding ']' still reads back as written.
    size_t close = content.rfind(']');
    if (close == std::string::npos) close = content.size();
    line.kind = Kind::Section;
    line.name = trimmed(content.substr(1, close - 1));
    return line;
  }
  size_t equals = content.find('=');
  if (equals == std::string::npos || equals == 0) return line;
  line.kind = Kind::Key;
  line.name = trimmed(content.substr(0, equals));
  line.value = trimmed(content.substr(equals + 1));
  return line;
}

size_t ProfileFile::findSection(const std::string& name, size_t from) const {
  for (size_t i = from; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && equalsIgnoringCase(lines_[i].name, name)) return i;
  return npos;
}

size_t ProfileFile::sectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

size_t ProfileFile::findKey(size_t header, const std::string& key) const {
  size_t end = sectionEnd(header);
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key && equalsIgnoringCase(lines_[i].name, key)) return i;
  return npos;
}

bool ProfileFile::findValue(const char* section, const char* key, std::string& value) const {
  size_t header = findSection(trimmed(section));
  if (header == npos) return false;
  size_t line = findKey(header, trimmed(key));
  if (line == npos) return false;
  value = withoutQuotes(lines_[line].value);
  return true;
}

std::string ProfileFile::sectionList() const {
  std::string list;
  std::set<std::string> seen;
  for (const Line& line : lines_) {
    if (line.kind != Kind::Section || !seen.insert(lowered(line.name)).second) continue;
    list += line.name;
    list += '\0';
  }
  return list;
}

std::string ProfileFile::keyList(const char* section) const {
  std::string list;
  size_t header = findSection(trimmed(section));
  if (header == npos) return list;
  std::set<std::string> seen;
  size_t end = sectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind != Kind::Key || !seen.insert(lowered(lines_[i].name)).second) continue;
    list += lines_[i].name;
    list += '\0';
  }
  return list;
}

// Gives the line at index a line end, so that a line can follow it.
void ProfileFile::terminate(size_t index) {
  std::string& raw = lines_[index].raw;
  if (raw.empty() || raw.back() != '\n') raw += newline_;
}

void ProfileFile::insertLine(size_t index, const std::string& content) {
  if (index > 0) terminate(index - 1);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                parseLine(content + newline_, false));
}

void ProfileFile::appendSection(const std::string& name) {
  insertLine(lines_.size(), "[" + name + "]");
}

bool ProfileFile::setValue(const char* section, const char* key, const char* value) {
  std::string name = trimmed(section), keyName = trimmed(key);
  std::string content = keyName + "=" + firstLine(value);
  size_t header = findSection(name);
  if (header == npos) {
    appendSection(name);
    insertLine(lines_.size(), content);
    return true;
  }
  size_t line = findKey(header, keyName);
  if (line != npos) {
    std::string raw = lines_[line].raw;
    size_t bodyEnd = raw.size();
    if (bodyEnd > 0 && raw[bodyEnd - 1] == '\n') --bodyEnd;
    if (bodyEnd > 0 && raw[bodyEnd - 1] == '\r') --bodyEnd;
    std::string rewritten = content + raw.substr(bodyEnd);
    if (rewritten == raw) return false;
    lines_[line] = parseLine(rewritten, false);
    return true;
  }
  // New keys go after the section's last key, ahead of blank lines and comments that lead
  // into the next section.
  size_t at = header + 1, end = sectionEnd(header);
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key) at = i + 1;
  insertLine(at, content);
  return true;
}

bool ProfileFile::deleteKey(const char* section, const char* key) {
  size_t header = findSection(trimmed(section));
  if (header == npos) return false;
  std::string keyName = trimmed(key);
  bool changed = false;
  size_t line;
  while ((line = findKey(header, keyName)) != npos) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
    changed = true;
  }
  return changed;
}

bool ProfileFile::deleteSection(const char* section) {
  std::string name = trimmed(section);
  bool changed = false;
  size_t header;
  while ((header = findSection(name)) != npos) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(header)));
    changed = true;
  }
  return changed;
}

bool ProfileFile::replaceSection(const char* section, const std::vector<std::string>& entries) {
  std::string name = trimmed(section);
  size_t header = findSection(name);
  if (header == npos) {
    appendSection(name);
    header = lines_.size() - 1;
  }
  // Blank lines stay (they separate sections); everything else of the section goes.
  size_t end = sectionEnd(header);
  for (size_t i = end; i > header + 1; --i)
    if (!trimmed(lines_[i - 1].raw).empty())
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i - 1));
  for (size_t i = 0; i < entries.size(); ++i)
    insertLine(header + 1 + i, firstLine(entries[i].c_str()));
  return true;
}

std::string ProfileFile::text() const {
  std::string out;
  for (const Line& line : lines_) out += line.raw;
  return out;
}

}  // namespace vornplatform
