// One event's share of the chat output, kept so a search can find the event's line again and
// mark it where the event put it.
#pragma once

struct HistoryRecord {
  char* text = nullptr;  // heap copy of the event's whole line
  int start = 0;         // character position in the output where the event's text begins
  int length = 0;        // characters the event added
};

// The same record: the same line copy at the same place.
inline bool operator==(const HistoryRecord& a, const HistoryRecord& b) {
  return a.text == b.text && a.start == b.start && a.length == b.length;
}
