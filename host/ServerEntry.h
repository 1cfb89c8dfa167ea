// ServerEntry: one chat server of a client's list, a host name and a port.
// The entry owns its host text; the connection that lists it owns the entry.
#pragma once

struct ServerEntry {
  char* host;
  int port;

  // A new entry with a heap copy of host (null becomes ""); free it with destroy.
  static ServerEntry* create(const char* host, int port);
  static void destroy(ServerEntry* entry);
};
