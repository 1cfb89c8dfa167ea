// The search through a chat output: the lines that events added, record by record, with the
// current search text, the last hit and the wrap to the first (or last) record.
#pragma once

#include <string>
#include <vector>

class OutputSearch {
 public:
  enum Result { Cleared, Empty, Found, NotFound };

  void add(const char* text, int start, int length);
  void clearRecords();
  int recordCount() const { return static_cast<int>(records.size()); }

  // No text clears the search. A text other than the current one (case ignored) starts at
  // the first record (forward) or the last; the same text goes on after the last hit. The
  // scan wraps once.
  Result find(const char* text, bool forward);

  // The search text, trimmed and in lower case ("" for none).
  const char* text() const { return current.c_str(); }
  bool hasHit() const { return hitRecord >= 0; }
  // The hit in the output: the record's start plus the offset in its line.
  int hitStart() const;
  int hitLength() const { return static_cast<int>(current.size()); }

 private:
  struct Record {
    std::string text;  // lower case
    int start;
    int length;
  };
  int scan(int from, int to, int step);

  std::vector<Record> records;
  std::string current;
  int hitRecord = -1;
  int hitOffset = 0;
};
