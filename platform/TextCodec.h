// Conversion between the layer's 8-bit text and Qt strings: bytes are read as UTF-8, and a
// byte that is not part of valid UTF-8 stands for its Windows-1252 character.
#pragma once

#include <QString>
#include <string>

// Exported so that the layer's own tests can reach it.
#pragma GCC visibility push(default)
namespace vornplatform {

QString bytesToQString(const char* bytes, size_t length);
inline QString bytesToQString(const std::string& bytes) {
  return bytesToQString(bytes.data(), bytes.size());
}
inline QString bytesToQString(const char* text) {
  return text ? bytesToQString(text, std::char_traits<char>::length(text)) : QString();
}
// Qt text back to bytes: always UTF-8.
std::string qStringToBytes(const QString& text);

// Length of the valid UTF-8 sequence at text[i] (1 for ASCII), or 0 when the byte there
// starts none; code receives its code point when not null.
size_t utf8SequenceAt(const unsigned char* text, size_t length, size_t i, char32_t* code = nullptr);
// Windows-1252 character of a byte (bytes below 0x80 and 0xA0 and up stand for themselves;
// the five unassigned ones keep their code).
char16_t windows1252Char(unsigned char byte);

}  // namespace vornplatform
#pragma GCC visibility pop
