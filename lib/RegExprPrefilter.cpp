// Working out a RegExpr's prefilter: a literal run found on the path every match takes, the
// possible first bytes of an anchored match, and whether the search could ever report an
// error (then nothing is filtered).
#include "lib/RegExprPrefilter.h"

#include <cstring>
#include <initializer_list>

#include "lib/RegExprElement.h"

using namespace regexpr;

namespace {

// Whether a class's contents hold a fault the matcher reports when it reads that far. The
// walk through the contents does not depend on the text, so every fault on it is reachable.
bool classMayFail(const char* q, const char* end) {
  const char* start = q;
  while (q < end) {
    if (*q == '/') {
      q += 2;
      continue;
    }
    if (*q == '-' && (q == start || q + 1 == end || (q + 1 < end && q[1] == '-'))) return true;
    if (q + 1 < end && q[1] == '-') {
      const char* high = q + 2;
      if (high == end || *high == '-') return true;
      q = high + (*high == '/' ? 2 : 1);
      continue;
    }
    ++q;
  }
  return false;
}

// Whether matching any node's piece could report an error, read element by element as the
// matcher reads it.
bool searchMayFail(const RegExpr& re) {
  if (re.error || !re.nodes) return true;
  for (int i = 0; i < re.nextNode; ++i) {
    const RegExprNode& node = re.nodes[i];
    Element e;
    for (const char* p = node.pieceStart; p;) {
      int r = lexElement(p, node.pieceEnd, e);
      if (r < 0) return true;
      if (r == 0) break;
      if (e.kind == kClass && classMayFail(e.spanStart, e.spanEnd)) return true;
      p = e.repeat.cursor;
    }
  }
  return false;
}

// The longest run of literal bytes, each taken exactly once or an exact number of times, in
// the pieces of the outer sequence: every match goes through each of those pieces whole.
int longestLiteral(const RegExpr& re, char* out, int capacity) {
  const RegExprNode* first = &re.nodes[0];
  if (first->nextAlternative) return 0;
  int best = 0;
  char run[RegExprPrefilter::kMaxLiteral];
  for (const RegExprNode* node = first; node;) {
    int length = 0;
    Element e;
    for (const char* p = node->pieceStart;;) {
      int r = lexElement(p, node->pieceEnd, e);
      bool literal = r == 1 && e.kind == kAtom && e.atom == kLiteral && isExactRepeat(e.repeat) &&
                     e.repeat.min >= 1;
      for (int i = 0; literal && i < e.repeat.min && length < capacity; ++i)
        run[length++] = static_cast<char>(e.value);
      if (length > best) {
        best = length;
        std::memcpy(out, run, static_cast<size_t>(length));
      }
      // A run that reached the capacity still proves its first bytes: start afresh.
      if (!literal || length == capacity) length = 0;
      if (r != 1) break;
      p = e.repeat.cursor;
    }
    node = node->child ? node->child->continuation : nullptr;
  }
  return best;
}

// The bytes the first element of the pattern can take, when every match starts by taking
// at least one byte with it. Each byte is tried before a line end and before other text.
bool firstBytes(const RegExpr& re, unsigned char* set) {
  const RegExprNode& first = re.nodes[0];
  if (first.nextAlternative) return false;
  Element e;
  if (lexElement(first.pieceStart, first.pieceEnd, e) != 1) return false;
  if (e.kind == kBackReference || e.repeat.notFlag || e.repeat.min < 1) return false;
  if (e.repeat.max != -1 && e.repeat.max < e.repeat.min) return false;
  // A byte 0 it accepts can only be a match of nothing (the text's end): no set then.
  for (int c = 0; c < 256; ++c) {
    for (char follower : {'\n', 'x', '\0'}) {
      char text[3] = {static_cast<char>(c), follower, '\0'};
      const char* next = nullptr;
      if (matchElement(re, e, text, &next) != 1) continue;
      if (next == text) return false;  // takes nothing: says nothing of the first byte
      set[c >> 3] = static_cast<unsigned char>(set[c >> 3] | 1u << (c & 7));
    }
  }
  return true;
}

// Chat text is mostly spaces and small letters: searching for the literal by its least common
// byte stops at fewer false starts.
int commonness(unsigned char c) {
  if (c == ' ') return 3;
  if (c >= 'a' && c <= 'z') return 2;
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return 1;
  return 0;
}

int rarestByte(const char* literal, int length) {
  int best = 0;
  for (int i = 1; i < length; ++i)
    if (commonness(static_cast<unsigned char>(literal[i])) <
        commonness(static_cast<unsigned char>(literal[best])))
      best = i;
  return best;
}

}  // namespace

void RegExprPrefilter::build(const RegExpr& re) {
  *this = RegExprPrefilter();
  if (searchMayFail(re)) return;
  anchored_ = re.anchored != 0;
  literalLength_ = longestLiteral(re, literal_, kMaxLiteral);
  pivot_ = rarestByte(literal_, literalLength_);
  if (anchored_) hasFirstBytes_ = firstBytes(re, firstBytes_);
  active_ = literalLength_ > 0 || hasFirstBytes_;
}

// An anchored pattern is tried at the text's start and behind every LF.
bool RegExprPrefilter::lineStartAllowed(const char* text, size_t length) const {
  if (firstByteAllowed(static_cast<unsigned char>(text[0]))) return true;
  const char* end = text + length;
  for (const char* lf = text;
       (lf = static_cast<const char*>(std::memchr(lf, '\n', static_cast<size_t>(end - lf))));) {
    ++lf;
    if (lf < end && firstByteAllowed(static_cast<unsigned char>(*lf))) return true;
  }
  return false;
}

bool RegExprPrefilter::mayMatch(const char* text, size_t length) const {
  if (!active_ || !text) return true;
  if (hasFirstBytes_ && !lineStartAllowed(text, length)) return false;
  return literalLength_ == 0 || containsLiteral(text, length);
}

bool RegExprPrefilter::containsLiteral(const char* text, size_t length) const {
  size_t size = static_cast<size_t>(literalLength_);
  size_t pivot = static_cast<size_t>(pivot_);
  if (length < size) return false;
  // The pivot byte of any occurrence lies in [pivot, length - size + pivot].
  const char* at = text + pivot;
  const char* last = text + (length - size) + pivot;
  while (at <= last) {
    at = static_cast<const char*>(
        std::memchr(at, literal_[pivot], static_cast<size_t>(last - at) + 1));
    if (!at) return false;
    // The last byte first: a cheap test that rules out most false starts.
    const char* start = at - pivot;
    if (start[size - 1] == literal_[size - 1] && std::memcmp(start, literal_, size) == 0)
      return true;
    ++at;
  }
  return false;
}
