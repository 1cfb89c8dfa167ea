// A text stream written to a log file that starts with a short header (name, creation time).
// Each client keeps one for its traffic and events.
#pragma once

#include <cstdio>

#include "lib/TextStream.h"

class FileLog : public TextStream {
 public:
  // size is the stream's buffer size (see TextStream).
  FileLog(const char* fileName, int size);
  ~FileLog() override;

  // Creates (or empties) the file and writes the header. An already open file is closed first.
  // A file that cannot be opened leaves the log closed; writes are then dropped.
  virtual void open(const char* fileName);

 protected:
  void write(const char* text) override;

 private:
  void close();

  FILE* file_ = nullptr;
};
