#include "host/IniSectionReader.h"

#include <cstring>

#include "platform/win32.h"
#include "sdk/NoCase.h"

IniSectionReader::IniSectionReader(const char* fileName) : buffer(new char[BufferSize]) {
  buffer[0] = 0;
  buffer[1] = 0;
  // A null section asks for the list of section names, each ended by a NUL, then one more.
  GetPrivateProfileStringA(nullptr, nullptr, "", buffer, BufferSize - 1, fileName);
  buffer[BufferSize - 1] = 0;
  rewind();
}

IniSectionReader::~IniSectionReader() { delete[] buffer; }

void IniSectionReader::rewind() {
  cursor = buffer;
  skipSystem();
}

bool IniSectionReader::hasNext() const { return *cursor != 0; }

const char* IniSectionReader::next() {
  const char* name = cursor;
  if (*cursor != 0) cursor += std::strlen(cursor) + 1;
  skipSystem();
  return name;
}

// A loop, so that "System" followed by "SYSTEM" skips both.
void IniSectionReader::skipSystem() {
  while (*cursor != 0 && equalsNoCase(cursor, "System")) cursor += std::strlen(cursor) + 1;
}
