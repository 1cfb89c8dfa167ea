// A program the desktop tests start: it runs in a process group of its own and dies with the
// test program, and the whole group is killed when the object goes, so nothing outlives a case.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// Polls condition every stepMs until it holds (true) or timeoutMs passed (false).
bool pollUntil(const std::function<bool()>& condition, int timeoutMs, int stepMs);

struct ChildOptions {
  std::vector<std::string> environment;  // "NAME=value", set over the test program's own
  std::string workingFolder;             // empty: the test program's
  std::string outputFile;                // standard output and error; empty: /dev/null
  std::string input;                     // written to its standard input, which is then closed
  int passFd = -1;                       // handed to the child as descriptor 3
};

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool start(const std::vector<std::string>& argv, const ChildOptions& options);
  bool running();
  // Waits up to timeoutMs for the end; true when it ended (exitCode() then tells how).
  bool wait(int timeoutMs);
  int exitCode() const { return exitCode_; }  // -1 until it ended, 128 + signal when killed
  // Ends the group: SIGTERM, SIGKILL after a grace time, then reaps the child.
  void stop();

 private:
  bool ended();

  pid_t pid_ = -1;
  int exitCode_ = -1;
};

// Runs a tool to its end, killed after timeoutMs; its exit code, -1 when it could not run or
// overran.
int runTool(const std::vector<std::string>& argv, const ChildOptions& options, int timeoutMs);
