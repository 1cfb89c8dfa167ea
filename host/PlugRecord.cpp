#include "host/PlugRecord.h"

PlugRecord::~PlugRecord() { clearSessions(); }

SessionNode* PlugRecord::addSession(PlugsObject* session, Client* client) {
  SessionNode* node = new SessionNode;
  node->session = session;
  node->client = client;
  node->next = sessions;
  if (sessions != nullptr) sessions->prev = node;
  sessions = node;
  return node;
}

SessionNode* PlugRecord::findSession(PlugsObject* session) const {
  for (SessionNode* node = sessions; node != nullptr; node = node->next)
    if (node->session == session) return node;
  return nullptr;
}

bool PlugRecord::removeSession(PlugsObject* session) {
  SessionNode* node = findSession(session);
  if (node == nullptr) return false;
  if (node->prev != nullptr) node->prev->next = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
  if (sessions == node) sessions = node->next;
  delete node;
  return true;
}

void PlugRecord::clearSessions() {
  while (sessions != nullptr) {
    SessionNode* next = sessions->next;
    delete sessions;
    sessions = next;
  }
}

const char* PlugRecord::plugName() { return factory != nullptr ? factory->name() : name; }

const char* PlugRecord::plugAuthor() { return factory != nullptr ? factory->author() : nullptr; }
