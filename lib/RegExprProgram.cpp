// Lowering RegExpr pieces into operations: literal bytes taken once are joined into runs,
// one-byte elements get a table of the bytes they take, the rest keep their element. The
// lexer and element matcher stay the judges: every table is filled by asking them.
#include "lib/RegExprProgram.h"

#include <cstring>
#include <initializer_list>
#include <new>

namespace regexpr {

namespace {

const int kTableSize = 256;

bool isOnceLiteral(const Element& e) {
  return e.kind == kAtom && e.atom == kLiteral && isExactRepeat(e.repeat) && e.repeat.min == 1;
}

bool byteDecides(const Element& e) {
  if (e.kind == kClass) return true;
  return e.kind == kAtom && (e.atom == kAny || e.atom == kDigit || e.atom == kNonDigit ||
                             e.atom == kWord || e.atom == kNonWord);
}

// The element's answer for byte c, whatever follows it; kAsk when the followers disagree,
// when it takes other than one byte or when it reports a fault.
unsigned char answerFor(const RegExpr& re, const Element& e, int c) {
  int answer = -1;
  for (char follower : {'\n', '\r', 'x', '\0'}) {
    char text[3] = {static_cast<char>(c), follower, '\0'};
    const char* next = nullptr;
    int r = matchElement(re, e, text, &next);
    if (r < 0 || (r == 1 && next != text + 1)) return kAsk;
    if (answer != -1 && answer != r) return kAsk;
    answer = r;
  }
  return static_cast<unsigned char>(answer);
}

// A repetition that starts by matching the element at least once, so that a byte it does not
// take fails it in one step.
bool failsOnFirstMiss(const RegExprRepeat& r) {
  return !r.notFlag && r.min >= 1 && (r.max == -1 || r.max >= r.min);
}

GateKind gateOf(OpCode code, const Element& e) {
  if (code == kOpRun) return kGateByte;
  if (!failsOnFirstMiss(e.repeat)) return kGateNone;
  if (code == kOpLiteral) return kGateByte;
  if (code == kOpTable) return kGateTable;
  if (code != kOpElement || e.kind != kAtom) return kGateNone;
  switch (e.atom) {
    case kEnd:
      return kGateEnd;
    case kLineEnd:
      return kGateLineEnd;
    case kBlank:
      return kGateBlank;
    case kNonBlank:
      return kGateNonBlank;
    default:
      return kGateNone;
  }
}

// Walks one node's piece as the matcher would, calling add for each element, and the end or
// the error that stops it.
template <class Add>
void walkPiece(const RegExprNode& node, Add add) {
  Element e{};
  for (const char* p = node.pieceStart;;) {
    int r = lexElement(p, node.pieceEnd, e);
    if (r <= 0) {
      add(r, e);
      return;
    }
    add(1, e);
    p = e.repeat.cursor;
  }
}

struct Sizes {
  int ops = 0;
  int runBytes = 0;
  int tables = 0;
};

Sizes measure(const RegExpr& re) {
  Sizes sizes;
  for (int i = 0; i < re.nextNode; ++i) {
    bool inRun = false;
    walkPiece(re.nodes[i], [&](int r, const Element& e) {
      bool literal = r == 1 && isOnceLiteral(e);
      if (literal) ++sizes.runBytes;
      if (!literal || !inRun) ++sizes.ops;
      if (r == 1 && byteDecides(e)) ++sizes.tables;
      inRun = literal;
    });
  }
  return sizes;
}

class ProgramWriter {
 public:
  ProgramWriter(RegExpr& re, RegExprProgram& program) : re_(re), program_(program) {}

  void writeNode(RegExprNode& node) {
    node.ops = program_.ops + ops_;
    RegExprOp* run = nullptr;
    walkPiece(node, [&](int r, const Element& e) {
      if (r == 1 && isOnceLiteral(e)) {
        if (!run) run = startRun(e);
        program_.runs[runBytes_++] = static_cast<char>(e.value);
        ++run->length;
        return;
      }
      run = nullptr;
      add(r, e);
    });
  }

 private:
  RegExprOp& next(OpCode code, const Element& e) {
    RegExprOp& op = program_.ops[ops_++];
    op = RegExprOp{code, gateOf(code, e), static_cast<unsigned char>(e.value), 0, nullptr, nullptr,
                   e};
    return op;
  }

  RegExprOp* startRun(const Element& e) {
    RegExprOp& op = next(kOpRun, e);
    op.run = program_.runs + runBytes_;
    return &op;
  }

  void add(int r, const Element& e) {
    if (r < 0) {
      next(kOpError, e).length = -r;
    } else if (r == 0) {
      next(kOpEnd, e);
    } else if (e.kind == kAtom && e.atom == kLiteral) {
      next(kOpLiteral, e);
    } else if (byteDecides(e)) {
      next(kOpTable, e).table = tableFor(e);
    } else {
      next(kOpElement, e);
    }
  }

  // Equal tables are shared inside the pattern: most repeat the same few classes and atoms.
  const unsigned char* tableFor(const Element& e) {
    unsigned char* table = program_.tables + tables_ * kTableSize;
    for (int c = 0; c < kTableSize; ++c) table[c] = answerFor(re_, e, c);
    for (int i = 0; i < tables_; ++i) {
      const unsigned char* earlier = program_.tables + i * kTableSize;
      if (std::memcmp(earlier, table, kTableSize) == 0) return earlier;
    }
    ++tables_;
    return table;
  }

  RegExpr& re_;
  RegExprProgram& program_;
  int ops_ = 0;
  int runBytes_ = 0;
  int tables_ = 0;
};

}  // namespace

void freeProgram(RegExpr& re) {
  if (!re.program) return;
  delete[] re.program->ops;
  delete[] re.program->runs;
  delete[] re.program->tables;
  delete re.program;
  re.program = nullptr;
}

bool buildProgram(RegExpr& re) {
  freeProgram(re);
  Sizes sizes = measure(re);
  RegExprProgram* program = new (std::nothrow) RegExprProgram;
  if (!program) return false;
  re.program = program;
  program->ops = new (std::nothrow) RegExprOp[static_cast<size_t>(sizes.ops)];
  program->runs = new (std::nothrow) char[static_cast<size_t>(sizes.runBytes) + 1];
  program->tables =
      new (std::nothrow) unsigned char[static_cast<size_t>(sizes.tables) * kTableSize + 1];
  if (!program->ops || !program->runs || !program->tables) {
    freeProgram(re);
    return false;
  }
  ProgramWriter writer(re, *program);
  for (int i = 0; i < re.nextNode; ++i) writer.writeNode(re.nodes[i]);
  return true;
}

}  // namespace regexpr
