#include "plugins/NevStyle/EmoticonScan.h"

#include <cctype>

const int kEmoticonIds[kEmoticonCount] = {101, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114};

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// The picture of ':' followed by sign (after the optional '-').
int colonPicture(char sign) {
  switch (sign) {
    case '(':
      return SadEmoticon;
    case ')':
      return SmileEmoticon;
    case 'D':
    case 'd':
      return GrinEmoticon;
    case 'O':
      return ShockedEmoticon;
    case 'P':
    case 'p':
      return TongueEmoticon;
    case 'S':
    case 's':
      return ConfusedEmoticon;
    case '[':
      return GrimEmoticon;
    case 'o':
      return SurprisedEmoticon;
    default:
      return 0;
  }
}

EmoticonMatch none() { return {-1, 0, 0}; }

}  // namespace

EmoticonMatch emoticonAt(const char* text, int pos, bool doubles) {
  if (text == nullptr || pos < 0) return none();
  if (pos > 0 && isWordChar(text[pos - 1])) return none();
  const char* p = text + pos;
  char first = p[0];
  if (first != ':' && first != ';' && first != '8') return none();
  int at = 1;
  if (first == ':' && p[1] == '\'') {
    // The crying face: the '-' may stand after the quote only.
    at = 2;
    if (p[at] == '-') ++at;
    if (p[at] == '(') return {pos, at + 1, CryEmoticon};
    return none();
  }
  if (p[at] == '-') ++at;
  char sign = p[at];
  int picture = 0;
  if (first == '8' && (sign == ')' || sign == '|')) picture = CoolEmoticon;
  if (first == ';' && sign == ')') picture = WinkEmoticon;
  if (first == ':') picture = colonPicture(sign);
  if (picture == 0) return none();
  int length = at + 1;
  if (picture == SmileEmoticon && doubles) {
    if (p[length] == ')') return {pos, length + 1, GrinEmoticon};
    if (p[length] == '=') return {pos, length + 1, TongueEmoticon};
  }
  return {pos, length, picture};
}

EmoticonMatch nextEmoticon(const char* text, int from, bool doubles) {
  if (text == nullptr || from < 0) return none();
  for (int i = from; text[i] != '\0'; ++i) {
    EmoticonMatch found = emoticonAt(text, i, doubles);
    if (found.length > 0) return found;
  }
  return none();
}
