// The events of one events-file text compiled once, shared by the lists loaded from it.
#include "host/CompiledEvents.h"

#include "host/EventConsole.h"
#include "lib/TextCopy.h"

CompiledEvents::~CompiledEvents() {
  for (CompiledEvent* event : events_) {
    freeRegExpr(event->regExpr);
    delete[] event->name;
    delete[] event->pattern;
    delete event;
  }
}

bool CompiledEvents::add(const char* name, const char* pattern, EventConsole* console) {
  CompiledEvent* event = new CompiledEvent;
  event->name = copyTextOrEmpty(name);
  event->pattern = copyTextOrEmpty(pattern);
  if (compileRegExpr(event->regExpr, event->pattern) != 1) {
    if (console) {
      console->printColored(128, 0, 0, "Event Error : Invalid regexpr !\n");
      console->printColored(0, 0, 0, "- Name  : %s\n", event->name);
      console->printColored(0, 0, 0, "- Event : %s\n", event->pattern);
      console->printColored(0, 0, 128, "=> %s\n\n", getRegExprError(event->regExpr));
    }
    freeRegExpr(event->regExpr);
    delete[] event->name;
    delete[] event->pattern;
    delete event;
    return false;
  }
  event->prefilter.build(event->regExpr);
  if (event->prefilter.active())
    event->probe =
        BigramSketch::probeFor(event->prefilter.literal(), event->prefilter.literalLength());
  events_.push_back(event);
  return true;
}

void CompiledEvents::replayReports(EventConsole* console) const {
  if (!console) return;
  for (const Report& report : reports) {
    if (report.color)
      console->setColor(report.red, report.green, report.blue);
    else
      console->print(report.text.c_str());
  }
}
