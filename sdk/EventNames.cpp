#include "sdk/EventNames.h"

#include "sdk/NoCase.h"

const char* const eventNames[kEventNameCount] = {
    "getpass",     "login",    "alreadylog",  "invalidpass",  "welcome",     "msgline",
    "wallline",    "wholine",  "chggroup",    "away",         "back",        "tellaway",
    "useraway",    "userback", "wellogin",    "emote",        "shout",       "youshout",
    "youtell",     "tell",     "kicked",      "kick",         "topjoin",     "topicset",
    "comein",      "leaves",   "comefrom",    "leavechannel", "fadechannel", "joinedchannel",
    "join",        "leave",    "bump",        "bumped",       "usrbeep",     "youbeep",
    "msgbegin",    "msgend",   "finger",      "sysalias",     "usralias",    "history",
    "uptime",      "wall",     "helpfor",     "infobeg",      "infosep",     "infoend",
    "whobegin",    "whoend",   "you",         "block",        "nevdatas",    "sentence",
    "notloggedin", "vdatas",   "servermoved", "badserver",
};

int findEventId(const char* name) {
  if (name == nullptr) return -1;
  for (int id = 0; id < kEventNameCount; ++id) {
    if (equalsNoCase(eventNames[id], name)) return id;
  }
  return -1;
}
