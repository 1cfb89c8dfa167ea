// The client's side of its plug-ins: the records tying it to its sessions, their creation from
// the configuration, init and deletion, adding and removing at run time, the managers' load and
// unload, the look-ups, and the events and requests plug-ins send one another.
#include <cstring>
#include <vector>

#include "host/ClientSessionCall.h"
#include "host/SetupWindow.h"
#include "sdk/NoCase.h"
#include "sdk/PlugsObject.h"

namespace {

const int kPlugNamesSize = 64000;

const COLORREF kGrey = RGB(64, 64, 64);
const COLORREF kRed = RGB(128, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGreen = RGB(0, 128, 0);

void say(COLORREF colour, const char* format, const char* text = "") {
  setSystemColor(colour);
  printSystem(format, text != nullptr ? text : "");
}

const char* orEmpty(const char* text) { return text != nullptr ? text : ""; }

void unlinkNode(PlugRecord* plug, SessionNode* node) {
  if (node->prev != nullptr)
    node->prev->next = node->next;
  else
    plug->sessions = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
  delete node;
}

// The blank- or tab-separated words of text, in order.
std::vector<std::string> wordsOf(const char* text) {
  std::vector<std::string> words;
  std::string word;
  for (const char* c = text;; ++c) {
    if (*c == ' ' || *c == '\t' || *c == '\0') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (*c == '\0') break;
    } else {
      word += *c;
    }
  }
  return words;
}

}  // namespace

SessionRecord* Client::makeRecord(PlugRecord* plug, PlugsObject* session) {
  SessionRecord* record = new SessionRecord;
  record->plug = plug;
  record->session = session;
  return record;
}

// A fault in the factory unloads the plug-in and leaves no session.
PlugsObject* Client::newSessionOf(PlugRecord* plug) {
  if (!plugUsable(plug)) return nullptr;
  VornithPlugsFactory* factory = plug->factory;
  PlugsObject* made = nullptr;
  const char* client = orEmpty(name);
  callSession(plug, "newSession (factory)", true, [&] { made = factory->newSession(client); });
  return made;
}

void Client::createSessions() {
  log.printf("Creation of the plugins session.\n");
  createMain();
  createKind("Addins", PLUG_KIND_ADDIN, addins);
  createKind("Inout", PLUG_KIND_INOUT, inOuts);
}

void Client::createMain() {
  mainRecord = SessionRecord();
  std::vector<char> text(kPlugNamesSize);
  hostIni.getString("Main", text.data(), kPlugNamesSize, "");
  if (text[0] == '\0') {
    say(kGrey, ". No main plugin found.\n");
    return;
  }
  PlugRecord* plug =
      plugsManagers != nullptr ? plugsManagers->findPlug(text.data(), PLUG_KIND_MAIN) : nullptr;
  if (plug == nullptr) {
    say(kRed, ". Main Plug Error :");
    say(kBlack, "Unknown name - %s\n", text.data());
    return;
  }
  PlugsObject* session = nullptr;
  if (plugUsable(plug)) {
    say(kGrey, ". Main Plug : %s\n", plug->name);
    session = newSessionOf(plug);
  } else {
    say(kGrey, ". Main Plug : %s ", plug->name);
    say(kRed, " (Not loaded)\n");
  }
  plug->addSession(session, this);
  mainRecord.plug = plug;
  mainRecord.session = session;
}

void Client::createKind(const char* key, int kind, List<SessionRecord*>& list) {
  bool addin = kind == PLUG_KIND_ADDIN;
  std::vector<char> text(kPlugNamesSize);
  hostIni.getString(key, text.data(), kPlugNamesSize, "");
  std::vector<std::string> names = wordsOf(text.data());
  if (names.empty()) {
    say(kGrey, addin ? ". No addins plugin found.\n" : ". No input/output plugin found.\n");
    return;
  }
  for (const std::string& plugName : names) {
    PlugRecord* plug =
        plugsManagers != nullptr ? plugsManagers->findPlug(plugName.c_str(), kind) : nullptr;
    if (plug == nullptr) {
      say(kRed, addin ? ". Addins Plug Error : " : ". Input/Output Plug Error : \n");
      say(kBlack, "Unknown name - %s\n", plugName.c_str());
      continue;
    }
    PlugsObject* session = nullptr;
    if (plugUsable(plug)) {
      say(kGrey, addin ? ". Addins Plug : %s\n" : ". Input/Output Plug : %s\n", plug->name);
      session = newSessionOf(plug);
    } else {
      say(kGrey, ". Addins Plug : %s ", plug->name);
      say(kRed, " (Not loaded)\n");
    }
    plug->addSession(session, this);
    list.add(makeRecord(plug, session), false);
  }
}

// The init-done mark is set only when the session is still there after its init: a fault there
// has unloaded the plug-in, which took the session away.
void Client::initRecord(SessionRecord* record) {
  PlugsObject* session = record->session;
  if (session == nullptr || (record->flags & SESSION_INIT_DONE) != 0) return;
  callSession(record->plug, "init", true, [&] { session->init(); });
  if (record->session == session) record->flags |= SESSION_INIT_DONE;
}

void Client::initSessions() {
  log.printf("Plugs init.\n");
  forEachRecord([this](SessionRecord* record) {
    initRecord(record);
    return false;
  });
}

// A session whose init never ran is deleted without its term.
void Client::deleteRecordSession(SessionRecord* record) {
  PlugRecord* plug = record->plug;
  PlugsObject* session = record->session;
  if (plug == nullptr) return;
  if (session == nullptr) {
    dropNode(plug, nullptr);
    return;
  }
  if ((record->flags & SESSION_INIT_DONE) != 0) {
    callSession(plug, "term", false, [&] { session->term(); });
    record->flags &= ~SESSION_INIT_DONE;
  }
  VornithPlugsFactory* factory = plug->factory;
  if (factory != nullptr)
    callSession(plug, "deleteSession (factory)", false, [&] { factory->deleteSession(session); });
  dropNode(plug, session);
  record->session = nullptr;
}

void Client::deleteSessions() {
  log.printf("Delete the session of the plugins.\n");
  forEachRecord([this](SessionRecord* record) {
    deleteRecordSession(record);
    return false;
  });
}

SessionNode* Client::anyOwnNode(PlugRecord* plug) {
  for (SessionNode* node = plug->sessions; node != nullptr; node = node->next)
    if (node->client == this) return node;
  return nullptr;
}

SessionNode* Client::ownNodeHolding(PlugRecord* plug, PlugsObject* session) {
  for (SessionNode* node = plug->sessions; node != nullptr; node = node->next)
    if (node->client == this && node->session == session) return node;
  return nullptr;
}

void Client::dropNode(PlugRecord* plug, PlugsObject* session) {
  SessionNode* node = ownNodeHolding(plug, session);
  if (node == nullptr && session == nullptr) node = anyOwnNode(plug);
  if (node != nullptr) unlinkNode(plug, node);
}

// A plug-in named twice has two records; each load or unload handles the first one still in
// the wanted state, so one call per node reaches them all.
SessionRecord* Client::recordWith(PlugRecord* plug, bool withSession) {
  SessionRecord* found = nullptr;
  forEachRecord([&](SessionRecord* record) {
    if (record->plug != plug || (record->session != nullptr) != withSession) return false;
    found = record;
    return true;
  });
  return found;
}

void Client::printRefusal(const char* prefix, const char* format, const char* first,
                          const char* second) {
  say(kRed, "%s", prefix);
  setSystemColor(kBlack);
  printSystem(format, orEmpty(first), orEmpty(second));
}

bool Client::refuseAdd(PlugRecord* plug) {
  const char* prefix = "Add failed : ";
  if (anyOwnNode(plug) != nullptr)
    printRefusal(prefix, "The plugin '%s' is already present in the client '%s' !\n", plug->name,
                 name);
  else if (plug->kind == PLUG_KIND_SYSTEM)
    printRefusal(prefix, "The system plugin '%s' can't be added to a client !\n%s", plug->name, "");
  else if (plug->kind == PLUG_KIND_MAIN)
    printRefusal(prefix, "A main plugin is already present in the client '%s' !\n%s", name, "");
  else if (plug->kind != PLUG_KIND_ADDIN && plug->kind != PLUG_KIND_INOUT)
    printRefusal(prefix, "Invalid plugins type !%s%s", "", "");
  else
    return false;
  return true;
}

void Client::addPlug(PlugRecord* plug) {
  if (plug == nullptr) return;
  log.printf("Add the plugin: %s.\n", plug->name);
  if (refuseAdd(plug)) return;
  say(kGreen, "Add plugin '%s' in hand...\n", plug->name);
  if (findSessionRecord(plug, nullptr) != nullptr) {
    say(kGrey, "- The plugin is already present.\n");
  } else {
    plug->addSession(nullptr, this);
    say(kGrey, "- Session created.\n");
    (plug->kind == PLUG_KIND_ADDIN ? addins : inOuts).add(makeRecord(plug, nullptr), false);
    say(kGrey, "- Session added to the client.\n");
    if (!plugUsable(plug)) {
      say(kGrey, "- Plugin not loaded.\n");
    } else if (loadPlug(plug)) {
      say(kGrey, "- Session initialized.\n");
    } else {
      say(kRed, "Add failed : ");
      say(kBlack, "Unable to create or initialize a new session... !\n");
    }
  }
  say(kGreen, "Add plugin '%s' terminated.\n", plug->name);
}

bool Client::refuseRemove(PlugRecord* plug) {
  const char* prefix = "Remove failed : ";
  const char* absent = "The plugin '%s' is NOT present in the client '%s' !\n";
  if (plug->kind == PLUG_KIND_SYSTEM)
    printRefusal(prefix, "The plugin '%s' is a system plugin !\n%s", plug->name, "");
  else if (anyOwnNode(plug) == nullptr)
    printRefusal(prefix, absent, plug->name, name);
  else if (plug->kind == PLUG_KIND_MAIN)
    printRefusal(prefix, "You can't remove the main plugin from a client. !\n%s%s", "", "");
  else if (findSessionRecord(plug, nullptr) == nullptr)
    printRefusal(prefix, absent, plug->name, name);
  else if (plug->kind != PLUG_KIND_ADDIN && plug->kind != PLUG_KIND_INOUT)
    printRefusal(prefix, "Invalid plugins type !%s%s", "", "");
  else
    return false;
  return true;
}

// Frees the record: never call it while a walk over the records runs.
void Client::removePlug(PlugRecord* plug) {
  if (plug == nullptr) return;
  log.printf("Remove the plugin: %s.\n", plug->name);
  if (refuseRemove(plug)) return;
  say(kGreen, "Remove plugin '%s' in hand...\n", plug->name);
  if (unloadPlug(plug)) {
    say(kGrey, "- Session terminated.\n");
  } else {
    say(kRed, "Remove failed : ");
    say(kBlack, "Unable to terminate the session... !\n");
  }
  SessionRecord* record = findSessionRecord(plug, nullptr);
  deleteRecordSession(record);
  say(kGrey, "- Session removed from the client.\n");
  (plug->kind == PLUG_KIND_ADDIN ? addins : inOuts).remove(record);
  delete record;
  say(kGrey, "- Session deleted.\n");
  say(kGreen, "Remove plugin '%s' terminated.\n", plug->name);
}

// A null session from the factory, or a fault in it or in the init, fails the load and leaves
// the record and the node without a session.
bool Client::loadPlug(PlugRecord* plug) {
  if (plug == nullptr) return false;
  log.printf("Log the plug: %s.\n", plug->name);
  SessionRecord* record = recordWith(plug, false);
  SessionNode* node = ownNodeHolding(plug, nullptr);
  if (record == nullptr || node == nullptr) return false;
  PlugsObject* session = newSessionOf(plug);
  if (session == nullptr) return false;
  record->session = session;
  node->session = session;
  callSession(plug, "init", true, [&] { session->init(); });
  if (record->session != session) return false;
  record->flags |= SESSION_INIT_DONE;
  int group = 0;
  findSessionRecord(plug, &group);
  addSetupPageOf(plug, node, group);
  return record->session == session;
}

// The node keeps its place (with no session) for the next load.
bool Client::unloadPlug(PlugRecord* plug) {
  if (plug == nullptr) return false;
  log.printf("Unload the plug: %s.\n", plug->name);
  SessionRecord* record = recordWith(plug, true);
  if (record == nullptr) record = findSessionRecord(plug, nullptr);
  SessionNode* node = nullptr;
  if (record != nullptr && record->session != nullptr) node = ownNodeHolding(plug, record->session);
  if (node == nullptr) node = anyOwnNode(plug);
  if (record == nullptr || node == nullptr) return false;
  if (node->setupPage != 0 && setupWindow != nullptr)
    setupWindow->removeItem(pageItemOf(node->setupPage));
  bool initDone = (record->flags & SESSION_INIT_DONE) != 0;
  record->flags &= ~SESSION_INIT_DONE;
  PlugsObject* nodeSession = node->session;
  node->setupPage = 0;
  node->session = nullptr;
  if (nodeSession != nullptr && initDone)
    callSession(plug, "term", false, [&] { nodeSession->term(); });
  PlugsObject* session = record->session;
  record->session = nullptr;
  VornithPlugsFactory* factory = plug->factory;
  if (session != nullptr && factory != nullptr)
    callSession(plug, "deleteSession (factory)", false, [&] { factory->deleteSession(session); });
  return true;
}

SessionRecord* Client::findSessionRecord(PlugRecord* plug, int* groupPage) {
  SessionRecord* found = nullptr;
  int group = 0;
  if (plug != nullptr && mainRecord.plug == plug) {
    found = &mainRecord;
    group = mainPage;
  }
  for (ListNode<SessionRecord*>* node = addins.headNode(); !found && node; node = node->next)
    if (node->value->plug == plug) found = node->value, group = addinsPage;
  for (ListNode<SessionRecord*>* node = inOuts.headNode(); !found && node; node = node->next)
    if (node->value->plug == plug) found = node->value, group = inOutPage;
  if (groupPage != nullptr) *groupPage = found != nullptr ? group : 0;
  return found;
}

// Only records with a live session answer: they are the ones events can reach.
SessionRecord* Client::findSession(const char* plugName) {
  if (plugName == nullptr) return nullptr;
  SessionRecord* found = nullptr;
  bool anyMain = std::strcmp(plugName, "@") == 0;
  forEachRecord([&](SessionRecord* record) {
    if (record->session == nullptr || !plugUsable(record->plug)) return false;
    bool isMain = record == &mainRecord;
    if (!(isMain && anyMain) && !equalsNoCase(record->plug->name, plugName)) return false;
    found = record;
    return true;
  });
  return found;
}

bool Client::hasPlug(const char* plugName) {
  if (plugsManagers == nullptr || plugName == nullptr) return false;
  PlugRecord* plug = plugsManagers->findPlug(plugName, 0);
  return plugUsable(plug) && findSessionRecord(plug, nullptr) != nullptr;
}

const char* Client::buildPlugsList() {
  plugsListText.assign("");
  forEachRecord([this](SessionRecord* record) {
    if (!plugUsable(record->plug)) return false;
    const char* prefix = record == &mainRecord                   ? "M:"
                         : record->plug->kind == PLUG_KIND_ADDIN ? "A:"
                                                                 : "I:";
    plugsListText.append(prefix);
    plugsListText.append(record->plug->name);
    plugsListText.append(" ");
    return false;
  });
  int length = plugsListText.length();
  if (length > 0) plugsListText.erase(length - 1, 1);
  return plugsListText.text();
}

namespace {

// The sender's name, copied: the sender may be unloaded while its message goes round.
String senderNameOf(PlugsObject* from) {
  const char* plugName = plugsManagers != nullptr && from != nullptr
                             ? plugsManagers->plugNameOfSession(from)
                             : nullptr;
  return String(plugName != nullptr ? plugName : "(unknown)");
}

}  // namespace

void Client::SendEvent(PlugsObject* from, const char* to, const char* type, void* data) {
  String fromName = senderNameOf(from);
  log.beginSection("SendEvent: A plugin send an event to another plugin.\n");
  log.printf("From: %s\n", fromName.text());
  log.printf("To  : %s\n", orEmpty(to));
  log.printf("Type: %s\n", orEmpty(type));
  log.endSection("Done.\n");
  auto deliver = [&](SessionRecord* record) {
    PlugsObject* session = record->session;
    if (session == nullptr || !plugUsable(record->plug)) return false;
    callSession(record->plug, "onUserEvent", true,
                [&] { session->onUserEvent(fromName.text(), type, data); });
    return false;
  };
  if (to != nullptr && to[0] == '*') {
    forEachRecord(deliver);
  } else if (SessionRecord* record = findSession(to)) {
    deliver(record);
  }
}

int Client::SendRequest(PlugsObject* from, const char* to, char* answer, int answerSize,
                        const char* request, void* argument) {
  String fromName = senderNameOf(from);
  log.beginSection("SendRequest: A plugin send an request to another plugin.\n");
  log.printf("From: %s\n", fromName.text());
  log.printf("To  : %s\n", orEmpty(to));
  log.printf("Type: %s\n", orEmpty(request));
  log.endSection("Done.\n");
  int result = -1;
  auto ask = [&](SessionRecord* record) {
    PlugsObject* session = record->session;
    if (session == nullptr || !plugUsable(record->plug)) return false;
    callSession(record->plug, "onRequest", true, [&] {
      result = session->onRequest(fromName.text(), answer, answerSize, request, argument);
    });
    return result != -1;
  };
  if (to != nullptr && to[0] == '*') {
    forEachRecord(ask);
  } else if (SessionRecord* record = findSession(to)) {
    ask(record);
  }
  return result;
}
