// 8-bit text to Qt strings: valid UTF-8 sequences decode as such, a stray byte is taken as
// Windows-1252, so legacy single-byte text still reads as its writer meant it.
#include "platform/EightBitText.h"

#include <cstring>

namespace vornplatform {
namespace {

// Windows-1252 at 0x80-0x9F; the five unassigned bytes keep their own code point.
const char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at text[0] (1 for ASCII), or 0 when it is not one.
// Overlong forms, surrogates and code points above U+10FFFF are not valid.
int sequenceLength(const unsigned char* text, int available) {
  unsigned char lead = text[0];
  if (lead < 0x80) return 1;
  int length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (available < length || text[1] < low || text[1] > high) return 0;
  for (int i = 2; i < length; ++i)
    if (!isContinuation(text[i])) return 0;
  return length;
}

}  // namespace

QString decodeEightBit(const char* text, int length) {
  if (text == nullptr) return QString();
  if (length < 0) length = static_cast<int>(std::strlen(text));
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  QString result;
  result.reserve(length);
  int i = 0;
  while (i < length) {
    int run = sequenceLength(bytes + i, length - i);
    if (run == 1) {
      result.append(QChar(bytes[i]));
    } else if (run > 1) {
      result.append(QString::fromUtf8(text + i, run));
    } else if (bytes[i] >= 0x80 && bytes[i] < 0xA0) {
      result.append(QChar(windows1252High[bytes[i] - 0x80]));
      run = 1;
    } else {
      result.append(QChar(bytes[i]));  // 0xA0-0xFF: Windows-1252 agrees with Latin-1
      run = 1;
    }
    i += run;
  }
  return result;
}

}  // namespace vornplatform
