// The commands of a logged-in user: the first word names the command (case ignored); any
// other line is a chat sentence to the user's channel.
#include <cstdio>

#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/ChatText.h"

namespace {

// Groups whose members may not send client data.
bool refusesData(const std::string& group) {
  static const char* const Refusing[] = {"emote", "register", "nogroup", "aubel", "banned"};
  std::string lower = lowerCase(group);
  for (const char* name : Refusing)
    if (lower == name) return true;
  return false;
}

const char* const NickCommands[] = {"beep", "finger", "invite", "bump", "kick"};

}  // namespace

void ChatServer::onCommand(Connection& c, const std::string& line) {
  std::string word;
  std::string rest;
  splitWord(line, word, rest);
  if (word.empty()) return;
  std::string command = lowerCase(word);
  if (runUserCommand(c, command, rest) || runListCommand(c, command, rest)) return;
  say(c, line);
}

bool ChatServer::runUserCommand(Connection& c, const std::string& word, const std::string& rest) {
  std::string first;
  std::string more;
  splitWord(rest, first, more);
  if (word == "set") {
    if (lowerCase(first) == "client" && !more.empty()) {
      std::string version;
      splitWord(more, c.client, version);
    } else {
      sendLine(c, "<Nev> Usage: set client NAME VERSION");
    }
  } else if (word == "who" && (rest.empty() || lowerCase(rest) == "all")) {
    who(c, !rest.empty());
  } else if (word == "quit") {
    sendToAll("<-- " + c.nick + " leaves" + (rest.empty() ? "." : ": " + rest), &c);
    c.closing = true;
  } else if (word == "senddata") {
    senddata(c, rest);
  } else if (word == ".t" || word == "tell") {
    tell(c, rest);
  } else if (word == "away" || word == "back") {
    bool away = word == "away";
    if (c.away == away) {
      sendLine(c, away ? "<Nev> You are already away." : "<Nev> You are not away.");
      return true;
    }
    c.away = away;
    sendLine(c, away ? "You are now away." : "You are back.");
    sendToAll("<Nev> " + c.nick + (away ? " is now away." : " is back."), &c);
  } else {
    for (const char* command : NickCommands)
      if (word == command) {
        onNickCommand(c, word, first);
        return true;
      }
    return false;
  }
  return true;
}

std::string ChatServer::idleOf(const Connection& c) const {
  std::string idle = c.idle;
  if (idle.empty()) {
    long minutes = static_cast<long>(std::time(nullptr) - c.lastActive) / 60;
    if (minutes < 60)
      idle = std::to_string(minutes) + "m";
    else if (minutes < 24 * 60)
      idle = std::to_string(minutes / 60) + "h";
    else
      idle = std::to_string(minutes / (24 * 60)) + "d";
  }
  return c.away ? "*" + idle : idle;
}

void ChatServer::who(Connection& c, bool all) {
  sendLine(c, "=== Who list ===");
  sendLine(c, "-----");
  int count = 0;
  for (const ConnectionPtr& u : connections_) {
    if (u->stage != Stage::Chat || u->closing || (!all && u->channel != c.channel)) continue;
    char line[256];
    std::snprintf(line, sizeof line, "> %-16s %-10s %-6s %-16s %s", u->nick.c_str(),
                  u->client.substr(0, 32).c_str(), idleOf(*u).substr(0, 16).c_str(),
                  u->channel.c_str(), u->group.c_str());
    sendLine(c, line);
    ++count;
  }
  sendLine(c, "-----");
  sendLine(c, "=== " + std::to_string(count) + " users ===");
}

void ChatServer::senddata(Connection& c, const std::string& rest) {
  // The payload is everything after the blank behind the nick, passed on as it came.
  size_t nickEnd = rest.find_first_of(" \t");
  if (nickEnd == std::string::npos || nickEnd + 1 >= rest.size()) {
    sendLine(c, "<Nev> Usage: senddata NICK DATA");
    return;
  }
  std::string nick = rest.substr(0, nickEnd);
  if (refusesData(c.group)) {
    sendLine(c, "<Nev> Your group can't send data.");
    return;
  }
  Connection* target = findUser(nick);
  if (!target) {
    sendNotLoggedIn(c, nick);
    return;
  }
  sendLine(*target, "[data] " + c.nick + " " + rest.substr(nickEnd + 1));
}

void ChatServer::tell(Connection& c, const std::string& rest) {
  std::string nick;
  std::string text;
  splitWord(rest, nick, text);
  if (text.empty()) {
    sendLine(c, "<Nev> Usage: tell NICK TEXT");
    return;
  }
  Connection* target = findUser(nick);
  if (!target) {
    sendNotLoggedIn(c, nick);
    return;
  }
  sendLine(c, "You tell " + target->nick + ": " + text);
  if (target->away) sendLine(c, "<Nev> " + target->nick + " is away and may not answer.");
  sendLine(*target, c.nick + " tells you: " + text);
}

void ChatServer::onNickCommand(Connection& c, const std::string& word, const std::string& nick) {
  if (nick.empty()) {
    sendLine(c, "<Nev> Usage: " + word + " NICK");
    return;
  }
  Connection* target = findUser(nick);
  if (!target) {
    sendNotLoggedIn(c, nick);
  } else if (word == "beep") {
    sendLine(c, "You beep " + target->nick + ".");
    sendLine(*target, "<Nev> " + c.nick + " beeps you !");
  } else if (word == "finger") {
    finger(c, *target);
  } else if (word == "invite") {
    sendLine(c, "You invite " + target->nick + " to the channel " + c.channel + ".");
    sendLine(*target, "<Nev> " + c.nick + " invites you to the channel " + c.channel + ".");
  } else if (target == &c) {
    sendLine(c, "<Nev> You can't " + word + " yourself.");
  } else if (word == "bump") {
    bump(c, *target);
  } else {
    kick(c, *target);
  }
}

void ChatServer::finger(Connection& c, const Connection& target) {
  sendLine(c, "<Nev> Finger " + target.nick);
  sendLine(c, "  Login   : " + target.nick);
  sendLine(c, "  Client  : " + target.client);
  sendLine(c, "  Group   : " + target.group);
  sendLine(c, "  Channel : " + target.channel);
  sendLine(c, "  Idle    : " + idleOf(target));
}

void ChatServer::bump(Connection& c, Connection& target) {
  if (target.channel == "Hall") {
    sendLine(c, "<Nev> " + target.nick + " is already in the Hall.");
    return;
  }
  std::string old = target.channel;
  target.channel = "Hall";
  sendLine(c, "You bump " + target.nick + ".");
  sendLine(target, "You have been bumped to the Hall by " + c.nick + ".");
  for (ConnectionPtr& u : connections_) {
    if (u.get() == &target || u->stage != Stage::Chat || u->closing) continue;
    if (u->channel == "Hall")
      sendLine(*u, "--> " + target.nick + " comes from the channel " + old);
    else
      sendLine(*u, "<Nev> " + target.nick + " has been bumped to the Hall");
  }
}

void ChatServer::kick(Connection& c, Connection& target) {
  sendLine(c, "You kick " + target.nick + ".");
  sendLine(target, "You have been kicked out by " + c.nick + ".");
  target.closing = true;
  sendToAll("<Nev> " + target.nick + " has been kicked out by " + c.nick, &c);
}
