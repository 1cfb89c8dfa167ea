// nevtestd: the chat server as a program. Serves until killed (or, with --quit-on-eof, until
// its standard input ends); admin commands are read from standard input.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "outside/chatserver/ChatServer.h"

namespace {

const char* const Usage =
    "usage: nevtestd --port N [--bind ADDR] [--no-stamp] [--telnet] [--quit-on-eof]\n"
    "                [--user name:password:group]...\n"
    "admin commands on standard input:\n"
    "  to <nick|*> <raw>   group <nick> <group>   moved <nick> <host> <port>\n"
    "  badserver <nick> <host> <port>   drop <nick>   idle <nick> <value>\n";

struct Arguments {
  ChatServerOptions options;
  std::vector<std::string> users;
  bool quitOnEof = false;
  bool portGiven = false;
};

bool parseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--port" && hasValue) {
      char* end = nullptr;
      long port = std::strtol(argv[++i], &end, 10);
      if (*end || port < 0 || port > 65535) return false;
      args.options.port = static_cast<int>(port);
      args.portGiven = true;
    } else if (arg == "--bind" && hasValue) {
      args.options.bindAddress = argv[++i];
    } else if (arg == "--user" && hasValue) {
      args.users.push_back(argv[++i]);
    } else if (arg == "--no-stamp") {
      args.options.stamp = false;
    } else if (arg == "--telnet") {
      args.options.telnet = true;
    } else if (arg == "--quit-on-eof") {
      args.quitOnEof = true;
    } else {
      return false;
    }
  }
  return args.portGiven;
}

// "name:password:group"; password and group may be empty or left out.
void addAccount(ChatServer& server, const std::string& account) {
  size_t first = account.find(':');
  size_t second = first == std::string::npos ? std::string::npos : account.find(':', first + 1);
  std::string name = account.substr(0, first);
  std::string password =
      first == std::string::npos ? std::string() : account.substr(first + 1, second - first - 1);
  std::string group = second == std::string::npos ? std::string() : account.substr(second + 1);
  server.addUser(name, password, group);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!parseArguments(argc, argv, args)) {
    std::fputs(Usage, stderr);
    return 2;
  }
  ChatServer server(args.options);
  for (const std::string& user : args.users) addAccount(server, user);
  if (!server.listen()) {
    std::fprintf(stderr, "nevtestd: %s\n", server.error().c_str());
    return 1;
  }
  std::printf("nevtestd: listening on %s:%d\n", args.options.bindAddress.c_str(), server.port());
  std::fflush(stdout);
  server.watchAdminInput(STDIN_FILENO, STDOUT_FILENO, args.quitOnEof);
  while (server.running()) server.runOnce(-1);
  return 0;
}
