// What a transfer hands its owner, recorded for tests and benchmarks: control and console
// lines, and the notices of received files.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "plugins/vfile/TransferLines.h"

class RecordingLines : public TransferLines {
 public:
  void sendLine(const std::string& line) override { add(sent, line); }
  void printLine(const std::string& line) override { add(printed, line); }
  void noticeLine(const std::string& line) override { add(noticed, line); }

  std::vector<std::string> sentLines() { return copy(sent); }
  std::vector<std::string> printedLines() { return copy(printed); }
  std::vector<std::string> noticedLines() { return copy(noticed); }

 private:
  void add(std::vector<std::string>& to, const std::string& line) {
    std::lock_guard<std::mutex> guard(lock);
    to.push_back(line);
  }
  std::vector<std::string> copy(const std::vector<std::string>& from) {
    std::lock_guard<std::mutex> guard(lock);
    return from;
  }

  std::mutex lock;
  std::vector<std::string> sent, printed, noticed;
};
