#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "outside/tests/TestClient.h"

namespace {

// The program with its standard input and output on pipes.
class Program {
 public:
  explicit Program(const char* const* args) {
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      ::close(in[1]);
      ::close(out[0]);
      execv(NEVTESTD_PATH, const_cast<char* const*>(args));
      _exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~Program() {
    closeInput();
    if (output_ >= 0) ::close(output_);
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  void write(const std::string& text) {
    ssize_t written = ::write(input_, text.data(), text.size());
    EXPECT_EQ(written, static_cast<ssize_t>(text.size()));
  }
  void closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }
  // Reads the output until it holds text.
  bool waitFor(const std::string& text) {
    while (output.find(text) == std::string::npos) {
      pollfd p{output_, POLLIN, 0};
      if (poll(&p, 1, 3000) <= 0) return false;
      char buffer[512];
      ssize_t count = read(output_, buffer, sizeof buffer);
      if (count <= 0) return false;
      output.append(buffer, static_cast<size_t>(count));
    }
    return true;
  }
  // The exit status, or -1 when it does not end within three seconds.
  int waitForExit() {
    for (int tries = 0; tries < 300; ++tries) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(10000);
    }
    return -1;
  }

  std::string output;

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  bool exited_ = false;
};

TEST(NevtestdProgramTest, ServesReadsAdminCommandsAndEndsWithItsInput) {
  const char* const args[] = {"nevtestd", "--port",        "0",    "--no-stamp", "--quit-on-eof",
                              "--user",   "bob:pw:Banned", nullptr};
  Program program(args);
  ASSERT_TRUE(program.waitFor("\n"));
  size_t colon = program.output.rfind(':');
  ASSERT_EQ(program.output.substr(0, colon), "nevtestd: listening on 127.0.0.1");
  int port = std::stoi(program.output.substr(colon + 1));

  TestClient bob(port);
  ASSERT_TRUE(bob.login("bob", "pw"));
  bob.send("senddata bob VREQ PING\n");
  EXPECT_TRUE(bob.waitFor("<Nev> Your group can't send data.\n"));
  program.write("to bob hello from the operator\nmoved bob 127.0.0.1 4778\nwhat\n");
  EXPECT_TRUE(bob.waitFor("hello from the operator\n<Nev> Server moved to 127.0.0.1 4778\n"));
  EXPECT_TRUE(program.waitFor("ok\nok\nerror: unknown command what\n"));
  program.closeInput();
  EXPECT_EQ(program.waitForExit(), 0);
  EXPECT_TRUE(bob.waitForClose());
}

TEST(NevtestdProgramTest, RefusesBadArguments) {
  for (const char* bad : {"--port", "--bogus", "--port=1"}) {
    const char* const args[] = {"nevtestd", bad, nullptr};
    Program program(args);
    EXPECT_EQ(program.waitForExit(), 2) << bad;
  }
}

}  // namespace
