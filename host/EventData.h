// The host's side of the event record plug-ins read: an EventRecord owns the line and the
// variables of the record it is, and fills them from a match or from given pairs.
#pragma once

#include "sdk/EventData.h"

struct RegExpr;
class TextStream;

// Adds no data, so a record passes to a plug-in as the EventData it is; valid during the call.
class EventRecord : public EventData {
 public:
  EventRecord();
  ~EventRecord();
  EventRecord(const EventRecord&) = delete;
  EventRecord& operator=(const EventRecord&) = delete;

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

static_assert(sizeof(EventRecord) == sizeof(EventData), "a record is read as the plain data");
