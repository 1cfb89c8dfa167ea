// The operator's side: operations on logged-in users, as methods and as text commands read
// from an admin input (the program's standard input).
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/ChatText.h"

namespace {

bool isToken(const std::string& text) {
  return !text.empty() && text.find_first_of(" \t") == std::string::npos;
}

bool isPort(int port) { return port > 0 && port < 65536; }

}  // namespace

bool ChatServer::forTargets(const std::string& nick,
                            const std::function<void(Connection&)>& action) {
  bool found = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = lowerCase(nick);
    for (ConnectionPtr& c : connections_) {
      if (c->stage != Stage::Chat || c->closing) continue;
      if (nick != "*" && lowerCase(c->nick) != key) continue;
      found = true;
      action(*c);
    }
  }
  wake();
  return found;
}

bool ChatServer::inject(const std::string& nick, const std::string& rawBytes) {
  return forTargets(nick, [&](Connection& c) { sendRaw(c, rawBytes); });
}

bool ChatServer::setGroup(const std::string& nick, const std::string& group) {
  if (!isWordName(group, 32)) return false;
  return forTargets(nick, [&](Connection& c) {
    c.group = group;
    sendLine(c, "Your group is now " + group + ".");
  });
}

bool ChatServer::moved(const std::string& nick, const std::string& host, int port) {
  if (!isToken(host) || !isPort(port)) return false;
  std::string line = "<Nev> Server moved to " + host + " " + std::to_string(port);
  return forTargets(nick, [&](Connection& c) { sendLine(c, line); });
}

bool ChatServer::badServer(const std::string& nick, const std::string& host, int port) {
  if (!isToken(host) || !isPort(port)) return false;
  std::string line = "<Nev> Wrong server, use " + host + " " + std::to_string(port);
  return forTargets(nick, [&](Connection& c) { sendLine(c, line); });
}

bool ChatServer::drop(const std::string& nick) {
  return forTargets(nick, [&](Connection& c) { closeConnection(c, "dropped"); });
}

bool ChatServer::setIdle(const std::string& nick, const std::string& value) {
  if (!isToken(value)) return false;
  return forTargets(nick, [&](Connection& c) { c.idle = value; });
}

std::string ChatServer::adminCommand(const std::string& line) {
  std::string word;
  std::string rest;
  splitWord(line, word, rest);
  std::string nick;
  std::string args;
  splitWord(rest, nick, args);
  std::string first;
  std::string second;
  splitWord(args, first, second);
  bool done = false;
  if (word == "to" && !nick.empty())
    done = inject(nick, args + "\n");
  else if (word == "group")
    done = setGroup(nick, first);
  else if (word == "moved")
    done = moved(nick, first, std::atoi(second.c_str()));
  else if (word == "badserver")
    done = badServer(nick, first, std::atoi(second.c_str()));
  else if (word == "drop")
    done = drop(nick);
  else if (word == "idle")
    done = setIdle(nick, first);
  else if (!word.empty())
    return "error: unknown command " + word;
  else
    return std::string();
  return done ? "ok" : "error: no such user or bad arguments: " + line;
}

void ChatServer::watchAdminInput(int fd, int replyFd, bool quitOnEof) {
  std::lock_guard<std::mutex> lock(mutex_);
  adminFd_ = fd;
  adminReplyFd_ = replyFd;
  quitOnEof_ = quitOnEof;
}

void ChatServer::readAdminInput() {
  char buffer[4096];
  ssize_t count = read(adminFd_, buffer, sizeof buffer);
  if (count <= 0) {
    adminFd_ = -1;
    if (quitOnEof_) running_ = false;
    return;
  }
  adminInput_.append(buffer, static_cast<size_t>(count));
}

void ChatServer::runAdminLines() {
  std::vector<std::string> lines;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t end;
    while ((end = adminInput_.find('\n')) != std::string::npos) {
      lines.push_back(adminInput_.substr(0, end));
      adminInput_.erase(0, end + 1);
    }
  }
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string reply = adminCommand(line);
    if (reply.empty() || adminReplyFd_ < 0) continue;
    reply += "\n";
    ssize_t written = write(adminReplyFd_, reply.data(), reply.size());
    (void)written;  // nobody to tell when the operator's output is gone
  }
}
