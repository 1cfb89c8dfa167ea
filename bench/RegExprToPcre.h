// Rewrites one of our patterns as a PCRE2 pattern that matches the same text with the same
// captures (lazy repetitions, alternatives in order), for comparing the two engines.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "lib/RegExprLexer.h"

class RegExprToPcre {
 public:
  // False (with why()) when the pattern uses something that has no faithful PCRE2 form here:
  // back-references, "not" repetitions, repeated zero-width atoms, odd class ranges.
  bool translate(const char* pattern) {
    out_.clear();
    why_.clear();
    namedGroups_.clear();
    groups_ = 0;
    const char* p = pattern;
    bool anchored = *p == '^';
    if (anchored) ++p;
    out_ = anchored ? "^(?:" : "(?:";
    while (*p) {
      if (!step(p)) return false;
    }
    out_ += ")";
    return true;
  }

  const std::string& result() const { return out_; }
  const std::string& why() const { return why_; }
  // The PCRE2 group number of each named save, in our order of named saves.
  const std::vector<int>& namedGroups() const { return namedGroups_; }

 private:
  bool fail(const char* reason) {
    why_ = reason;
    return false;
  }

  static std::string byte(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9'))
      return std::string(1, c);
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", u);
    return hex;
  }

  // One structure character or element at p, moving p past it and its suffix.
  bool step(const char*& p) {
    char c = *p;
    if (c == '{') {
      out_ += "(?:";
      ++p;
      return true;
    }
    if (c == '|') {
      out_ += "|";
      ++p;
      return true;
    }
    if (c == '}') {
      out_ += ")";
      return suffix(++p, false);
    }
    if (c == '(') return openSave(p);
    if (c == ')') {
      out_ += ")";
      ++p;
      if (p[0] == ':' && p[1] == '(') {
        while (*p && *p != ')') ++p;
        if (*p) ++p;
      }
      return suffix(p, false);
    }
    if (c == '%') return fail("back-reference");
    if (c == '$' && p[1] == '\0') {
      out_ += "\\z";
      ++p;
      return true;
    }
    return element(p);
  }

  bool openSave(const char*& p) {
    ++groups_;
    const char* q = p + 1;
    while (*q && *q != ')') q += (q[0] == '/' && q[1]) ? 2 : 1;
    if (q[0] == ')' && q[1] == ':' && q[2] == '(') {
      const char* name = q + 3;
      const char* end = name;
      while (*end && *end != ')') ++end;
      out_ += "(?<" + std::string(name, end) + ">";
      namedGroups_.push_back(groups_);
    } else {
      out_ += "(";
    }
    ++p;
    return true;
  }

  bool element(const char*& p) {
    std::string atom;
    bool zeroWidth = false;
    char c = *p;
    if (c == '.') {
      atom = ".";
      ++p;
    } else if (c == '[') {
      if (!charClass(p, atom)) return false;
    } else if (c == '/') {
      if (!p[1]) return fail("trailing escape");
      atom = escaped(p[1], &zeroWidth);
      p += 2;
    } else {
      atom = byte(c);
      ++p;
    }
    size_t mark = out_.size();
    out_ += "(?:" + atom + ")";
    if (!suffix(p, zeroWidth)) return false;
    if (out_.size() == mark + atom.size() + 4) out_.replace(mark, out_.size() - mark, atom);
    return true;
  }

  static std::string escaped(char c, bool* zeroWidth) {
    switch (c) {
      case 'b':
        *zeroWidth = true;
        return "(?=[ \\t\\n\\r]|\\z)";
      case 'B':
        *zeroWidth = true;
        return "(?=[^ \\t\\n\\r])";
      case 'd':
        return "[0-9]";
      case 'D':
        return "[^0-9]";
      case 'w':
        return "[A-Za-z0-9_]";
      case 'W':
        return "[^A-Za-z0-9_]";
      case 'n':
        return "(?:\\n|\\r\\n)";
      default:
        return byte(c);
    }
  }

  bool charClass(const char*& p, std::string& atom) {
    bool negated = p[1] == '^';
    const char* q = p + (negated ? 2 : 1);
    std::string set;
    bool lineEnd = false;
    bool hasCr = false;
    const char* start = q;
    while (*q && *q != ']') {
      if (*q == '{' || *q == '}' || *q == '|' || *q == '(' || *q == ')') return fail("class split");
      char low = *q;
      if (low == '-' && q == start) return fail("class dash");
      if (low == '/') {
        if (!q[1]) return fail("class escape");
        low = q[1];
        q += 2;
        if (low == 'n') {
          lineEnd = true;
          continue;
        }
      } else {
        ++q;
      }
      if (*q == '-' && q[1] != ']') {
        char high = q[1] == '/' ? q[2] : q[1];
        if (!high || high == '-' || low < 0 || high < 0 || low > high) return fail("class range");
        q += q[1] == '/' ? 3 : 2;
        set += byte(low) + "-" + byte(high);
        hasCr = hasCr || (low <= '\r' && '\r' <= high);
        continue;
      }
      if (low == '-') return fail("class dash");
      hasCr = hasCr || low == '\r';
      set += byte(low);
    }
    if (*q != ']') return fail("unclosed class");
    if (set.empty() && !lineEnd) return fail("empty class");
    p = q + 1;
    if (lineEnd && hasCr) return fail("class with CR and line end");
    if (!lineEnd) {
      atom = (negated ? "[^" : "[") + set + "]";
    } else if (negated) {
      atom = "(?!\\r\\n)[^" + set + "\\n]";
    } else {
      atom = "(?:\\r\\n|[" + set + "\\n])";
    }
    return true;
  }

  // The suffix at p, lazy as our repetitions are; p moves past it.
  bool suffix(const char*& p, bool zeroWidth) {
    regexpr::RegExprRepeat r;
    if (regexpr::parseRepeat(p, r) != 0) return fail("bad repeat");
    p = r.cursor;
    if (r.min == 1 && r.max == 1 && !r.notFlag) return true;
    if (r.notFlag || zeroWidth) return fail("not-repeat or repeated zero width");
    if (r.max != -1 && r.min > r.max) return fail("empty repeat");
    if (r.min == r.max) {
      out_ += "{" + std::to_string(r.min) + "}";
      return true;
    }
    if (r.max == -1) {
      out_ += r.min == 0 ? "*?" : r.min == 1 ? "+?" : "{" + std::to_string(r.min) + ",}?";
      return true;
    }
    if (r.min == 0 && r.max == 1) {
      out_ += "??";
      return true;
    }
    out_ += "{" + std::to_string(r.min) + "," + std::to_string(r.max) + "}?";
    return true;
  }

  std::string out_;
  std::string why_;
  std::vector<int> namedGroups_;
  int groups_ = 0;
};
