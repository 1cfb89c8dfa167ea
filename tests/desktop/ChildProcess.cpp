#include "tests/desktop/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

std::string nameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// The test program's environment with the options' entries set over it.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    bool replaced = false;
    for (const std::string& o : overrides) replaced = replaced || nameOf(o) == nameOf(*entry);
    if (!replaced) merged.push_back(*entry);
  }
  merged.insert(merged.end(), overrides.begin(), overrides.end());
  return merged;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(&s[0]);
  pointers.push_back(nullptr);
  return pointers;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeChild(pid_t parent, int inputFd, int outputFd, int passFd,
                              const char* folder, char** argv, char** envp) {
  setpgid(0, 0);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(125);  // the test program ended before the line above
  dup2(inputFd, 0);
  dup2(outputFd, 1);
  dup2(outputFd, 2);
  if (passFd >= 0) dup2(passFd, 3);
  for (int fd = passFd >= 0 ? 4 : 3; fd < 1024; ++fd) close(fd);
  if (*folder != '\0' && chdir(folder) != 0) _exit(126);
  execvpe(argv[0], argv, envp);
  _exit(127);
}

}  // namespace

bool ChildProcess::start(const std::vector<std::string>& argvIn, const ChildOptions& options) {
  stop();
  std::vector<std::string> args = argvIn;
  std::vector<std::string> env = mergedEnvironment(options.environment);
  std::vector<char*> argv = pointersTo(args);
  std::vector<char*> envp = pointersTo(env);
  std::string output = options.outputFile.empty() ? "/dev/null" : options.outputFile;
  int outputFd = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  int inputPipe[2] = {-1, -1};
  if (outputFd < 0 || pipe2(inputPipe, O_CLOEXEC) != 0) {
    if (outputFd >= 0) close(outputFd);
    return false;
  }
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid == 0)
    becomeChild(parent, inputPipe[0], outputFd, options.passFd, options.workingFolder.c_str(),
                argv.data(), envp.data());
  close(outputFd);
  close(inputPipe[0]);
  if (pid > 0) {
    setpgid(pid, pid);         // also here, so that stop() never races the child's own call
    signal(SIGPIPE, SIG_IGN);  // a child that closes its input early must not end the tests
    if (write(inputPipe[1], options.input.data(), options.input.size()) < 0) {
      // A child that reads nothing just does not get its input.
    }
  }
  close(inputPipe[1]);
  pid_ = pid > 0 ? pid : -1;
  exitCode_ = -1;
  return pid_ > 0;
}

// Notes the end without reaping: while the child stays a zombie its group id cannot be reused.
bool ChildProcess::ended() {
  if (pid_ <= 0) return true;
  if (exitCode_ >= 0) return true;
  siginfo_t info;
  std::memset(&info, 0, sizeof info);
  if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
  if (info.si_pid == 0) return false;
  exitCode_ = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
  return true;
}

bool ChildProcess::running() { return pid_ > 0 && !ended(); }

bool pollUntil(const std::function<bool()>& condition, int timeoutMs, int stepMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
  }
  return true;
}

bool ChildProcess::wait(int timeoutMs) {
  return pollUntil([this] { return ended(); }, timeoutMs, 10);
}

void ChildProcess::stop() {
  if (pid_ <= 0) return;
  if (!ended()) {
    kill(-pid_, SIGTERM);
    if (!wait(2000)) kill(-pid_, SIGKILL);
  }
  kill(-pid_, SIGKILL);  // whatever the child left behind in its group
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

int runTool(const std::vector<std::string>& argv, const ChildOptions& options, int timeoutMs) {
  ChildProcess tool;
  if (!tool.start(argv, options)) return -1;
  if (!tool.wait(timeoutMs)) return -1;
  return tool.exitCode();
}
