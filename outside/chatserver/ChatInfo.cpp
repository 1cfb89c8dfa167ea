// The server's listings: help, info, stored messages, the wall and the channel history.
#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/ChatText.h"

namespace {

struct HelpEntry {
  const char* command;
  const char* usage;
};

const HelpEntry Help[] = {
    {"who", "who [all]            users of your channel, or of every channel"},
    {"tell", "tell NICK TEXT       (or .t) a private line to NICK"},
    {"senddata", "senddata NICK DATA   data for NICK's client"},
    {"join", "join CHANNEL         go to a channel ('_' first: hidden)"},
    {"leave", "leave                back to the Hall"},
    {"topic", "topic [TEXT]         show or set the channel's topic"},
    {"emote", "emote TEXT           an action in your channel"},
    {"shout", "shout TEXT           a line to every channel"},
    {"away", "away / back          your away mark"},
    {"beep", "beep/finger/invite/bump/kick NICK"},
    {"msg", "msg NICK TEXT        a message NICK reads with 'messages'"},
    {"post", "post TEXT            a line on the wall ('wall' shows it)"},
    {"set", "set client NAME VER  the client you use"},
    {"quit", "quit [MESSAGE]       leave the server"},
    {"info", "info, uptime, alias, history, help [COMMAND]"},
};

}  // namespace

void ChatServer::help(Connection& c, const std::string& topic) {
  std::string name = topic.empty() ? "commands" : lowerCase(topic);
  sendLine(c, "<Nev> Help for " + name + ":");
  bool found = false;
  for (const HelpEntry& entry : Help) {
    if (topic.empty() || name == entry.command) {
      sendLine(c, std::string("  ") + entry.usage);
      found = true;
    }
  }
  if (!found) sendLine(c, "  No help for " + name + ".");
  sendLine(c, "=== End ===");
}

void ChatServer::info(Connection& c) {
  int users = 0;
  for (const ConnectionPtr& u : connections_)
    if (u->stage == Stage::Chat && !u->closing) ++users;
  long minutes = static_cast<long>(std::time(nullptr) - startTime_) / 60;
  sendLine(c, "=== Info ===");
  sendLine(c, "  Server : NevChat test server");
  sendLine(c, "  Users  : " + std::to_string(users));
  sendLine(c, "  Uptime : " + std::to_string(minutes) + " min");
  sendLine(c, "=== End ===");
}

void ChatServer::showMessages(Connection& c) {
  sendLine(c, "<Nev> Messages");
  int number = 0;
  for (const Note& note : messages_[lowerCase(c.nick)])
    sendLine(
        c, "#" + std::to_string(++number) + " " + note.date + " " + note.from + " : " + note.text);
  sendLine(c, "<Nev> End of messages");
}

void ChatServer::showWall(Connection& c) {
  sendLine(c, "<Nev> Wall");
  for (const Note& note : wall_) sendLine(c, note.date + " " + note.from + " : " + note.text);
}

void ChatServer::showHistory(Connection& c) {
  sendLine(c, "<Nev> History");
  for (const std::string& line : history_[c.channel]) sendLine(c, "  " + line);
}
