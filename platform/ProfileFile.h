// The lines of one profile (INI) file: finds sections and keys ignoring case, edits them and
// gives the text back with every untouched line byte for byte. Internal to platform/.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vornplatform {

class ProfileFile {
 public:
  explicit ProfileFile(std::string content);

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

  const std::string& text() const { return text_; }

 private:
  enum class Kind { Other, Section, Key };
  // Offsets into text_: the whole line with its line end, its name and its value.
  struct Line {
    size_t start, end;
    Kind kind;
    size_t nameStart, nameSize, valueStart, valueSize;
  };
  static const size_t npos = static_cast<size_t>(-1);

  void parse();
  Line parseLine(size_t start, size_t end) const;
  std::string_view name(const Line& line) const;
  size_t findSection(std::string_view name) const;
  size_t sectionEnd(size_t header) const;
  size_t findKey(size_t header, std::string_view key) const;
  size_t offsetOf(size_t index) const;
  void splice(size_t from, size_t to, const std::string& replacement);
  void insertLine(size_t index, const std::string& content);

  std::string text_;
  std::vector<Line> lines_;
  std::string newline_;  // "\r\n" when the file's first line ends so, else "\n"
};

// ASCII-only helpers shared with the API functions (never the process locale).
std::string trimmed(std::string_view text);

}  // namespace vornplatform
