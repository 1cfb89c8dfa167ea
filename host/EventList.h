// The events of one client: named patterns tried in the order they were added, the first that
// matches a line naming it. Filled from an events file; shared by the receive path and plug-ins.
#pragma once

#include "host/EventData.h"
#include "lib/BigramSketch.h"
#include "lib/CriticalSection.h"
#include "lib/List.h"
#include "lib/RegExpr.h"
#include "lib/RegExprPrefilter.h"

class EventConsole;

struct EventEntry {
  char* name = nullptr;
  char* pattern = nullptr;  // the compiled expression points into it
  RegExpr regExpr;
  RegExprPrefilter prefilter;  // skips lines the pattern cannot match
  BigramSketch::Probe probe;   // the prefilter's literal, tested against the line's sketch
};

class EventList : public CriticalSection {
 public:
  // Reports go to the program's system console.
  EventList();
  // Reports go to console; none are written when it is null.
  explicit EventList(EventConsole* console);
  ~EventList() override;

  // Frees every entry. Takes no lock: the loader calls it under its own.
  void clear();
  // Appends the event when its pattern compiles; otherwise reports it and adds nothing.
  bool addEvent(const char* name, const char* pattern);
  // Whether an event has that name, ignoring ASCII case.
  bool hasEvent(const char* name);
  // The name of the first event whose pattern matches the line, or "[Unknown]"; out receives
  // the line and the winner's named captures. The name stays valid until the list is reloaded.
  const char* match(const char* line, EventRecord& out);

  // Whether match consults the entries' prefilters (on by default); off, every pattern is
  // searched in full, which gives the same results more slowly.
  void setPrefiltering(bool on) { prefiltering_ = on; }

  EventConsole* console() const { return console_; }
  int count() const { return count_; }
  // The entry at index in the order added, or null; for tools that compare the patterns.
  EventEntry* entryAt(int index);

 private:
  EventList(const EventList&) = delete;
  EventList& operator=(const EventList&) = delete;

  void freeEntry(EventEntry* entry);

  EventConsole* console_;
  List<EventEntry*> entries_;
  int count_ = 0;
  bool prefiltering_ = true;
};
