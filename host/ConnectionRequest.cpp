// ConnectionRequest: records with a private copy of their text.
#include "host/ConnectionRequest.h"

#include <cstring>
#include <mutex>
#include <set>

namespace {

// Every record not yet destroyed. Never destroyed itself: the end of the program uses it.
struct LiveRequests {
  std::mutex lock;
  std::set<ConnectionRequest*> records;
};

LiveRequests& live() {
  static auto* instance = new LiveRequests;
  return *instance;
}

void freeRecord(ConnectionRequest* request) {
  delete[] request->text;
  delete request;
}

}  // namespace

ConnectionRequest* ConnectionRequest::create(int kind, Client* client, const char* text, int length,
                                             int value) {
  ConnectionRequest* request = new ConnectionRequest;
  request->kind = kind;
  request->client = client;
  request->text = nullptr;
  request->value = value;
  if (text) {
    if (length < 0) length = 0;
    request->text = new char[length + 1];
    std::memcpy(request->text, text, length);
    request->text[length] = '\0';
  }
  std::lock_guard<std::mutex> guard(live().lock);
  live().records.insert(request);
  return request;
}

ConnectionRequest* ConnectionRequest::create(int kind, Client* client, const char* text,
                                             int value) {
  int length = text ? static_cast<int>(std::strlen(text)) : 0;
  return create(kind, client, text, length, value);
}

void ConnectionRequest::destroy(ConnectionRequest* request) {
  if (!request) return;
  {
    std::lock_guard<std::mutex> guard(live().lock);
    live().records.erase(request);
  }
  freeRecord(request);
}

void ConnectionRequest::destroyUndelivered() {
  std::set<ConnectionRequest*> left;
  {
    std::lock_guard<std::mutex> guard(live().lock);
    left.swap(live().records);
  }
  for (ConnectionRequest* request : left) freeRecord(request);
}
