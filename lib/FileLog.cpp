// Log files: the header and the file behind the stream's writes.
#include "lib/FileLog.h"

#include <cstring>
#include <ctime>

#include "platform/win32.h"

FileLog::FileLog(const char* fileName, int size) : TextStream(size) { open(fileName); }

FileLog::~FileLog() { close(); }

void FileLog::open(const char* fileName) {
  // A line left open belongs to the old file (or to none), never to the new header.
  endLine();
  close();
  if (!fileName) return;
  file_ = fopenPath(fileName, "w");
  written_ = 0;
  stopped_ = false;
  lastByte_ = '\n';

  char date[16] = "";
  char time[16] = "";
  std::time_t now = std::time(nullptr);
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(date, sizeof date, "%m/%d/%y", local);
    std::strftime(time, sizeof time, "%H:%M:%S", local);
  }
  printLine("Log File : %s\n", fileName);
  printLine("Created the %s, at %s\n", date, time);
  printLine("-------------------------------------------------------------");
  printLine("\n\n");
}

void FileLog::write(const char* text) {
  if (!file_ || stopped_) return;
  const long length = static_cast<long>(std::strlen(text));
  if (length == 0) return;
  if (length > kSizeLimit - written_) {
    stopLogging();
    return;
  }
  std::fputs(text, file_);
  written_ += length;
  lastByte_ = text[length - 1];
}

void FileLog::stopLogging() {
  stopped_ = true;
  // The closing line stands on a line of its own, even when the limit cut a line short.
  if (lastByte_ != '\n') std::fputs("\n", file_);
  std::fprintf(file_, "Log size limit reached (%ld MB): logging stopped.\n",
               kSizeLimit / (1024 * 1024));
  std::fflush(file_);
}

void FileLog::close() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
}
