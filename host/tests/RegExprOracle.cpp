// The pattern engine's matcher as it was before it ran compiled pieces: a lazy search that
// reads each piece's elements from the pattern text as it goes. The differential test holds
// the engine to this reference result for result.
#include "host/tests/RegExprOracle.h"

#include "lib/RegExprElement.h"

#include <cstring>

using namespace regexpr;

namespace oracle {

namespace {

// Bounds of one matchRegExpr call. The search recurses once per group repetition and
// per repeated element on the path, so the depth bounds the stack (well under 1 MB); the
// step count bounds the time a hostile line or pattern can take. Hitting either makes the
// search report "no match".
const int kMaxDepth = 3000;
const long long kMaxSteps = 10000000;

struct Search {
  RegExpr& re;
  int depth = 0;
  long long steps = 0;
  bool attemptStopped = false;  // too deep: give up this attempt
  bool callStopped = false;     // too many steps: give up the whole call

  bool stopped() const { return attemptStopped || callStopped; }
  bool step() {
    if (++steps > kMaxSteps) callStopped = true;
    return !callStopped;
  }
};

int matchNode(Search& s, const char* text, const char* p, RegExprNode* node, int count);

// Matches one element, counting it against the step budget: 1 with *next, 0, or 2 (the
// error is recorded).
int matchOnce(Search& s, const Element& e, const char* text, const char** next) {
  if (!s.step()) return 0;
  int r = matchElement(s.re, e, text, next);
  if (r < 0) {
    s.re.error = -r;
    return 2;
  }
  return r;
}

// An exact count never backtracks. An element that matched nothing would match nothing
// again, so the remaining rounds are skipped.
int matchExactly(Search& s, const Element& e, const char** text) {
  for (int i = 0; i < e.repeat.min; ++i) {
    const char* next = nullptr;
    int r = matchOnce(s, e, *text, &next);
    if (r != 1) return r;
    if (next == *text) break;
    *text = next;
  }
  return 1;
}

// The rest of the search behind a repeated element. Its frames are larger than those of
// a group repetition, so it counts double against the depth bound.
int matchRest(Search& s, const char* text, const char* p, RegExprNode* node, int count) {
  ++s.depth;
  int r = matchNode(s, text, p, node, count);
  --s.depth;
  return r;
}

// The lazy loop of an element without the not-flag: fewest repetitions first, each
// followed by the rest of the search (the piece from behind the suffix onwards).
int repeatRange(Search& s, const Element& e, const char* text, RegExprNode* node, int count) {
  const RegExprRepeat& rep = e.repeat;
  if (rep.max != -1 && rep.min > rep.max) return 0;
  const char* at = text;
  for (int c = 0; c < rep.min; ++c) {
    const char* next = nullptr;
    int r = matchOnce(s, e, at, &next);
    if (r != 1) return r;
    if (next == at) break;
    at = next;
  }
  for (long long c = rep.min;; ++c) {
    int r = matchRest(s, at, rep.cursor, node, count);
    if (r != 0 || s.stopped()) return r;
    if (rep.max != -1 && c >= rep.max) return 0;
    const char* next = nullptr;
    r = matchOnce(s, e, at, &next);
    if (r != 1 || next == at) return r == 2 ? 2 : 0;
    at = next;
  }
}

// The not-flag loop: every count but min..max may be followed by the rest of the search.
int repeatExcluding(Search& s, const Element& e, const char* text, RegExprNode* node, int count) {
  const RegExprRepeat& rep = e.repeat;
  const char* at = text;
  bool triedHere = false;
  for (long long c = 0;; ++c) {
    bool allowed = c < rep.min || c > rep.max;
    if (allowed && !triedHere) {
      int r = matchRest(s, at, rep.cursor, node, count);
      if (r != 0 || s.stopped()) return r;
      triedHere = true;
    }
    const char* next = nullptr;
    int r = matchOnce(s, e, at, &next);
    if (r != 1) return r;
    if (next == at) {
      // Matching nothing again cannot change the outcome: only the count moves on.
      if (triedHere) return 0;
      if (c < rep.max) c = rep.max;
      continue;
    }
    at = next;
    triedHere = false;
  }
}

bool zeroCountAllowed(const RegExprNode* g) {
  if (g->notFlag) return g->min > 0 || g->max < 0;
  return g->min == 0;
}

// Every change to a save is undone when the path that made it fails, so after a match
// the saves off the successful path are still empty and the table can be read directly.
int leaveGroup(Search& s, RegExprNode* g, const char* text) {
  RegExprNode* next = g->continuation;
  const char* oldEnd = g->save ? g->save->end : nullptr;
  if (g->save) g->save->end = text;
  if (!next) return 1;
  int r = matchNode(s, text, next->pieceStart, next, next->levelHead->counter);
  if (r == 0 && g->save) g->save->end = oldEnd;
  return r;
}

int tryAlternatives(Search& s, RegExprNode* g, const char* text, int count) {
  for (RegExprNode* alt = g; alt; alt = alt->nextAlternative) {
    int r = matchNode(s, text, alt->pieceStart, alt, count);
    if (r != 0 || s.stopped()) return r;
  }
  return 0;
}

// Starts repetition count + 1 of g; on failure everything it changed is put back.
int repeatGroup(Search& s, RegExprNode* g, const char* text, int count) {
  const char* oldRepeatStart = g->repeatStart;
  const char* oldSaveStart = g->save ? g->save->start : nullptr;
  g->counter = count + 1;
  g->repeatStart = text;
  if (g->save) g->save->start = text;
  int r = tryAlternatives(s, g, text, count + 1);
  if (r != 0) return r;
  if (g->save) g->save->start = oldSaveStart;
  g->repeatStart = oldRepeatStart;
  g->counter = count;
  return 0;
}

// An alternative of g completed its repetition number count at text.
int endAlternative(Search& s, RegExprNode* g, const char* text, int count) {
  // A repetition that consumed nothing would only repeat itself: once the count may
  // stop, do not start another.
  bool consumedNothing = text == g->repeatStart;
  if (!g->notFlag) {
    if (count < g->min) return repeatGroup(s, g, text, count);
    int r = leaveGroup(s, g, text);
    if (r != 0 || s.stopped() || consumedNothing) return r;
    if (g->max == -1 || count < g->max) return repeatGroup(s, g, text, count);
    return 0;
  }
  if (count >= g->min && count <= g->max) return repeatGroup(s, g, text, count);
  int r = leaveGroup(s, g, text);
  if (r != 0 || s.stopped() || consumedNothing) return r;
  return repeatGroup(s, g, text, count);
}

int enterGroup(Search& s, RegExprNode* g, const char* text) {
  if (!g->notFlag && g->max != -1 && g->min > g->max) return 0;  // no count allowed
  int oldCounter = g->counter;
  const char* oldRepeatStart = g->repeatStart;
  const char* oldSaveStart = g->save ? g->save->start : nullptr;
  g->counter = 0;
  g->repeatStart = text;
  if (g->save) g->save->start = text;
  int r = zeroCountAllowed(g) ? leaveGroup(s, g, text) : 0;
  if (r == 0 && !s.stopped()) {
    g->counter = 1;
    r = tryAlternatives(s, g, text, 1);
  }
  if (r != 0) return r;
  if (g->save) g->save->start = oldSaveStart;
  g->counter = oldCounter;
  g->repeatStart = oldRepeatStart;
  return 0;
}

const int kPieceDone = -1;

// The elements of node's piece from p on. Returns kPieceDone with *text moved behind
// them, or the search's result once a repeated element has taken the rest of it over.
// Kept out of line so that its element record is not on the stack of every group
// repetition.
[[gnu::noinline]] int matchElements(Search& s, const char** text, const char* p, RegExprNode* node,
                                    int count) {
  Element e;
  for (;;) {
    int r = lexElement(p, node->pieceEnd, e);
    if (r < 0) {
      s.re.error = -r;
      return 2;
    }
    if (r == 0) return kPieceDone;
    if (!isExactRepeat(e.repeat)) {
      return e.repeat.notFlag ? repeatExcluding(s, e, *text, node, count)
                              : repeatRange(s, e, *text, node, count);
    }
    r = matchExactly(s, e, text);
    if (r != 1) return r;
    p = e.repeat.cursor;
  }
}

// Count 0 enters the group that node heads; otherwise node's piece is matched from p
// inside repetition number count of its group, then its child group or the end of its
// alternative.
int matchNode(Search& s, const char* text, const char* p, RegExprNode* node, int count) {
  if (s.stopped() || !s.step()) return 0;
  if (s.depth >= kMaxDepth) {
    s.attemptStopped = true;
    return 0;
  }
  ++s.depth;
  int r;
  if (count == 0) {
    r = enterGroup(s, node, text);
  } else {
    r = matchElements(s, &text, p, node, count);
    if (r == kPieceDone) {
      r = node->child ? matchNode(s, text, node->child->pieceStart, node->child, 0)
                      : endAlternative(s, node->levelHead, text, count);
    }
  }
  --s.depth;
  return r;
}

void clearSaves(RegExpr& re) {
  for (int i = 0; i < re.saveCount; ++i) re.saves[i].start = re.saves[i].end = nullptr;
  for (int i = 0; i < re.namedSaveCount; ++i)
    re.namedSaves[i].start = re.namedSaves[i].end = nullptr;
}

// One attempt at text: the saves start empty so nothing of an earlier line or attempt
// can show through.
int attempt(Search& s, const char* text) {
  if (s.re.error) return 2;
  clearSaves(s.re);
  s.depth = 0;
  s.attemptStopped = false;
  RegExprNode* first = &s.re.nodes[0];
  return matchNode(s, text, first->pieceStart, first, 0);
}

}  // namespace

int matchRegExprOracle(RegExpr& re, const char* text) {
  if (!text) return 0;
  if (!re.nodes) return re.error ? 2 : 0;
  Search s{re};
  if (re.anchored) {
    // A line starts at the text's start and after every LF, the end of the text
    // included when the text ends with LF (so "^$" finds that empty last line).
    for (const char* line = text; line;) {
      int r = attempt(s, line);
      if (r != 0 || s.callStopped) return r;
      line = std::strchr(line, '\n');
      if (line) ++line;
    }
    return 0;
  }
  for (const char* at = text; *at; ++at) {
    int r = attempt(s, at);
    if (r != 0 || s.callStopped) return r;
  }
  return 0;
}

}  // namespace oracle
