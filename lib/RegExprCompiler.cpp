// Compiling a RegExpr: the syntax check that sizes the arrays, then the node graph built
// over the pieces of pattern text between structure characters.
#include "lib/RegExpr.h"
#include "lib/RegExprLexer.h"
#include "lib/RegExprProgram.h"

#include <algorithm>
#include <cstring>
#include <new>

using namespace regexpr;

namespace {

const char* const kMessages[kErrorCount] = {
    "No error detected :)",
    "No more memory !",
    "Characters '{', '}', or '(' are unallowed in a expression who must be saved.",
    "Empty regular expression detected.",
    "More '}' than '{'.",
    "More ')' than '('.",
    "Save with name error : need an '(' to set the name.",
    "Safeguard's name must be an alphanum name !",
    "'}' needed. A multiple expression must be closed !!",
    "')' needed. A save expression must be closed !!",
    "')' needed. A save-name must be closed !!",
    "Integer not found in repeat expression (with @).",
    "',' not found in repeat expr - syntaxe : \"...@In1,n2\" or \"...@En1,n2\"",
    "Repeat infos error (a 'not awailable' character was found after '@').",
    "Interval error, min > max",
    "The regexpr is terminated by a : '/'",
    "']' not found. A multiple choice must be closed !!",
    "'-' found, but not allowed.",
};

struct Counts {
  int nodes = 1;
  int saves = 0;
  int namedSaves = 0;
};

// The name behind "):" (p at the character after ':'). Returns an error code or 0 with p
// moved past the name's ')'.
int checkSaveName(const char*& p) {
  if (*p != '(') return kNameNeedsParen;
  const char* name = ++p;
  for (; *p != ')'; ++p) {
    if (*p == '\0') return kUnclosedName;
    bool valid = p == name ? isNameStart(*p) : isNameChar(*p);
    if (!valid) return kBadName;
  }
  if (p == name) return kBadName;
  ++p;
  return kNoError;
}

// Checks the structure before anything is allocated and counts nodes and saves. It knows
// nothing of back-references: the parentheses of "%(name)" count as a save group here.
int checkSyntax(const char* p, Counts& counts) {
  int depth = 0;
  bool inSave = false;
  bool emptyAlternative = true;
  bool afterClose = false;
  while (*p) {
    char c = *p;
    bool closing = false;
    if (c == '/') {
      p += p[1] ? 2 : 1;
      emptyAlternative = false;
      afterClose = false;
      continue;
    }
    if (c == ':' && afterClose) {
      int error = checkSaveName(++p);
      if (error) return error;
      --counts.saves;
      ++counts.namedSaves;
      afterClose = false;
      continue;
    }
    switch (c) {
      case '{':
      case '(':
        if (inSave) return kStructureInSave;
        if (c == '{')
          ++depth;
        else
          inSave = true;
        ++counts.nodes;
        emptyAlternative = true;
        break;
      case '}':
        if (inSave) return kStructureInSave;
        if (emptyAlternative) return kEmptyExpression;
        if (depth == 0) return kUnbalancedBrace;
        --depth;
        ++counts.nodes;
        break;
      case '|':
        if (emptyAlternative) return kEmptyExpression;
        ++counts.nodes;
        emptyAlternative = true;
        break;
      case ')':
        if (!inSave) return kUnbalancedParen;
        if (emptyAlternative) return kEmptyExpression;
        inSave = false;
        ++counts.nodes;
        ++counts.saves;
        closing = true;
        break;
      default:
        emptyAlternative = false;
        break;
    }
    afterClose = closing;
    ++p;
  }
  if (depth > 0) return kUnclosedBrace;
  if (inSave) return kUnclosedSave;
  return kNoError;
}

void releaseArrays(RegExpr& re) {
  if (re.sharesProgram)
    re.program = nullptr;
  else
    freeProgram(re);
  re.sharesProgram = 0;
  delete[] re.nodes;
  delete[] re.saves;
  delete[] re.namedSaves;
  re.nodes = nullptr;
  re.saves = nullptr;
  re.namedSaves = nullptr;
}

bool allocateArrays(RegExpr& re, const Counts& counts) {
  re.nodes = new (std::nothrow) RegExprNode[counts.nodes];
  if (counts.saves > 0) re.saves = new (std::nothrow) RegExprSave[counts.saves];
  if (counts.namedSaves > 0) re.namedSaves = new (std::nothrow) RegExprNamedSave[counts.namedSaves];
  if (!re.nodes || (counts.saves > 0 && !re.saves) || (counts.namedSaves > 0 && !re.namedSaves)) {
    releaseArrays(re);
    return false;
  }
  re.nodeCount = counts.nodes;
  re.saveCount = counts.saves;
  re.namedSaveCount = counts.namedSaves;
  return true;
}

// Builds the node graph; stops at the first error, which it leaves in the record.
class GraphBuilder {
 public:
  explicit GraphBuilder(RegExpr& re) : re_(re) {}
  ~GraphBuilder() { delete[] enclosing_; }

  void build(const char* p);

 private:
  RegExprNode* newNode();
  const char* takePiece(RegExprNode* node, const char* p);
  const char* openGroup(const char* p);
  const char* addAlternative(const char* p);
  const char* closeGroup(const char* p);
  RegExprSave* takeSave(const char*& p);
  bool fail(int code) {
    re_.error = code;
    return false;
  }

  RegExpr& re_;
  RegExprNode* piece_ = nullptr;       // node whose piece was read last
  RegExprNode* level_ = nullptr;       // node whose alternatives the next '|' extends
  RegExprNode** enclosing_ = nullptr;  // levels of the groups still open
  int depth_ = 0;
};

RegExprNode* GraphBuilder::newNode() {
  // The syntax check counts what it sees; back-references can hide or reveal a
  // parenthesis from the builder, so never trust the count blindly.
  if (re_.nextNode >= re_.nodeCount) {
    fail(kNoMemory);
    return nullptr;
  }
  return &re_.nodes[re_.nextNode++];
}

// A piece runs up to the next structure character; "/x" and back-references are skipped.
const char* GraphBuilder::takePiece(RegExprNode* node, const char* p) {
  piece_ = node;
  node->pieceStart = p;
  while (*p && !isStructure(*p)) {
    if (*p == '/') {
      p += p[1] ? 2 : 1;
    } else if (*p == '%' && isDigit(p[1])) {
      p += 2;
    } else if (*p == '%' && p[1] == '(') {
      const char* close = std::strchr(p + 2, ')');
      if (!close) {
        fail(kUnclosedName);
        return nullptr;
      }
      p = close + 1;
    } else if (*p == '%') {
      fail(kUnclosedName);
      return nullptr;
    } else {
      ++p;
    }
  }
  node->pieceEnd = p;
  return p;
}

const char* GraphBuilder::openGroup(const char* p) {
  RegExprNode* head = newNode();
  if (!head) return nullptr;
  piece_->child = head;
  head->levelHead = head;
  enclosing_[depth_++] = level_;
  level_ = head;
  return takePiece(head, p + 1);
}

const char* GraphBuilder::addAlternative(const char* p) {
  RegExprNode* alternative = newNode();
  if (!alternative) return nullptr;
  level_->nextAlternative = alternative;
  alternative->levelHead = level_->levelHead;
  level_ = alternative;
  return takePiece(alternative, p + 1);
}

// The save of a group closed by ')' (p just behind it), named when ":(" follows.
RegExprSave* GraphBuilder::takeSave(const char*& p) {
  if (p[0] == ':' && p[1] == '(') {
    const char* close = std::strchr(p + 2, ')');
    if (!close) {
      fail(kUnclosedName);
      return nullptr;
    }
    if (re_.nextNamedSave >= re_.namedSaveCount) {
      fail(kNoMemory);
      return nullptr;
    }
    RegExprNamedSave* save = &re_.namedSaves[re_.nextNamedSave++];
    save->nameStart = p + 2;
    save->nameEnd = close;
    p = close + 1;
    return save;
  }
  if (re_.nextSave >= re_.saveCount) {
    fail(kNoMemory);
    return nullptr;
  }
  return &re_.saves[re_.nextSave++];
}

const char* GraphBuilder::closeGroup(const char* p) {
  if (depth_ == 0) {
    fail(kUnclosedName);  // only reachable when a back-reference swallowed a '('
    return nullptr;
  }
  RegExprNode* head = level_->levelHead;
  bool saves = *p == ')';
  ++p;
  if (saves) {
    head->save = takeSave(p);
    if (!head->save) return nullptr;
  }
  RegExprRepeat repeat;
  int error = parseRepeat(p, repeat);
  if (error) {
    fail(error);
    return nullptr;
  }
  head->notFlag = repeat.notFlag;
  head->min = repeat.min;
  head->max = repeat.max;
  RegExprNode* next = newNode();
  if (!next) return nullptr;
  head->continuation = next;
  level_ = enclosing_[--depth_];
  next->levelHead = level_->levelHead;
  return takePiece(next, repeat.cursor);
}

void GraphBuilder::build(const char* p) {
  enclosing_ = new (std::nothrow) RegExprNode*[re_.nodeCount];
  RegExprNode* first = newNode();
  if (!enclosing_ || !first) {
    fail(kNoMemory);
    return;
  }
  first->levelHead = first;
  level_ = first;
  p = takePiece(first, p);
  while (p && *p) {
    if (*p == '{' || *p == '(')
      p = openGroup(p);
    else if (*p == '|')
      p = addAlternative(p);
    else
      p = closeGroup(p);
  }
  if (p && depth_ > 0) fail(kUnclosedName);
}

}  // namespace

int compileRegExpr(RegExpr& re, const char* pattern) {
  releaseArrays(re);
  re = RegExpr();
  if (!pattern) pattern = "";
  re.anchored = pattern[0] == '^';
  const char* p = pattern + re.anchored;
  size_t length = std::strlen(p);
  re.endsWithDollar = length > 0 && p[length - 1] == '$';

  Counts counts;
  int error = checkSyntax(p, counts);
  if (error) {
    re.error = error;
    return 2;
  }
  if (!allocateArrays(re, counts)) {
    re.error = kNoMemory;
    return 2;
  }
  GraphBuilder(re).build(p);
  if (!re.error && !buildProgram(re)) re.error = kNoMemory;
  return 1;
}

const char* getRegExprError(const RegExpr& re) {
  if (re.error < 0 || re.error >= kErrorCount) return "";
  return kMessages[re.error];
}

namespace {

// The same place in copy's array as p has in source's (null stays null).
template <class T>
T* sameIndex(T* p, const T* sourceArray, T* copyArray) {
  return p ? copyArray + (p - sourceArray) : nullptr;
}

// A node's save is an unnamed save or the base of a named one.
RegExprSave* copiedSave(RegExprSave* save, const RegExpr& source, RegExpr& copy) {
  if (!save) return nullptr;
  if (source.saves && save >= source.saves && save < source.saves + source.saveCount)
    return sameIndex(save, source.saves, copy.saves);
  auto* named = static_cast<RegExprNamedSave*>(save);
  return sameIndex(named, source.namedSaves, copy.namedSaves);
}

}  // namespace

bool copyRegExpr(RegExpr& copy, const RegExpr& source) {
  releaseArrays(copy);
  copy = source;
  copy.nodes = nullptr;
  copy.saves = nullptr;
  copy.namedSaves = nullptr;
  copy.program = nullptr;
  copy.sharesProgram = 0;
  if (!source.nodes) return true;
  Counts counts{source.nodeCount, source.saveCount, source.namedSaveCount};
  if (!allocateArrays(copy, counts)) {
    copy = RegExpr();
    return false;
  }
  std::copy(source.saves, source.saves + source.saveCount, copy.saves);
  std::copy(source.namedSaves, source.namedSaves + source.namedSaveCount, copy.namedSaves);
  for (int i = 0; i < source.nodeCount; ++i) {
    RegExprNode node = source.nodes[i];
    node.save = copiedSave(node.save, source, copy);
    node.continuation = sameIndex(node.continuation, source.nodes, copy.nodes);
    node.child = sameIndex(node.child, source.nodes, copy.nodes);
    node.nextAlternative = sameIndex(node.nextAlternative, source.nodes, copy.nodes);
    node.levelHead = sameIndex(node.levelHead, source.nodes, copy.nodes);
    node.counter = 0;
    node.repeatStart = nullptr;
    copy.nodes[i] = node;
  }
  copy.program = source.program;
  copy.sharesProgram = source.program ? 1 : 0;
  return true;
}

void freeRegExpr(RegExpr& re) {
  releaseArrays(re);
  re.nodeCount = re.nextNode = 0;
  re.saveCount = re.namedSaveCount = 0;
  re.nextSave = re.nextNamedSave = 0;
}
