// The alert options (seven named rows with their defaults) and the watched words, read from
// and written to a settings store under the "Vaware" keys. Each session keeps its own.
#pragma once

#include <string>
#include <vector>

#include "plugins/SettingsForm/SettingsStore.h"

class AlertOptions {
 public:
  enum RowType { BoolRow, IntRow, TextRow };
  static const int kRowCount = 7;
  static const int kTextSize = 1024;
  struct Row {
    const char* name;
    RowType type;
    int number;             // bool rows: 0 or 1
    char text[kTextSize];  // text rows
  };

  AlertOptions();

  // Look-ups by exact row name; an unknown name gives false, 0 or null.
  bool getBool(const char* name) const;
  int getInt(const char* name) const;
  const char* getString(const char* name) const;

  Row& row(int index) { return rows_[index]; }
  const Row& row(int index) const { return rows_[index]; }
  // Copies at most kTextSize-1 bytes.
  void setText(int index, const char* text);

  std::vector<std::string>& words() { return words_; }
  const std::vector<std::string>& words() const { return words_; }

  // Reading starts from the values held now (the defaults at first) and empties the words.
  void read(SettingsStore& store);
  // Rows, then the count and the words in order; keys of a longer old list stay.
  void write(SettingsStore& store) const;

 private:
  const Row* find(const char* name) const;

  Row rows_[kRowCount];
  std::vector<std::string> words_;
};
