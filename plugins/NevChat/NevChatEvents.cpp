// The server's events turned into chat output and state.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "plugins/NevChat/NevChatInputWindow.h"
#include "plugins/NevChat/NevChatRules.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/NevChatSetupPage.h"
#include "plugins/NevChat/NicksWindow.h"
#include "sdk/EventNames.h"
#include "sdk/NoCase.h"

namespace {

enum EventId {
  kGetPass = 0,
  kLogin = 1,
  kAlreadyLog = 2,
  kInvalidPass = 3,
  kMsgLine = 5,
  kWallLine = 6,
  kWhoLine = 7,
  kChgGroup = 8,
  kAway = 9,
  kBack = 10,
  kTellAway = 11,
  kUserAway = 12,
  kUserBack = 13,
  kWelLogin = 14,
  kKicked = 20,
  kKick = 21,
  kTopJoin = 22,
  kTopicSet = 23,
  kComeIn = 24,
  kLeaves = 25,
  kComeFrom = 26,
  kLeaveChannel = 27,
  kFadeChannel = 28,
  kJoinedChannel = 29,
  kJoin = 30,
  kLeave = 31,
  kBump = 32,
  kBumped = 33,
  kHelpFor = 44,
  kInfoSep = 46,
  kInfoEnd = 47,
  kWhoBegin = 48,
  kWhoEnd = 49,
  kBlock = 51,
  kNevDatas = 52,
  kSentence = 53,
  kVDatas = 55,
  kServerMoved = 56,
  kBadServer = 57,
};

// Colour and font of the line of every event that is simply shown (id = index).
struct Look {
  const char* colour;
  const char* font;
};
const Look kLooks[kEventNameCount] = {
    {"system", "normal"}, {"system", "normal"},  {"system", "block"},    {"system", "block"},
    {"system", "block"},  {nullptr, nullptr},    {nullptr, nullptr},     {"block", "block"},
    {"system", "normal"}, {"system", "normal"},  {"system", "normal"},   {"system", "block"},
    {"system", "normal"}, {"system", "normal"},  {"system", "normal"},   {"emote", "normal"},
    {"shout", "normal"},  {"shout", "normal"},   {"yourtell", "normal"}, {"tell", "normal"},
    {"leaves", "normal"}, {"leaves", "normal"},  {"topic", "normal"},    {"topic", "normal"},
    {"comein", "normal"}, {"leaves", "normal"},  {"comein", "normal"},   {"leaves", "normal"},
    {"leaves", "normal"}, {"leaves", "normal"},  {"channel", "normal"},  {"channel", "normal"},
    {"leaves", "normal"}, {"channel", "normal"}, {"system", "normal"},   {"system", "normal"},
    {"system", "block"},  {"system", "block"},   {"system", "block"},    {"system", "block"},
    {"system", "block"},  {"system", "block"},   {"system", "block"},    {"system", "block"},
    {"system", "block"},  {"system", "block"},   {"separator", "block"}, {"system", "block"},
    {"system", "block"},  {"system", "block"},   {"you", "normal"},      {"normal", "block"},
    {"system", "normal"}, {nullptr, nullptr},    {"system", "normal"},   {nullptr, nullptr},
    {"system", "normal"}, {"system", "normal"},
};

// Who-listing events that stay silent while the session swallows its own listing.
bool whoListing(int id) {
  return id == kWhoLine || id == kInfoSep || id == kWhoBegin || id == kWhoEnd;
}

}  // namespace

void NevChatSession::onEvent(int, const char* eventName, EventData* data) {
  if (data == nullptr) return;
  const char* line = orEmpty(data->getText());
  int id = findEventId(eventName);
  int before = outputLength();
  long long trimmedBefore = trimmedChars;
  char* copy = strdup(line);

  const char* text = line;
  const char* nevtime = data->getValue("nevtime");
  if (nevtime != nullptr && nevtime[0] != '\0') {
    bool silent = id == kVDatas || (whoListing(id) && whoToSwallow > 0);
    if (!silent) showTime(nevtime);
    // A stamp longer than the line skips to its end only.
    text += std::min(strlen(nevtime), strlen(text));
  }
  if (helpMode) {
    if (id == kInfoEnd || id == kNevDatas) {
      helpMode = 0;
      id = kInfoEnd;
    } else {
      id = kBlock;
    }
  }
  dispatch(id, text, *data);

  // The event's text begins after the line break held back from the output's last line, and
  // moves up with the oldest lines when they go meanwhile.
  int start = before + (before != 0 ? 1 : 0) - static_cast<int>(trimmedChars - trimmedBefore);
  int after = outputLength();
  if (after > start) {
    HistoryRecord record;
    record.text = copy;
    record.start = start;
    record.length = after - start;
    searchHistory.add(record, false);
  } else {
    free(copy);
  }
}

void NevChatSession::showTime(const char* nevtime) { show("timestamp", "block", nevtime); }

void NevChatSession::dispatch(int id, const char* text, const EventData& data) {
  const char* nick = orEmpty(data.getValue("nick"));
  switch (id) {
    case kGetPass:
      return onLoginPrompt(text, settings->password, passwordAnswers, "password");
    case kLogin:
      return onLoginPrompt(text, settings->login, loginAnswers, "login");
    case kAlreadyLog:
    case kInvalidPass:
      return onLoginRefused(text);
    case kMsgLine:
      look("numeric", "block")->printStyled("%s ", orEmpty(data.getValue("numeric")));
      [[fallthrough]];
    case kWallLine:
      look("walltime", "block")->printStyled("%s ", orEmpty(data.getValue("msgtime")));
      setTextColor("wallnick")->printStyled("%s : ", nick);
      setTextColor("normal")->printStyled("%s", orEmpty(data.getValue("text")));
      return;
    case kWhoLine:
      return onWhoLine(text, data);
    case kAway:
    case kBack:
      away = id == kAway ? 1 : 0;
      nickStatus(settings->login.text(), away ? 'a' : ' ');
      setBackground(away ? "backaway" : "backgrnd");
      break;
    case kTellAway:
    case kUserAway:
    case kUserBack:
      nickStatus(nick, id == kUserBack ? ' ' : 'a');
      break;
    case kWelLogin:
      return onLoggedIn(text, orEmpty(data.getValue("login")));
    case kKicked:
    case kKick:
    case kLeaves:
      nickRemove(nick);
      break;
    case kTopJoin:
    case kTopicSet:
      changeTopic(orEmpty(data.getValue("topic")));
      break;
    case kJoin:
      setChannel(orEmpty(data.getValue("channel")));
      break;
    case kLeave:
    case kBumped:
      setChannel("Hall");
      break;
    case kInfoSep:
    case kWhoBegin:
      if (whoToSwallow > 0) {
        if (id == kWhoBegin && nicks != nullptr) nicks->beginWho();
        return;
      }
      break;
    case kWhoEnd:
      if (nicks != nullptr) nicks->endWho();
      if (whoToSwallow > 0) {
        --whoToSwallow;
        return;
      }
      break;
    case kSentence:
      return onSentence(text, nick);
    case kVDatas:
      return onPrivateData(data);
    case -1:
      return show("normal", "normal", text);
    default:
      break;
  }
  show(kLooks[id].colour, kLooks[id].font, text);

  // What follows the shown line.
  switch (id) {
    case kChgGroup:
      setGroup(orEmpty(data.getValue("group")));
      break;
    case kComeIn:
      nickAdd(nick);
      if (settings->autoInfos) requestWho();
      break;
    case kComeFrom:
      nickChannel(nick, currentChannel());
      break;
    case kLeaveChannel:
    case kBump:
      nickChannel(nick, "Hall");
      break;
    case kFadeChannel:
      nickChannel(nick, "<???}");
      break;
    case kJoinedChannel:
      nickChannel(nick, orEmpty(data.getValue("channel")));
      break;
    case kWhoBegin:
      if (nicks != nullptr) nicks->beginWho();
      break;
    case kHelpFor:
      helpMode = 1;
      break;
    case kServerMoved:
    case kBadServer:
      addServer(orEmpty(data.getValue("server")), atoi(orEmpty(data.getValue("port"))),
                settings->sockDefault);
      break;
    default:
      break;
  }
}

// The server asks for the login or the password: the saved value answers, else the user does.
// A server that keeps asking gets the saved value a few times only, then the user answers.
void NevChatSession::onLoginPrompt(const char* text, String& saved, PromptAnswerLimit& answers,
                                   const char* what) {
  show("system", "normal", text);
  if (saved.length() > 0) {
    PromptAnswerLimit::Verdict verdict = answers.take(GetTickCount());
    if (verdict == PromptAnswerLimit::Verdict::Answer) {
      sendData("%s\n", saved.text());
      return;
    }
    if (verdict == PromptAnswerLimit::Verdict::FirstWait)
      look("vornith", "normal")
          ->printStyled(
              "<Vornith> The server keeps asking for the %s: type it in the input line.\n", what);
  }
  inputEnabled = 1;
  if (input != nullptr) input->captureNext(&saved);
}

void NevChatSession::onLoginRefused(const char* text) {
  show("system", "block", text);
  inputEnabled = 1;
  settings->password.assign("");
  settings->login.assign("");
}

void NevChatSession::onLoggedIn(const char* text, const char* login) {
  settings->login.assign(login);
  show("system", "normal", text);
  setChannel("Hall");
  sendData("set client Vornith %.2f\n", static_cast<double>(getHostVersion()));
  whoToSwallow = 0;
  inputEnabled = 1;
  sendDataOk = 0;
  if (nicks != nullptr) nicks->enableRequests(false);
  requestWho();
}

void NevChatSession::onWhoLine(const char* text, const EventData& data) {
  if (whoToSwallow <= 0) show("block", "block", text);
  const char* name = orEmpty(data.getValue("name"));
  const char* client = orEmpty(data.getValue("client"));
  const char* channel = orEmpty(data.getValue("channel"));
  char status = whoStatus(orEmpty(data.getValue("idle")));
  char detail[4] = {client[0] != '\0' ? client[0] : '?', status, '\0', '\0'};
  traceNick("who", name, detail);
  if (nicks != nullptr) nicks->whoLine(name, detail[0], status, channel);
  if (equalsNoCase(name, settings->login.text())) setGroup(orEmpty(data.getValue("group")));
}

void NevChatSession::onSentence(const char* text, const char* nick) {
  const char* login = settings->login.text();
  if (login[0] != '\0' && equalsNoCase(nick, login))
    show("yourtext", "fromyou", text);
  else if (holdsWholeWord(text, login))
    show("withyou", "withyou", text);
  else
    show("normal", "normal", text);
}

void NevChatSession::onPrivateData(const EventData& data) {
  const char* request = data.getValue("request");
  const char* nick = orEmpty(data.getValue("nick"));
  const char* payload = orEmpty(data.getValue("data"));
  const char* nevtime = orEmpty(data.getValue("nevtime"));
  if (equalsNoCase(request, "VREQ"))
    answerRequest(nick, payload, nevtime);
  else if (equalsNoCase(request, "VACK"))
    onAcknowledge(nick, payload, nevtime);
}
