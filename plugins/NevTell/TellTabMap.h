// The tell tabs of a session by nick: the nick's hash picks the bucket and the nick's full
// text picks the tab, so two nicks with the same hash never share a tab.
#pragma once

#include <functional>

#include "lib/HashTable.h"

class NevTellTab;

class TellTabMap {
 public:
  TellTabMap() = default;
  TellTabMap(const TellTabMap&) = delete;
  TellTabMap& operator=(const TellTabMap&) = delete;

  // The tab of exactly this nick, or null.
  NevTellTab* find(const char* nick);
  // Enters the tab under its nick; a nick already present is refused (false).
  bool add(NevTellTab* tab);
  // Takes the nick's tab out and returns it (null: none); the tab is not deleted.
  NevTellTab* remove(const char* nick);
  // Each tab once; fn may delete the tab it is given, but must not change the map.
  void forEach(const std::function<void(NevTellTab*)>& fn);
  // Forgets every tab (deletes none).
  void clear() {
    table.clear();
    tabs = 0;
  }
  int count() const { return tabs; }
  bool isEmpty() const { return tabs == 0; }

 private:
  HashTable<NevTellTab*> table;  // the first tab of each hash; the others chain behind it
  int tabs = 0;
};
