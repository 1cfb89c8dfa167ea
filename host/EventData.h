// The event a line was classified as: the line itself and the variables its pattern's named
// captures gave, as name/value pairs. Passed to plug-ins by pointer, valid during the call.
#pragma once

struct RegExpr;
class TextStream;

struct EventData {
  char* text;
  int count;
  char** vars;  // 2 * count strings: name 0, value 0, name 1, value 1, ...

  EventData();
  ~EventData();
  EventData(const EventData&) = delete;
  EventData& operator=(const EventData&) = delete;

  // Frees the text, every name and value and the array; all fields back to zero.
  void clear();
  // Keeps a copy of the line and, when a pattern has just matched it, one variable per named
  // capture in the pattern's order (a capture that took no part gives "").
  void setFromMatch(const char* line, const RegExpr* regExpr);
  // Keeps a copy of text and count (name, value) pairs; the first pair given becomes the last
  // variable. Null names and values stay null.
  void set(const char* text, int count, ...);
  // Writes the variables to the stream; null names and values show as "(null)".
  void dump(TextStream* stream) const;
};
