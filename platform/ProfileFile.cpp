// Parsing and editing of profile files. Each line keeps its own bytes, grouped by section, so
// an edit changes only the lines it names and costs what that section costs.
#include "platform/ProfileFile.h"

#include <algorithm>
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

ProfileFile::ProfileFile(const std::string& content) : blocks_(1), newline_("\n") {
  size_t pos = 0;
  while (pos < content.size()) {
    size_t end = content.find('\n', pos);
    end = (end == std::string::npos) ? content.size() : end + 1;
    Line line = parseLine(content.substr(pos, end - pos), pos == 0);
    if (line.kind == Kind::Section) blocks_.emplace_back();
    blocks_.back().lines.push_back(std::move(line));
    pos = end;
  }
  size_t firstEnd = content.find('\n');
  if (firstEnd != std::string::npos && firstEnd > 0 && content[firstEnd - 1] == '\r')
    newline_ = "\r\n";
}

std::string ProfileFile::text() const {
  std::string out;
  for (const Block& block : blocks_)
    for (const Line& line : block.lines) out += line.text;
  return out;
}

ProfileFile::Line ProfileFile::parseLine(std::string text, bool fileStart) {
  Line line{std::move(text), Kind::Other, 0, 0, 0, 0};
  const std::string& t = line.text;
  size_t s = 0, e = t.size();
  // An editor's UTF-8 byte order mark must not hide the first section.
  if (fileStart && t.compare(0, 3, "\xEF\xBB\xBF") == 0) s = 3;
  while (s < e && isBlank(t[s])) ++s;
  while (e > s && isBlank(t[e - 1])) --e;
  if (s == e || t[s] == ';') return line;
  std::string_view content(t.data() + s, e - s);
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
    while (v < e && isBlank(t[v])) ++v;
    line.valueStart = v;
    line.valueSize = e - v;
  }
  while (s < nameEnd && isBlank(t[s])) ++s;
  while (nameEnd > s && isBlank(t[nameEnd - 1])) --nameEnd;
  line.nameStart = s;
  line.nameSize = nameEnd - s;
  return line;
}

std::string_view ProfileFile::name(const Line& line) {
  return std::string_view(line.text.data() + line.nameStart, line.nameSize);
}

size_t ProfileFile::findSection(std::string_view sectionName) const {
  if (!indexed_) {
    sectionIndex_.clear();
    for (size_t i = 1; i < blocks_.size(); ++i)
      sectionIndex_.emplace(lowered(name(blocks_[i].lines[0])), i);
    indexed_ = true;
  }
  auto found = sectionIndex_.find(lowered(sectionName));
  return found != sectionIndex_.end() ? found->second : npos;
}

size_t ProfileFile::findKey(const Block& block, std::string_view key) {
  for (size_t i = 1; i < block.lines.size(); ++i)
    if (block.lines[i].kind == Kind::Key && equalsIgnoringCase(name(block.lines[i]), key)) return i;
  return npos;
}

bool ProfileFile::findValue(const char* section, const char* key, std::string& value) const {
  size_t block = findSection(trimmed(section));
  if (block == npos) return false;
  size_t line = findKey(blocks_[block], trimmed(key));
  if (line == npos) return false;
  const Line& found = blocks_[block].lines[line];
  value = withoutQuotes(std::string_view(found.text.data() + found.valueStart, found.valueSize));
  return true;
}

// Sections spelt differently are listed apart (each a client of its own), even when they differ
// only in case; an exact repeat is listed once.
std::string ProfileFile::sectionList() const {
  std::string list;
  std::set<std::string> seen;
  for (size_t i = 1; i < blocks_.size(); ++i) {
    std::string_view sectionName = name(blocks_[i].lines[0]);
    if (!seen.insert(std::string(sectionName)).second) continue;
    list += sectionName;
    list += '\0';
  }
  return list;
}

std::string ProfileFile::keyList(const char* section) const {
  std::string list;
  size_t block = findSection(trimmed(section));
  if (block == npos) return list;
  std::set<std::string> seen;
  for (const Line& line : blocks_[block].lines) {
    if (line.kind != Kind::Key || !seen.insert(lowered(name(line))).second) continue;
    list += name(line);
    list += '\0';
  }
  return list;
}

// The line ahead of position index of block, looking back through earlier blocks; null at the
// start of the file.
ProfileFile::Line* ProfileFile::lineBefore(size_t block, size_t index) {
  for (;;) {
    if (index > 0) return &blocks_[block].lines[index - 1];
    if (block == 0) return nullptr;
    --block;
    index = blocks_[block].lines.size();
  }
}

// Only the last line can lack a line end; it gets one so that a line put after it stands
// alone. False at the start of the file.
bool ProfileFile::endLineBefore(size_t block, size_t index) {
  Line* before = lineBefore(block, index);
  if (before && !before->text.empty() && before->text.back() != '\n') before->text += newline_;
  return before != nullptr;
}

void ProfileFile::insertLine(size_t block, size_t index, const std::string& content) {
  bool fileStart = !endLineBefore(block, index);
  std::vector<Line>& lines = blocks_[block].lines;
  lines.insert(lines.begin() + static_cast<long>(index), parseLine(content + newline_, fileStart));
}

void ProfileFile::appendSection(const std::string& sectionName) {
  blocks_.emplace_back();
  endLineBefore(blocks_.size() - 1, 0);
  blocks_.back().lines.push_back(parseLine("[" + sectionName + "]" + newline_, false));
  if (indexed_) sectionIndex_.emplace(lowered(name(blocks_.back().lines[0])), blocks_.size() - 1);
}

bool ProfileFile::setValue(const char* section, const char* key, const char* value) {
  std::string sectionName = trimmed(section), keyName = trimmed(key);
  std::string newValue = firstLine(value);
  size_t block = findSection(sectionName);
  if (block == npos) {
    appendSection(sectionName);
    insertLine(blocks_.size() - 1, 1, keyName + "=" + newValue);
    return true;
  }
  std::vector<Line>& lines = blocks_[block].lines;
  size_t line = findKey(blocks_[block], keyName);
  if (line != npos) {
    // Only the value changes: the key keeps its spelling and the line its line end.
    Line& found = lines[line];
    std::string& t = found.text;
    size_t from = t.find('=', found.nameStart) + 1, to = t.size();
    if (to > from && t[to - 1] == '\n') --to;
    if (to > from && t[to - 1] == '\r') --to;
    if (t.compare(from, to - from, newValue) == 0) return false;
    t.replace(from, to - from, newValue);
    found = parseLine(std::move(t), block == 0 && line == 0);
    return true;
  }
  // New keys go after the section's last key, ahead of blank lines and comments that lead
  // into the next section.
  size_t at = 1;
  for (size_t i = 1; i < lines.size(); ++i)
    if (lines[i].kind == Kind::Key) at = i + 1;
  insertLine(block, at, keyName + "=" + newValue);
  return true;
}

bool ProfileFile::deleteKey(const char* section, const char* key) {
  size_t block = findSection(trimmed(section));
  if (block == npos) return false;
  std::string keyName = trimmed(key);
  std::vector<Line>& lines = blocks_[block].lines;
  size_t before = lines.size();
  lines.erase(std::remove_if(lines.begin() + 1, lines.end(),
                             [&](const Line& line) {
                               return line.kind == Kind::Key &&
                                      equalsIgnoringCase(name(line), keyName);
                             }),
              lines.end());
  return lines.size() != before;
}

bool ProfileFile::deleteSection(const char* section) {
  std::string sectionName = trimmed(section);
  size_t before = blocks_.size();
  indexed_ = false;  // the blocks after it move
  blocks_.erase(std::remove_if(blocks_.begin() + 1, blocks_.end(),
                               [&](const Block& block) {
                                 return equalsIgnoringCase(name(block.lines[0]), sectionName);
                               }),
                blocks_.end());
  return blocks_.size() != before;
}

bool ProfileFile::replaceSection(const char* section, const std::vector<std::string>& entries) {
  std::string sectionName = trimmed(section);
  size_t block = findSection(sectionName);
  if (block == npos) {
    appendSection(sectionName);
    block = blocks_.size() - 1;
  }
  // Blank lines stay (they separate sections); everything else of the section goes.
  std::vector<Line>& lines = blocks_[block].lines;
  lines.erase(std::remove_if(lines.begin() + 1, lines.end(),
                             [](const Line& line) { return !trimmed(line.text).empty(); }),
              lines.end());
  for (size_t i = 0; i < entries.size(); ++i) insertLine(block, 1 + i, firstLine(entries[i]));
  return true;
}

}  // namespace vornplatform
