// UTF-8 with a Windows-1252 fallback for stray bytes, so any byte string shows as something.
#include "platform/TextCodec.h"

namespace vornplatform {
namespace {

// Windows-1252 characters of bytes 0x80-0x9F; the five unassigned bytes keep their code.
const char16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t windows1252Char(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t(byte);
}

size_t utf8SequenceAt(const unsigned char* text, size_t length, size_t i, char32_t* code) {
  unsigned char lead = text[i];
  size_t count;
  char32_t value;
  char32_t minimum;
  if (lead < 0x80) {
    count = 1, value = lead, minimum = 0;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    count = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    count = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    count = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + count > length) return 0;
  for (size_t k = 1; k < count; ++k) {
    if ((text[i + k] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (text[i + k] & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  if (code) *code = value;
  return count;
}

QString bytesToQString(const char* bytes, size_t length) {
  QString out;
  if (!bytes) return out;
  out.reserve(static_cast<qsizetype>(length));
  auto* text = reinterpret_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < length;) {
    if (text[i] < 0x80) {
      out.append(QChar(char16_t(text[i++])));
      continue;
    }
    char32_t code = 0;
    size_t n = utf8SequenceAt(text, length, i, &code);
    if (n == 0) {
      out.append(QChar(windows1252Char(text[i++])));
      continue;
    }
    char32_t one[1] = {code};
    out.append(QString::fromUcs4(one, 1));
    i += n;
  }
  return out;
}

std::string qStringToBytes(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

}  // namespace vornplatform
