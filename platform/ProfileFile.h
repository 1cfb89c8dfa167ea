// The lines of one profile (INI) file: finds sections and keys ignoring case, edits them and
// gives the text back with every untouched line byte for byte. Internal to platform/.
#pragma once

#include <cstddef>
#include <string>
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
  struct Line {
    std::string raw;   // the bytes of the line, its line end included
    Kind kind;
    std::string name;  // section or key name, trimmed
    std::string value; // key's value, trimmed, quotes kept
  };
  static const size_t npos = static_cast<size_t>(-1);

  static Line parseLine(std::string raw, bool first);
  size_t findSection(const std::string& name, size_t from = 0) const;
  size_t sectionEnd(size_t header) const;
  size_t findKey(size_t header, const std::string& key) const;
  void terminate(size_t index);
  void insertLine(size_t index, const std::string& content);
  void appendSection(const std::string& name);

  std::vector<Line> lines_;
  std::string newline_;  // "\r\n" when the file's first line ends so, else "\n"
};

// ASCII-only helpers shared with the API functions (never the process locale).
bool isBlank(char c);
std::string trimmed(const std::string& text);
bool equalsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace vornplatform
