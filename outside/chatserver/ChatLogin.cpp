// The login dialogue: banner, login prompt, password prompt for accounts that have one, and
// the announcement of a user who came in.
#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/ChatText.h"

namespace {

const size_t MaxLoginLength = 16;
// A client whose saved login keeps failing would otherwise loop at network speed.
const int MaxFailedLogins = 5;

// Names the server's own lines begin with: a user called so could forge them.
bool isReserved(const std::string& name) {
  std::string lower = lowerCase(name);
  return lower == "nev" || lower == "you";
}

std::string trimmed(const std::string& text) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t");
  return text.substr(start, end - start + 1);
}

}  // namespace

void ChatServer::greet(Connection& c) {
  sendLine(c, "<Nev> Welcome to the NevChat test server");
  sendPrompt(c, "<Nev> Login: ", false);
}

void ChatServer::onLine(Connection& c, const ReadLine& line) {
  c.lastActive = std::time(nullptr);
  c.idle.clear();
  if (c.stage == Stage::Chat)
    record(c.nick, line.text);
  else
    c.received.push_back(line.text);
  if (line.cut)
    sendLine(c, "<Nev> Line too long, cut at " + std::to_string(options_.maxLine) + " characters.");
  switch (c.stage) {
    case Stage::Login:
      onLoginName(c, trimmed(line.text));
      break;
    case Stage::Password:
      onPassword(c, line.text);
      break;
    case Stage::Chat:
      onCommand(c, line.text);
      break;
  }
}

void ChatServer::onLoginName(Connection& c, const std::string& name) {
  if (!isWordName(name, MaxLoginLength) || isReserved(name)) {
    failLogin(c, "<Nev> Invalid login name !");
    return;
  }
  if (findUser(name)) {
    failLogin(c, "<Nev> " + name + " is already logged in !");
    return;
  }
  c.nick = name;
  auto account = accounts_.find(lowerCase(name));
  if (account != accounts_.end() && !account->second.password.empty()) {
    c.stage = Stage::Password;
    sendPrompt(c, "<Nev> Password: ", true);
    return;
  }
  completeLogin(c);
}

void ChatServer::onPassword(Connection& c, const std::string& password) {
  c.echoBack = options_.telnet;
  auto account = accounts_.find(lowerCase(c.nick));
  if (account == accounts_.end() || account->second.password != password) {
    failLogin(c, "<Nev> Invalid password !");
    return;
  }
  // Someone else may have taken the name while this client typed its password.
  if (findUser(c.nick)) {
    failLogin(c, "<Nev> " + c.nick + " is already logged in !");
    return;
  }
  completeLogin(c);
}

void ChatServer::failLogin(Connection& c, const std::string& reason) {
  c.stage = Stage::Login;
  c.nick.clear();
  sendLine(c, reason);
  if (++c.failedLogins >= MaxFailedLogins) {
    sendLine(c, "<Nev> Too many failed logins, bye.");
    c.closing = true;
    return;
  }
  sendPrompt(c, "<Nev> Login: ", false);
}

void ChatServer::completeLogin(Connection& c) {
  auto account = accounts_.find(lowerCase(c.nick));
  c.group =
      account != accounts_.end() && !account->second.group.empty() ? account->second.group : "User";
  c.stage = Stage::Chat;
  c.channel = "Hall";
  c.away = false;
  std::vector<std::string>& lines = transcripts_[lowerCase(c.nick)];
  lines.insert(lines.end(), c.received.begin(), c.received.end());
  c.received.clear();
  sendLine(c, "<Nev> Welcome " + c.nick + ", you are logged in.");
  sendTopic(c);
  sendToAll("--> " + c.nick + " comes in.", &c);
}

void ChatServer::record(const std::string& nick, const std::string& line) {
  transcripts_[lowerCase(nick)].push_back(line);
}

void ChatServer::addUser(const std::string& name, const std::string& password,
                         const std::string& group) {
  std::lock_guard<std::mutex> lock(mutex_);
  accounts_[lowerCase(name)] = {password, group};
}

std::vector<std::string> ChatServer::transcript(const std::string& nick) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = transcripts_.find(lowerCase(nick));
  return found == transcripts_.end() ? std::vector<std::string>() : found->second;
}

bool ChatServer::isLoggedIn(const std::string& nick) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return findUser(nick) != nullptr;
}

int ChatServer::connectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  int count = 0;
  for (const ConnectionPtr& c : connections_)
    if (c->fd >= 0) ++count;
  return count;
}
