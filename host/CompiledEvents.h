// The events of one events-file text compiled once: shared read-only by every event list
// loaded from that text, each of which matches with its own copy of the per-match state.
#pragma once

#include <string>
#include <vector>

#include "lib/BigramSketch.h"
#include "lib/RegExpr.h"
#include "lib/RegExprPrefilter.h"

class EventConsole;

struct CompiledEvent {
  char* name = nullptr;
  char* pattern = nullptr;     // the compiled expression points into it
  RegExpr regExpr;             // never matched itself: lists match with copies of it
  RegExprPrefilter prefilter;  // skips lines the pattern cannot match
  BigramSketch::Probe probe;   // the prefilter's literal, tested against the line's sketch
};

class CompiledEvents {
 public:
  CompiledEvents() = default;
  ~CompiledEvents();
  CompiledEvents(const CompiledEvents&) = delete;
  CompiledEvents& operator=(const CompiledEvents&) = delete;

  // Compiles and appends the event; a refused pattern is reported on console (when not null)
  // and adds nothing.
  bool add(const char* name, const char* pattern, EventConsole* console);
  int count() const { return static_cast<int>(events_.size()); }
  const CompiledEvent* at(int index) const { return events_[static_cast<size_t>(index)]; }

  // What the load of the file said on the console and answered, so that every later list
  // loaded from the same text hears the same.
  struct Report {
    bool color;  // a colour change (red, green, blue) or a text
    int red, green, blue;
    std::string text;
  };
  std::vector<Report> reports;
  bool loaded = false;
  void replayReports(EventConsole* console) const;

 private:
  std::vector<CompiledEvent*> events_;
};
