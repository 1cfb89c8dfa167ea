// ServerEntry: heap entries with their own copy of the host name.
#include "host/ServerEntry.h"

#include <cstring>

ServerEntry* ServerEntry::create(const char* host, int port) {
  if (!host) host = "";
  size_t size = std::strlen(host) + 1;
  ServerEntry* entry = new ServerEntry;
  entry->host = new char[size];
  std::memcpy(entry->host, host, size);
  entry->port = port;
  return entry;
}

void ServerEntry::destroy(ServerEntry* entry) {
  if (!entry) return;
  delete[] entry->host;
  delete entry;
}
