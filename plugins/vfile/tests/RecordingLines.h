// What a transfer hands its owner, recorded for tests and benchmarks: control and console
// lines, and a scripted answer to the save question.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "plugins/vfile/TransferLines.h"

class RecordingLines : public TransferLines {
 public:
  explicit RecordingLines(std::string target = "") : target(std::move(target)) {}

  void sendLine(const std::string& line) override {
    std::lock_guard<std::mutex> guard(lock);
    sent.push_back(line);
  }
  void printLine(const std::string& line) override {
    std::lock_guard<std::mutex> guard(lock);
    printed.push_back(line);
  }
  std::string chooseTarget(const std::string& offeredName) override {
    std::lock_guard<std::mutex> guard(lock);
    offered.push_back(offeredName);
    return target;
  }

  std::vector<std::string> sentLines() {
    std::lock_guard<std::mutex> guard(lock);
    return sent;
  }
  std::vector<std::string> printedLines() {
    std::lock_guard<std::mutex> guard(lock);
    return printed;
  }

  std::string target;  // "" refuses

 private:
  std::mutex lock;
  std::vector<std::string> sent, printed, offered;
};
