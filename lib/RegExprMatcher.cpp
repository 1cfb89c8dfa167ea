// Matching a compiled RegExpr: a lazy depth-first search over the node graph that walks
// each piece's compiled operations. Nothing is allocated per match.
#include "lib/RegExpr.h"
#include "lib/RegExprGate.h"
#include "lib/RegExprProgram.h"

#include <climits>
#include <cstring>

using namespace regexpr;

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

int matchNode(Search& s, const char* text, const RegExprOp* op, RegExprNode* node, int count);

// Matches one element, counting it against the step budget: 1 with *next, 0, or 2 (the
// error is recorded). Literals and one-byte elements are decided here; the rest, and the
// bytes a table cannot decide, go to the element matcher.
inline int matchOnce(Search& s, const RegExprOp& op, const char* text, const char** next) {
  if (!s.step()) return 0;
  if (op.code == kOpLiteral) {
    *next = text + 1;
    return *text == static_cast<char>(op.byte) ? 1 : 0;
  }
  if (op.code == kOpTable) {
    unsigned char answer = op.table[static_cast<unsigned char>(*text)];
    *next = text + 1;
    if (answer != kAsk) return answer;
  }
  int r = matchElement(s.re, op.element, text, next);
  if (r < 0) {
    s.re.error = -r;
    return 2;
  }
  return r;
}

// A run of literals, one step for each byte compared as when they are matched one by one.
int matchRun(Search& s, const RegExprOp& op, const char** text) {
  const char* t = *text;
  int i = 0;
  while (i < op.length && t[i] == op.run[i]) ++i;
  s.steps += i < op.length ? i + 1 : i;
  if (s.steps > kMaxSteps) {
    s.callStopped = true;
    return 0;
  }
  if (i < op.length) return 0;
  *text = t + i;
  return 1;
}

// An exact count never backtracks. An element that matched nothing would match nothing
// again, so the remaining rounds are skipped.
int matchExactly(Search& s, const RegExprOp& op, const char** text) {
  for (int i = 0; i < op.element.repeat.min; ++i) {
    const char* next = nullptr;
    int r = matchOnce(s, op, *text, &next);
    if (r != 1) return r;
    if (next == *text) break;
    *text = next;
  }
  return 1;
}

// The rest of the search behind a repeated element. Its frames are larger than those of
// a group repetition, so it counts double against the depth bound.
int matchRest(Search& s, const char* text, const RegExprOp* op, RegExprNode* node, int count) {
  ++s.depth;
  int r = matchNode(s, text, op, node, count);
  --s.depth;
  return r;
}

// The operation whose failure on the first byte makes the rest of the search from op fail
// at once, before it changes anything that lasts or could reach the depth bound; *extra
// gets the steps taken on the way to it. Null when the rest has to be searched.
const RegExprOp* restGate(const Search& s, const RegExprOp* op, const RegExprNode* node, int count,
                          int* extra) {
  if (op->code != kOpEnd) {
    *extra = 1;
    return s.depth + 1 < kMaxDepth ? op : nullptr;
  }
  // The piece is done: the alternative ends, its group is left and no repetition follows.
  const RegExprNode* g = node->levelHead;
  if (node->child || g->notFlag || count < g->min || !g->continuation) return nullptr;
  if (g->max == -1 || count < g->max || s.depth + 2 >= kMaxDepth) return nullptr;
  // The continuation goes on inside its level's repetition; at count 0 it would enter a group.
  if (g->continuation->levelHead->counter == 0) return nullptr;
  *extra = 2;
  return g->continuation->ops;
}

// Counts steps taken without running them; false once the budget is spent.
bool skipSteps(Search& s, long long steps) {
  s.steps += steps;
  if (s.steps > kMaxSteps) s.callStopped = true;
  return !s.callStopped;
}

// The lazy loop of an element without the not-flag: fewest repetitions first, each
// followed by the rest of the search (the piece from behind the suffix onwards). A rest sure
// to fail on the next byte is only counted, not run.
int repeatRange(Search& s, const RegExprOp& op, const char* text, RegExprNode* node, int count) {
  const RegExprRepeat& rep = op.element.repeat;
  if (rep.max != -1 && rep.min > rep.max) return 0;
  const char* at = text;
  for (int c = 0; c < rep.min; ++c) {
    const char* next = nullptr;
    int r = matchOnce(s, op, at, &next);
    if (r != 1) return r;
    if (next == at) break;
    at = next;
  }
  int extra = 0;
  const RegExprOp* gate = restGate(s, &op + 1, node, count, &extra);
  for (long long c = rep.min;; ++c) {
    if (gate) {
      const char* from = at;
      at = forwardRounds(op, *gate, at, rep.max == -1 ? LLONG_MAX : rep.max - c);
      c += at - from;
      if (at != from && !skipSteps(s, (at - from) * (extra + 2))) return 0;
    }
    int cost = gate ? firstByteFailCost(*gate, static_cast<unsigned char>(*at)) : 0;
    if (cost) {
      if (!skipSteps(s, cost + extra)) return 0;
    } else {
      int r = matchRest(s, at, &op + 1, node, count);
      if (r != 0 || s.stopped()) return r;
    }
    if (rep.max != -1 && c >= rep.max) return 0;
    const char* next = nullptr;
    int r = matchOnce(s, op, at, &next);
    if (r != 1 || next == at) return r == 2 ? 2 : 0;
    at = next;
  }
}

// The not-flag loop: every count but min..max may be followed by the rest of the search.
int repeatExcluding(Search& s, const RegExprOp& op, const char* text, RegExprNode* node,
                    int count) {
  const RegExprRepeat& rep = op.element.repeat;
  const char* at = text;
  bool triedHere = false;
  for (long long c = 0;; ++c) {
    bool allowed = c < rep.min || c > rep.max;
    if (allowed && !triedHere) {
      int r = matchRest(s, at, &op + 1, node, count);
      if (r != 0 || s.stopped()) return r;
      triedHere = true;
    }
    const char* next = nullptr;
    int r = matchOnce(s, op, at, &next);
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
  int r = matchNode(s, text, next->ops, next, next->levelHead->counter);
  if (r == 0 && g->save) g->save->end = oldEnd;
  return r;
}

int tryAlternatives(Search& s, RegExprNode* g, const char* text, int count) {
  for (RegExprNode* alt = g; alt; alt = alt->nextAlternative) {
    int r = matchNode(s, text, alt->ops, alt, count);
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

// The operations of node's piece from op on. Returns kPieceDone with *text moved behind
// them, or the search's result once a repeated element has taken the rest of it over.
int matchElements(Search& s, const char** text, const RegExprOp* op, RegExprNode* node, int count) {
  for (;; ++op) {
    if (op->code == kOpEnd) return kPieceDone;
    if (op->code == kOpError) {
      s.re.error = op->length;
      return 2;
    }
    int r;
    if (op->code == kOpRun) {
      r = matchRun(s, *op, text);
    } else if (!isExactRepeat(op->element.repeat)) {
      return op->element.repeat.notFlag ? repeatExcluding(s, *op, *text, node, count)
                                        : repeatRange(s, *op, *text, node, count);
    } else {
      r = matchExactly(s, *op, text);
    }
    if (r != 1) return r;
  }
}

// Count 0 enters the group that node heads; otherwise node's piece is matched from p
// inside repetition number count of its group, then its child group or the end of its
// alternative.
int matchNode(Search& s, const char* text, const RegExprOp* op, RegExprNode* node, int count) {
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
    r = matchElements(s, &text, op, node, count);
    if (r == kPieceDone) {
      r = node->child ? matchNode(s, text, node->child->ops, node->child, 0)
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
  return matchNode(s, text, first->ops, first, 0);
}

// An attempt at an offset whose byte the pattern's first operation cannot take fails at once:
// such offsets are only counted (the two group entries and the operation's own steps), and
// a literal start is found with memchr.
int matchUnanchored(Search& s, const char* text) {
  if (!*text) return 0;
  clearSaves(s.re);
  const RegExprNode& first = s.re.nodes[0];
  const RegExprOp* head = first.nextAlternative || s.re.error ? nullptr : first.ops;
  const char* end = head && head->code == kOpRun ? text + std::strlen(text) : nullptr;
  for (const char* at = text; *at; ++at) {
    if (end) {
      const char* found =
          static_cast<const char*>(std::memchr(at, head->run[0], static_cast<size_t>(end - at)));
      const char* stop = found ? found : end;
      if (stop > at && !skipSteps(s, 3 * static_cast<int>(stop - at))) return 0;
      if (!found) return 0;
      at = found;
    } else if (head) {
      int cost = firstByteFailCost(*head, static_cast<unsigned char>(*at));
      if (cost) {
        if (!skipSteps(s, cost + 2)) return 0;
        continue;
      }
    }
    int r = attempt(s, at);
    if (r != 0 || s.callStopped) return r;
  }
  return 0;
}

bool spanIsSet(const RegExprSave& save) { return save.start && save.end && save.end > save.start; }

}  // namespace

int matchRegExpr(RegExpr& re, const char* text) {
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
  return matchUnanchored(s, text);
}

const RegExprSave* findRegExprSave(const RegExpr& re, int number) {
  if (number < 0 || number >= re.saveCount || !re.saves) return nullptr;
  const RegExprSave& save = re.saves[number];
  return spanIsSet(save) ? &save : nullptr;
}

const RegExprSave* findRegExprSave(const RegExpr& re, const char* nameStart, const char* nameEnd) {
  if (!nameStart || !nameEnd || !re.namedSaves) return nullptr;
  size_t length = static_cast<size_t>(nameEnd - nameStart);
  for (int i = 0; i < re.namedSaveCount; ++i) {
    const RegExprNamedSave& save = re.namedSaves[i];
    if (!save.nameStart || static_cast<size_t>(save.nameEnd - save.nameStart) != length) continue;
    if (std::memcmp(save.nameStart, nameStart, length) != 0) continue;
    return spanIsSet(save) ? &save : nullptr;
  }
  return nullptr;
}
