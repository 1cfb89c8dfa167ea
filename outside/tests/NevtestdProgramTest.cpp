// The chat server program: it serves, reads admin commands on its standard input, ends with
// it, and refuses bad arguments.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "outside/tests/TestClient.h"

namespace {

// The program with its standard input and output on pipes.
class Program {
 public:
  explicit Program(std::vector<const char*> args) {
    args.insert(args.begin(), "nevtestd");
    args.push_back(nullptr);
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      ::close(in[1]);  // else the program never sees its input end
      execv(NEVTESTD_PATH, const_cast<char* const*>(args.data()));
      _exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    input = in[1];
    output = out[0];
  }
  ~Program() {
    ::close(input);
    ::close(output);
    if (pid > 0 && !exited) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  // Reads the output until it holds text.
  bool waitFor(const std::string& text) {
    char buffer[512];
    while (read.find(text) == std::string::npos) {
      pollfd p{output, POLLIN, 0};
      ssize_t count = poll(&p, 1, 3000) > 0 ? ::read(output, buffer, sizeof buffer) : 0;
      if (count <= 0) return false;
      read.append(buffer, static_cast<size_t>(count));
    }
    return true;
  }
  // The exit status, or -1 when it does not end within three seconds.
  int waitForExit() {
    for (int tries = 0; tries < 300; ++tries, usleep(10000)) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        exited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
    }
    return -1;
  }

  std::string read;
  pid_t pid = -1;
  int input = -1, output = -1;
  bool exited = false;
};

TEST(NevtestdProgramTest, ServesReadsAdminCommandsAndEndsWithItsInput) {
  Program program({"--port", "0", "--no-stamp", "--quit-on-eof", "--user", "bob:pw:Banned"});
  ASSERT_TRUE(program.waitFor("\n"));
  size_t colon = program.read.rfind(':');
  ASSERT_EQ("nevtestd: listening on 127.0.0.1", program.read.substr(0, colon));
  TestClient bob(std::stoi(program.read.substr(colon + 1)));
  ASSERT_TRUE(bob.login("bob", "pw"));
  bob.send("senddata bob VREQ PING\n");
  EXPECT_TRUE(bob.waitFor("<Nev> Your group can't send data.\n"));
  std::string commands = "to bob hello from the operator\nwhat\n";
  ASSERT_EQ((ssize_t)commands.size(), write(program.input, commands.data(), commands.size()));
  EXPECT_TRUE(bob.waitFor("hello from the operator\n"));
  EXPECT_TRUE(program.waitFor("ok\nerror: unknown command what\n"));
  ::close(program.input);
  program.input = -1;
  EXPECT_EQ(0, program.waitForExit());
  EXPECT_TRUE(bob.waitForClose());
}

TEST(NevtestdProgramTest, RefusesBadArguments) {
  for (const char* bad : {"--port", "--bogus", "--port=1"})
    EXPECT_EQ(2, Program({bad}).waitForExit()) << bad;
}

}  // namespace
