// The host's side of the event record: owning the line and variables, filling them from a
// match or from given pairs, and showing them.
#include "host/EventData.h"
#include "lib/TextCopy.h"

#include <cstdarg>
#include <cstring>

#include "lib/RegExpr.h"
#include "lib/TextStream.h"

namespace {

char* copySpan(const char* start, const char* end) {
  size_t length = start && end && end > start ? static_cast<size_t>(end - start) : 0;
  char* copy = new char[length + 1];
  if (length) std::memcpy(copy, start, length);
  copy[length] = '\0';
  return copy;
}

const char* shown(const char* text) { return text ? text : "(null)"; }

}  // namespace

EventRecord::EventRecord() {
  text = nullptr;
  count = 0;
  vars = nullptr;
}

EventRecord::~EventRecord() { clear(); }

void EventRecord::clear() {
  delete[] text;
  if (vars) {
    for (int i = 0; i < 2 * count; ++i) delete[] vars[i];
    delete[] vars;
  }
  text = nullptr;
  count = 0;
  vars = nullptr;
}

void EventRecord::setFromMatch(const char* line, const RegExpr* regExpr) {
  clear();
  text = copyText(line);
  if (!regExpr || !regExpr->namedSaves) return;
  // The record may reserve more named saves than the pattern holds; the spare ones carry
  // no name and are not variables.
  int named = 0;
  for (int i = 0; i < regExpr->namedSaveCount; ++i)
    if (regExpr->namedSaves[i].nameStart) ++named;
  if (named == 0) return;
  vars = new char*[2 * named];
  for (int i = 0; i < regExpr->namedSaveCount; ++i) {
    const RegExprNamedSave& save = regExpr->namedSaves[i];
    if (!save.nameStart) continue;
    vars[2 * count] = copySpan(save.nameStart, save.nameEnd);
    vars[2 * count + 1] = copySpan(save.start, save.end);
    ++count;
  }
}

void EventRecord::set(const char* newText, int pairs, ...) {
  clear();
  text = copyText(newText);
  if (pairs <= 0) return;
  vars = new char*[2 * pairs];
  count = pairs;
  va_list args;
  va_start(args, pairs);
  for (int i = pairs - 1; i >= 0; --i) {
    const char* name = va_arg(args, const char*);
    const char* value = va_arg(args, const char*);
    vars[2 * i] = copyText(name);
    vars[2 * i + 1] = copyText(value);
  }
  va_end(args);
}

void EventRecord::dump(TextStream* stream) const {
  if (!stream) return;
  stream->printf("Nb vars: %i.\n", count);
  for (int i = 0; i < count; ++i)
    stream->printf("Var %i, named: %s = %s\n", i, shown(vars[2 * i]), shown(vars[2 * i + 1]));
}
