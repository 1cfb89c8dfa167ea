// The server's events as the tell tabs show them.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "plugins/NevTell/NevTellSession.h"
#include "plugins/NevTell/NevTellTab.h"
#include "sdk/EventNames.h"

namespace {

enum EventId {
  kWhoLine = 7,
  kAway = 9,
  kBack = 10,
  kTellAway = 11,
  kUserAway = 12,
  kUserBack = 13,
  kWelLogin = 14,
  kYouTell = 18,
  kTell = 19,
  kKicked = 20,
  kKick = 21,
  kComeIn = 24,
  kLeaves = 25,
  kUsrBeep = 34,
  kYouBeep = 35,
};

// The server's stamp "HH:MM:SS " ahead of the line.
constexpr size_t kStampLength = 9;

const char* orEmpty(const char* text) { return text != nullptr ? text : ""; }

// The title a who line's idle value gives: away, gone, plain, or none (null: no change).
enum class IdleTitle { None, Away, Gone, Plain };

IdleTitle titleOfIdle(const char* idle) {
  if (idle[0] == '*') return IdleTitle::Away;
  if (std::strchr(idle, 'h') != nullptr || std::strchr(idle, 'd') != nullptr)
    return IdleTitle::Gone;
  const char* m = std::strchr(idle, 'm');
  if (m == nullptr) return IdleTitle::None;
  if (m == idle) return IdleTitle::Plain;
  // The minutes are the digits right before the 'm'; more than two digits are 100 or more.
  const char* digits = m;
  while (digits > idle && std::isdigit(static_cast<unsigned char>(digits[-1]))) --digits;
  size_t count = static_cast<size_t>(m - digits);
  if (count == 0) return IdleTitle::None;
  if (count > 2) return IdleTitle::Gone;
  int minutes = 0;
  for (const char* d = digits; d < m; ++d) minutes = minutes * 10 + (*d - '0');
  return minutes >= 15 ? IdleTitle::Gone : IdleTitle::None;
}

}  // namespace

bool NevTellSession::onEvent(int, const char* eventName, EventData* data, bool) {
  if (data == nullptr) return false;
  const char* line = orEmpty(data->getText());
  const char* time = "";
  const char* nevtime = data->getValue("nevtime");
  if (nevtime != nullptr && nevtime[0] != '\0') {
    // A line shorter than a stamp is skipped to its end only.
    line += std::min(kStampLength, std::strlen(line));
    if (settings.displayTimestamp) time = nevtime;
  }
  return dispatch(findEventId(eventName), time, line, *data);
}

bool NevTellSession::dispatch(int id, const char* time, const char* line, const EventData& data) {
  const char* nick = orEmpty(data.getValue("nick"));
  NevTellTab* tab = nullptr;
  switch (id) {
    case kWhoLine:
      onWhoLine(data);
      return false;
    case kAway:
    case kBack:
      away = id == kAway ? 1 : 0;
      forEachTab(&NevTellTab::applyOutputBackground);
      return false;
    case kTellAway:
      if ((tab = getTab(nick, false)) == nullptr) return false;
      tab->setTitleAway();
      return settings.intercept != 0;
    case kUserAway:
      if ((tab = getTab(nick, false)) == nullptr) return false;
      tab->setTitleAway();
      tab->printSystemLine(time, line, false, false);
      return false;
    case kUserBack:
    case kComeIn:
      if ((tab = getTab(nick, false)) == nullptr) return false;
      tab->setTitlePlain();
      tab->printSystemLine(time, line, false, false);
      return false;
    case kWelLogin:
      ownLogin.assign(orEmpty(data.getValue("login")));
      return false;
    case kYouTell: {
      bool isNew = getTab(nick, false) == nullptr;
      if ((tab = getTab(nick, true)) == nullptr) return false;
      tab->printOwnTell(time, orEmpty(data.getValue("text")), isNew);
      return settings.intercept != 0;
    }
    case kTell:
      if ((tab = tabForPeer(nick)) == nullptr) return false;
      tab->printTell(time, orEmpty(data.getValue("text")));
      return settings.intercept != 0;
    case kKicked:
    case kKick:
    case kLeaves:
      if ((tab = getTab(nick, false)) == nullptr) return false;
      tab->setTitleQuit();
      tab->printSystemLine(time, line, false, false);
      return false;
    case kUsrBeep:
    case kYouBeep:
      if ((tab = getTab(nick, false)) == nullptr || !tab->isSelected()) return false;
      tab->printSystemLine(time, line, false, id == kUsrBeep);
      return settings.intercept != 0;
    default:
      return false;
  }
}

NevTellTab* NevTellSession::tabForPeer(const char* nick) {
  NevTellTab* tab = getTab(nick, false);
  if (tab != nullptr) return tab;
  if (tabs.count() < MaxPeerTabs) return getTab(nick, true);
  boundNotice.say(this,
                  "NevTell - %d tell tabs are open: tells from new nicks (%.32s) show here until "
                  "one is closed.",
                  MaxPeerTabs, nick);
  return nullptr;
}

void NevTellSession::onWhoLine(const EventData& data) {
  NevTellTab* tab = getTab(data.getValue("name"), false);
  if (tab == nullptr) return;
  switch (titleOfIdle(orEmpty(data.getValue("idle")))) {
    case IdleTitle::Away:
      return tab->setTitleAway();
    case IdleTitle::Gone:
      return tab->setTitleGone();
    case IdleTitle::Plain:
      return tab->setTitlePlain();
    case IdleTitle::None:
      return;
  }
}
