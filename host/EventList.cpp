// The events of one client: named patterns tried in the order they were added, the first that
// matches a line naming it.
#include "host/EventList.h"
#include "lib/TextCopy.h"

#include <cstring>

#include "host/EventConsole.h"

namespace {

const char* const UnknownEvent = "[Unknown]";

bool equalsIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return false;
    if (!ca) return true;
  }
}

// Unlocks on every way out of the scope.
class ListLock {
 public:
  explicit ListLock(CriticalSection& section) : section_(section) { section_.enter(); }
  ~ListLock() { section_.leave(); }

 private:
  CriticalSection& section_;
};

}  // namespace

EventList::EventList() : console_(SystemEventConsole::instance()) {}

EventList::EventList(EventConsole* console) : console_(console) {}

EventList::~EventList() { clear(); }

void EventList::freeEntry(EventEntry* entry) {
  freeRegExpr(entry->regExpr);
  delete[] entry->name;
  delete[] entry->pattern;
  delete entry;
}

void EventList::clear() {
  while (ListNode<EventEntry*>* node = entries_.headNode()) {
    EventEntry* entry = node->value;
    entries_.removeEnd(true);
    freeEntry(entry);
  }
  count_ = 0;
}

bool EventList::addEvent(const char* name, const char* pattern) {
  EventEntry* entry = new EventEntry;
  entry->name = copyTextOrEmpty(name);
  entry->pattern = copyTextOrEmpty(pattern);
  if (compileRegExpr(entry->regExpr, entry->pattern) != 1) {
    if (console_) {
      console_->printColored(128, 0, 0, "Event Error : Invalid regexpr !\n");
      console_->printColored(0, 0, 0, "- Name  : %s\n", entry->name);
      console_->printColored(0, 0, 0, "- Event : %s\n", entry->pattern);
      console_->printColored(0, 0, 128, "=> %s\n\n", getRegExprError(entry->regExpr));
    }
    freeEntry(entry);
    return false;
  }
  entry->prefilter.build(entry->regExpr);
  if (entry->prefilter.active())
    entry->probe =
        BigramSketch::probeFor(entry->prefilter.literal(), entry->prefilter.literalLength());
  entries_.add(entry, false);
  ++count_;
  return true;
}

EventEntry* EventList::entryAt(int index) {
  int i = 0;
  for (ListNode<EventEntry*>* node = entries_.headNode(); node; node = node->next, ++i)
    if (i == index) return node->value;
  return nullptr;
}

bool EventList::hasEvent(const char* name) {
  if (!name) return false;
  ListLock lock(*this);
  for (ListNode<EventEntry*>* node = entries_.headNode(); node; node = node->next)
    if (equalsIgnoringCase(node->value->name, name)) return true;
  return false;
}

const char* EventList::match(const char* line, EventRecord& out) {
  ListLock lock(*this);
  EventEntry* winner = nullptr;
  size_t length = line ? std::strlen(line) : 0;
  // One pass over the line rules out most events' literals for a few bit tests each.
  BigramSketch sketch;
  if (prefiltering_) sketch.build(line, length);
  for (ListNode<EventEntry*>* node = entries_.headNode(); node && !winner; node = node->next) {
    EventEntry* entry = node->value;
    if (prefiltering_ &&
        (!sketch.mayHold(entry->probe) || !entry->prefilter.mayMatch(line, length)))
      continue;
    int result = matchRegExpr(entry->regExpr, line);
    if (result == 1) {
      winner = entry;
    } else if (result == 2 && console_) {
      console_->printColored(64, 0, 128, "Warning : Event '%s' invalid \n", entry->name);
      console_->printColored(64, 0, 128, " -> Error : %s\n", getRegExprError(entry->regExpr));
    }
  }
  out.setFromMatch(line, winner ? &winner->regExpr : nullptr);
  return winner ? winner->name : UnknownEvent;
}
