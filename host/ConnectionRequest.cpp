// ConnectionRequest: records with a private copy of their text.
#include "host/ConnectionRequest.h"

#include <cstring>

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
  return request;
}

ConnectionRequest* ConnectionRequest::create(int kind, Client* client, const char* text,
                                             int value) {
  int length = text ? static_cast<int>(std::strlen(text)) : 0;
  return create(kind, client, text, length, value);
}

void ConnectionRequest::destroy(ConnectionRequest* request) {
  if (!request) return;
  delete[] request->text;
  delete request;
}
