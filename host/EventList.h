// The events of one client: named patterns tried in the order they were added, the first that
// matches a line naming it. Filled from an events file; shared by the receive path and plug-ins.
#pragma once

#include <memory>
#include <vector>

#include "host/CompiledEvents.h"
#include "host/EventData.h"
#include "lib/CriticalSection.h"
#include "lib/List.h"
#include "lib/RegExpr.h"

class EventConsole;

// One event of the list: the compiled event it was made from, and this list's own copy of the
// pattern to match with (the compiled operations are shared, the per-match state is not). The
// copy is made when the pattern is first run: most events of an idle client never are.
struct EventEntry {
  const char* name = nullptr;
  const char* pattern = nullptr;
  RegExpr regExpr;
  bool copied = false;
  const CompiledEvent* compiled = nullptr;
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
  // Replaces the entries with those of compiled, which the list keeps alive while it uses
  // them. Takes no lock: the loader calls it under its own.
  void adopt(std::shared_ptr<const CompiledEvents> compiled);
  // The compiled events the list was last filled from by adopt (null when none or cleared).
  const CompiledEvents* adopted() const { return adopted_; }
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
  // The entry at index in the order added (its pattern ready to match), or null; for tools
  // that compare the patterns.
  EventEntry* entryAt(int index);

 private:
  EventList(const EventList&) = delete;
  EventList& operator=(const EventList&) = delete;

  void append(const CompiledEvent* compiled);
  // The entry's own pattern, copied from the compiled one on first use.
  static RegExpr& matchState(EventEntry* entry);

  EventConsole* console_;
  List<EventEntry*> entries_;
  int count_ = 0;
  bool prefiltering_ = true;
  // What the entries point into: compiled lists of events files, and the list's own events.
  std::vector<std::shared_ptr<const CompiledEvents>> sources_;
  std::shared_ptr<CompiledEvents> own_;  // addEvent's, one of sources_
  const CompiledEvents* adopted_ = nullptr;
};
