// The section names of one settings file, in file order, read in one go; every section named
// "System" (the host's own, in any letter case) is stepped over.
#pragma once

class IniSectionReader {
 public:
  enum { BufferSize = 65536 };

  // Reads the names of fileName's sections and rewinds.
  explicit IniSectionReader(const char* fileName = ".\\Vornith.ini");
  ~IniSectionReader();
  IniSectionReader(const IniSectionReader&) = delete;
  IniSectionReader& operator=(const IniSectionReader&) = delete;

  void rewind();
  // Whether a name is left to read.
  bool hasNext() const;
  // The current name; the cursor moves on to the next one.
  const char* next();

 private:
  void skipSystem();

  char* buffer;
  const char* cursor;
};
