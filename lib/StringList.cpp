#include "lib/StringList.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

int lowered(char c) { return std::tolower(static_cast<unsigned char>(c)); }

bool allBlank(const char* text) {
  for (; *text; ++text)
    if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
  return true;
}

bool equalIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (lowered(*a) != lowered(*b)) return false;
  return *a == *b;
}

bool startsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix)
    if (!*text || lowered(*text) != lowered(*prefix)) return false;
  return true;
}

char* copyOf(const char* text) {
  size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy) std::memcpy(copy, text, size);
  return copy;
}

}  // namespace

StringList::StringList() : first(nullptr), last(nullptr), current(nullptr) {}

StringList::~StringList() {
  while (first) {
    Entry* entry = first;
    first = entry->older;
    std::free(entry->text);
    delete entry;
  }
}

void StringList::unlink(Entry* entry) {
  (entry->newer ? entry->newer->older : first) = entry->older;
  (entry->older ? entry->older->newer : last) = entry->newer;
  entry->older = entry->newer = nullptr;
}

void StringList::pushFront(Entry* entry) {
  entry->newer = nullptr;
  entry->older = first;
  (first ? first->newer : last) = entry;
  first = entry;
}

bool StringList::add(const char* text) {
  if (!text || !*text || allBlank(text)) return false;
  Entry* entry = first;
  while (entry && !equalIgnoringCase(entry->text, text)) entry = entry->older;
  if (entry) {
    unlink(entry);
  } else {
    char* copy = copyOf(text);
    if (!copy) return false;
    entry = new (std::nothrow) Entry{copy, nullptr, nullptr};
    if (!entry) {
      std::free(copy);
      return false;
    }
  }
  pushFront(entry);
  current = nullptr;
  return true;
}

const char* StringList::currentText() const { return current ? current->text : ""; }

const char* StringList::next() {
  current = current && current->older ? current->older : first;
  return currentText();
}

const char* StringList::previous() {
  if (current) current = current->newer;
  return currentText();
}

const char* StringList::search(Entry* from, bool towardsOlder, const char* prefix) {
  if (!prefix) prefix = "";
  int misses = 0;
  for (Entry* entry = from; entry; entry = towardsOlder ? entry->older : entry->newer) {
    if (startsWithIgnoringCase(entry->text, prefix)) {
      current = entry;
      return entry->text;
    }
    if (++misses >= SearchLimit) break;
  }
  return nullptr;
}

const char* StringList::findFirst(const char* prefix) { return search(first, true, prefix); }

const char* StringList::findNext(const char* prefix) {
  return current ? search(current->older, true, prefix) : nullptr;
}

const char* StringList::findPrevious(const char* prefix) {
  return current ? search(current->newer, false, prefix) : nullptr;
}
