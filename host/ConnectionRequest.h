// ConnectionRequest: what the receive thread tells the GUI thread, one heap record per
// happening, sent to the system window with ConnectionRequestMessage; the receiver frees it.
#pragma once

#include "platform/win32.h"

class Client;

// lParam carries the record, wParam is 0.
const UINT ConnectionRequestMessage = 5123;

struct ConnectionRequest {
  enum Kind { TryConnect = 0, Connected = 1, Closed = 2, Data = 3, SocketError = 4 };

  int kind;
  Client* client;
  char* text;  // heap, owned by the record; may be null
  int value;

  // A record holding a copy of the first length bytes of text plus a NUL (no text for null).
  static ConnectionRequest* create(int kind, Client* client, const char* text, int length,
                                   int value);
  // The same for a NUL-terminated text.
  static ConnectionRequest* create(int kind, Client* client, const char* text, int value);
  // Frees the text and the record; null is ignored.
  static void destroy(ConnectionRequest* request);
  // Frees the records a receive thread sent that the system window never took: the program
  // ended first. Only once every receive thread stopped and the system window is gone.
  static void destroyUndelivered();
};
