// Parsing and editing of profile files. Lines are offsets into the text, so a read makes no
// copies, and an edit splices the text so that every other byte stays as it was.
#include "platform/ProfileFile.h"

#include <set>

namespace vornplatform {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

std::string_view withoutQuotes(std::string_view value) {
  size_t n = value.size();
  if (n >= 2 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0])
    return value.substr(1, n - 2);
  return value;
}

// The text up to the first line break: a value never spills onto a line of its own.
std::string firstLine(std::string_view text) {
  return std::string(text.substr(0, text.find_first_of("\r\n")));
}

}  // namespace

std::string trimmed(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

ProfileFile::ProfileFile(std::string content) : text_(std::move(content)), newline_("\n") {
  parse();
  if (!lines_.empty() && lines_[0].end >= 2 && text_.compare(lines_[0].end - 2, 2, "\r\n") == 0)
    newline_ = "\r\n";
}

void ProfileFile::parse() {
  lines_.clear();
  size_t pos = 0;
  while (pos < text_.size()) {
    size_t end = text_.find('\n', pos);
    end = (end == std::string::npos) ? text_.size() : end + 1;
    lines_.push_back(parseLine(pos, end));
    pos = end;
  }
}

ProfileFile::Line ProfileFile::parseLine(size_t start, size_t end) const {
  Line line{start, end, Kind::Other, 0, 0, 0, 0};
  size_t s = start, e = end;
  // An editor's UTF-8 byte order mark must not hide the first section.
  if (s == 0 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0) s = 3;
  while (s < e && isBlank(text_[s])) ++s;
  while (e > s && isBlank(text_[e - 1])) --e;
  if (s == e || text_[s] == ';') return line;
  std::string_view content(text_.data() + s, e - s);
  size_t nameEnd;
  if (content[0] == '[') {
    // The last ']' closes the name, so a name holding ']' still reads back as written.
    line.kind = Kind::Section;
    size_t close = content.rfind(']');
    nameEnd = (close == 0 || close == std::string_view::npos) ? e : s + close;
    ++s;
  } else {
    size_t equals = content.find('=');
    if (equals == std::string_view::npos || equals == 0) return line;
    line.kind = Kind::Key;
    nameEnd = s + equals;
    size_t v = nameEnd + 1;
    while (v < e && isBlank(text_[v])) ++v;
    line.valueStart = v;
    line.valueSize = e - v;
  }
  while (s < nameEnd && isBlank(text_[s])) ++s;
  while (nameEnd > s && isBlank(text_[nameEnd - 1])) --nameEnd;
  line.nameStart = s;
  line.nameSize = nameEnd - s;
  return line;
}

std::string_view ProfileFile::name(const Line& line) const {
  return std::string_view(text_.data() + line.nameStart, line.nameSize);
}

size_t ProfileFile::findSection(std::string_view sectionName) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && equalsIgnoringCase(name(lines_[i]), sectionName))
      return i;
  return npos;
}

size_t ProfileFile::sectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

size_t ProfileFile::findKey(size_t header, std::string_view key) const {
  size_t end = sectionEnd(header);
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key && equalsIgnoringCase(name(lines_[i]), key)) return i;
  return npos;
}

bool ProfileFile::findValue(const char* section, const char* key, std::string& value) const {
  size_t header = findSection(trimmed(section));
  if (header == npos) return false;
  size_t line = findKey(header, trimmed(key));
  if (line == npos) return false;
  const Line& found = lines_[line];
  value = withoutQuotes(std::string_view(text_.data() + found.valueStart, found.valueSize));
  return true;
}

// Sections spelt differently are listed apart (each a client of its own), even when they differ
// only in case; an exact repeat is listed once.
std::string ProfileFile::sectionList() const {
  std::string list;
  std::set<std::string> seen;
  for (const Line& line : lines_) {
    if (line.kind != Kind::Section || !seen.insert(std::string(name(line))).second) continue;
    list += name(line);
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
    if (lines_[i].kind != Kind::Key || !seen.insert(lowered(name(lines_[i]))).second) continue;
    list += name(lines_[i]);
    list += '\0';
  }
  return list;
}

// Where line index starts; the end of the text for the index past the last line.
size_t ProfileFile::offsetOf(size_t index) const {
  return index < lines_.size() ? lines_[index].start : text_.size();
}

void ProfileFile::splice(size_t from, size_t to, const std::string& replacement) {
  text_.replace(from, to - from, replacement);
  parse();
}

void ProfileFile::insertLine(size_t index, const std::string& content) {
  size_t at = offsetOf(index);
  // Only the last line can lack a line end; it gets one so the new line stands alone.
  std::string prefix = (at > 0 && text_[at - 1] != '\n') ? newline_ : std::string();
  splice(at, at, prefix + content + newline_);
}

bool ProfileFile::setValue(const char* section, const char* key, const char* value) {
  std::string sectionName = trimmed(section), keyName = trimmed(key);
  std::string newValue = firstLine(value);
  size_t header = findSection(sectionName);
  if (header == npos) {
    insertLine(lines_.size(), "[" + sectionName + "]");
    insertLine(lines_.size(), keyName + "=" + newValue);
    return true;
  }
  size_t line = findKey(header, keyName);
  if (line != npos) {
    // Only the value changes: the key keeps its spelling and the line its line end.
    const Line& found = lines_[line];
    size_t from = text_.find('=', found.nameStart) + 1, to = found.end;
    if (to > from && text_[to - 1] == '\n') --to;
    if (to > from && text_[to - 1] == '\r') --to;
    if (text_.compare(from, to - from, newValue) == 0) return false;
    splice(from, to, newValue);
    return true;
  }
  // New keys go after the section's last key, ahead of blank lines and comments that lead
  // into the next section.
  size_t at = header + 1, end = sectionEnd(header);
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key) at = i + 1;
  insertLine(at, keyName + "=" + newValue);
  return true;
}

bool ProfileFile::deleteKey(const char* section, const char* key) {
  size_t header = findSection(trimmed(section));
  if (header == npos) return false;
  std::string keyName = trimmed(key);
  bool changed = false;
  for (size_t line; (line = findKey(header, keyName)) != npos; changed = true)
    splice(lines_[line].start, lines_[line].end, std::string());
  return changed;
}

bool ProfileFile::deleteSection(const char* section) {
  std::string sectionName = trimmed(section);
  bool changed = false;
  for (size_t header; (header = findSection(sectionName)) != npos; changed = true)
    splice(lines_[header].start, offsetOf(sectionEnd(header)), std::string());
  return changed;
}

bool ProfileFile::replaceSection(const char* section, const std::vector<std::string>& entries) {
  std::string sectionName = trimmed(section);
  size_t header = findSection(sectionName);
  if (header == npos) {
    insertLine(lines_.size(), "[" + sectionName + "]");
    header = lines_.size() - 1;
  }
  // Blank lines stay (they separate sections); everything else of the section goes.
  for (size_t i = sectionEnd(header); i > header + 1; --i) {
    const Line& line = lines_[i - 1];
    if (!trimmed(std::string_view(text_.data() + line.start, line.end - line.start)).empty())
      splice(line.start, line.end, std::string());
  }
  for (size_t i = 0; i < entries.size(); ++i) insertLine(header + 1 + i, firstLine(entries[i]));
  return true;
}

}  // namespace vornplatform
