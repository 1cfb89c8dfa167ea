// The events of one client: named patterns tried in the order they were added, the first that
// matches a line naming it.
#include "host/EventList.h"

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

void EventList::clear() {
  while (ListNode<EventEntry*>* node = entries_.headNode()) {
    EventEntry* entry = node->value;
    entries_.removeEnd(true);
    freeRegExpr(entry->regExpr);
    delete entry;
  }
  count_ = 0;
  sources_.clear();
  own_.reset();
  adopted_ = nullptr;
}

void EventList::append(const CompiledEvent* compiled) {
  EventEntry* entry = new EventEntry;
  entry->name = compiled->name;
  entry->pattern = compiled->pattern;
  entry->compiled = compiled;
  entries_.add(entry, false);
  ++count_;
}

// A copy that cannot get its memory matches nothing, as a pattern that ran out of it would.
RegExpr& EventList::matchState(EventEntry* entry) {
  if (!entry->copied) {
    copyRegExpr(entry->regExpr, entry->compiled->regExpr);
    entry->copied = true;
  }
  return entry->regExpr;
}

bool EventList::addEvent(const char* name, const char* pattern) {
  if (!own_) {
    own_ = std::make_shared<CompiledEvents>();
    sources_.push_back(own_);
  }
  if (!own_->add(name, pattern, console_)) return false;
  append(own_->at(own_->count() - 1));
  return true;
}

void EventList::adopt(std::shared_ptr<const CompiledEvents> compiled) {
  clear();
  if (!compiled) return;
  for (int i = 0; i < compiled->count(); ++i) append(compiled->at(i));
  adopted_ = compiled.get();
  sources_.push_back(std::move(compiled));
}

EventEntry* EventList::entryAt(int index) {
  int i = 0;
  for (ListNode<EventEntry*>* node = entries_.headNode(); node; node = node->next, ++i)
    if (i == index) {
      matchState(node->value);
      return node->value;
    }
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
    const CompiledEvent* compiled = entry->compiled;
    if (prefiltering_ &&
        (!sketch.mayHold(compiled->probe) || !compiled->prefilter.mayMatch(line, length)))
      continue;
    int result = matchRegExpr(matchState(entry), line);
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
