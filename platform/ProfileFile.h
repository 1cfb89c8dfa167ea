// The lines of one profile (INI) file: finds sections and keys ignoring case, edits them and
// gives the text back with every untouched line byte for byte. Internal to platform/.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vornplatform {

class ProfileFile {
 public:
  explicit ProfileFile(const std::string& content);

  // The value of key in section (blanks trimmed, one pair of surrounding quotes removed).
  bool findValue(const char* section, const char* key, std::string& value) const;
  // Names, each followed by a NUL: every section once, or the keys of one section once.
  std::string sectionList() const;
  std::string keyList(const char* section) const;

  // Edits; each returns true when the text changed.
  bool setValue(const char* section, const char* key, const char* value);
  bool deleteKey(const char* section, const char* key);
  bool deleteSection(const char* section);
  // Replaces the lines of section by entries ("key=value" each), creating it when missing.
  bool replaceSection(const char* section, const std::vector<std::string>& entries);

  std::string text() const;

 private:
  enum class Kind { Other, Section, Key };
  // One line with its line end; the name and value are offsets into it.
  struct Line {
    std::string text;
    Kind kind;
    size_t nameStart, nameSize, valueStart, valueSize;
  };
  // A header and the lines up to the next one; the first block holds the lines ahead of any
  // header and has none. An edit touches one block, never the whole file.
  struct Block {
    std::vector<Line> lines;
  };
  static const size_t npos = static_cast<size_t>(-1);

  static Line parseLine(std::string text, bool fileStart);
  static std::string_view name(const Line& line);
  size_t findSection(std::string_view name) const;
  static size_t findKey(const Block& block, std::string_view key);
  Line* lineBefore(size_t block, size_t index);
  bool endLineBefore(size_t block, size_t index);
  void insertLine(size_t block, size_t index, const std::string& content);
  void appendSection(const std::string& name);

  std::vector<Block> blocks_;
  // The first block of each section name (lowered), built at the first look-up: a file with a
  // section per client is searched for every key read or written.
  mutable std::unordered_map<std::string, size_t> sectionIndex_;
  mutable bool indexed_ = false;
  std::string newline_;  // "\r\n" when the file's first line ends so, else "\n"
};

// ASCII-only helpers shared with the API functions (never the process locale).
std::string trimmed(std::string_view text);

}  // namespace vornplatform
