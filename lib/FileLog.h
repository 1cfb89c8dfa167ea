// A text stream written to a log file that starts with a short header (name, creation time).
// Each client keeps one for its traffic and events.
#pragma once

#include <cstdio>

#include "lib/TextStream.h"

class FileLog : public TextStream {
 public:
  // Bytes one opened file may take (header included); a log fed by a hostile server would
  // otherwise fill the disk. Past it one last line says that logging stopped.
  static constexpr long kSizeLimit = 16L * 1024 * 1024;

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
  // Writes the closing line once and drops every later write until the next open.
  void stopLogging();

  FILE* file_ = nullptr;
  long written_ = 0;
  bool stopped_ = false;
  char lastByte_ = '\n';
};
