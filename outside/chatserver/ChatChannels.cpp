// Channels and what is said in them: join, leave, topic, chat sentences, emotes and shouts.
#include "outside/chatserver/ChatServer.h"
#include "outside/chatserver/ChatText.h"

namespace {

const size_t MaxChannelLength = 16;
const size_t HistoryLength = 10;

// A channel whose name begins with '_' is hidden: the others see the user fade away.
bool isHidden(const std::string& channel) { return !channel.empty() && channel[0] == '_'; }

}  // namespace

void ChatServer::join(Connection& c, const std::string& channel) {
  if (!isWordName(channel, MaxChannelLength)) {
    sendLine(c, "<Nev> Usage: join CHANNEL (letters, digits and '_')");
    return;
  }
  if (channel == c.channel) {
    sendLine(c, "<Nev> You are already in the channel " + channel + ".");
    return;
  }
  std::string old = c.channel;
  sendToChannel(channel, "--> " + c.nick + " comes from the channel " + old, &c);
  for (ConnectionPtr& u : connections_) {
    if (u.get() == &c || u->stage != Stage::Chat || u->closing || u->channel == channel) continue;
    sendLine(*u, isHidden(channel) ? "<-- " + c.nick + " fades away"
                                   : "<Nev> " + c.nick + " joins the channel " + channel);
  }
  c.channel = channel;
  sendLine(c, "You join the channel " + channel + ".");
  sendTopic(c);
}

void ChatServer::leave(Connection& c) {
  if (c.channel == "Hall") {
    sendLine(c, "<Nev> You are already in the Hall.");
    return;
  }
  std::string old = c.channel;
  for (ConnectionPtr& u : connections_) {
    if (u.get() == &c || u->stage != Stage::Chat || u->closing) continue;
    if (u->channel == "Hall")
      sendLine(*u, "--> " + c.nick + " comes from the channel " + old);
    else
      sendLine(*u, "<-- " + c.nick + " goes back to the Hall");
  }
  c.channel = "Hall";
  sendLine(c, "You leave the channel " + old + ".");
  sendTopic(c);
}

void ChatServer::setTopic(Connection& c, const std::string& text) {
  if (text.empty()) {
    auto topic = topics_.find(c.channel);
    if (topic == topics_.end()) sendLine(c, "<Nev> No topic in the channel " + c.channel + ".");
    sendTopic(c);
    return;
  }
  topics_[c.channel] = text;
  sendToChannel(c.channel, "<Nev> " + c.nick + " sets the topic: " + text, nullptr);
}

void ChatServer::sendTopic(Connection& c) {
  auto topic = topics_.find(c.channel);
  if (topic != topics_.end()) sendLine(c, "<Nev> Topic: " + topic->second);
}

void ChatServer::say(Connection& c, const std::string& text) {
  std::string line = "<" + c.nick + "> " + text;
  sendToChannel(c.channel, line, nullptr);
  std::vector<std::string>& lines = history_[c.channel];
  lines.push_back(line);
  if (lines.size() > HistoryLength) lines.erase(lines.begin());
}

bool ChatServer::runListCommand(Connection& c, const std::string& word, const std::string& rest) {
  std::string first;
  std::string more;
  splitWord(rest, first, more);
  if (word == "join") {
    join(c, first);
  } else if (word == "leave") {
    leave(c);
  } else if (word == "topic") {
    setTopic(c, rest);
  } else if (word == "emote" && !rest.empty()) {
    sendToChannel(c.channel, "* " + c.nick + " " + rest, nullptr);
  } else if (word == "shout" && !rest.empty()) {
    sendLine(c, "You shout: " + rest);
    sendToAll(c.nick + " shouts: " + rest, &c);
  } else if (word == "msg" && isWordName(first, 16) && !more.empty()) {
    messages_[lowerCase(first)].push_back({dateOf(std::time(nullptr)), c.nick, more});
    sendLine(c, "<Nev> Message stored for " + first + ".");
  } else if (word == "post" && !rest.empty()) {
    wall_.push_back({dateOf(std::time(nullptr)), c.nick, rest});
    sendLine(c, "<Nev> Posted on the wall.");
  } else if (word == "help") {
    help(c, first);
  } else if (word == "info") {
    info(c);
  } else if (word == "messages") {
    showMessages(c);
  } else if (word == "wall") {
    showWall(c);
  } else if (word == "history") {
    showHistory(c);
  } else if (word == "uptime") {
    long minutes = static_cast<long>(std::time(nullptr) - startTime_) / 60;
    sendLine(c, "<Nev> Uptime: " + std::to_string(minutes) + " min");
  } else if (word == "alias") {
    sendLine(c, "<Nev> System aliases");
    sendLine(c, "  .t = tell");
    sendLine(c, "<Nev> Your aliases");
    sendLine(c, "  (none)");
  } else {
    return false;
  }
  return true;
}
