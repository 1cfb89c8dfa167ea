// The search through a chat output: the lines that events added, record by record, with the
// current search text, the last hit and the wrap to the first (or last) record.
#pragma once

#include <string>
#include <vector>

#include "plugins/NevChat/HistoryRecord.h"

class OutputSearch {
 public:
  enum Result { Cleared, Empty, Found, NotFound };

  // The records are the session's history, oldest first; they grow at the end, go from the
  // front (see forgetFront), or go all at once.
  // No text clears the search. A text other than the current one (case ignored) starts at
  // the first record (forward) or the last; the same text goes on after the last hit. The
  // scan wraps once.
  Result find(const char* text, bool forward, const std::vector<const HistoryRecord*>& records);

  // The first records went with the output's first characters: the hit moves up with its
  // record, or is forgotten when its record went.
  void forgetFront(int records, int characters);

  // The search text, trimmed and in lower case ("" for none).
  const char* text() const { return current.c_str(); }
  bool hasHit() const { return hitRecord >= 0; }
  // The hit in the output: the record's start plus the offset in its line.
  int hitStart() const { return hitRecord >= 0 ? hitStartAt : -1; }
  int hitLength() const { return static_cast<int>(current.size()); }

 private:
  int scan(const std::vector<const HistoryRecord*>& records, int from, int to, int step);

  std::string current;
  int hitStartAt = 0;
  int hitRecord = -1;
  int hitOffset = 0;
};
