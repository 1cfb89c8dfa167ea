#include "plugins/NevTell/TellTabMap.h"

#include <cstring>

#include "plugins/NevTell/NevTellTab.h"

NevTellTab* TellTabMap::find(const char* nick) {
  if (nick == nullptr) return nullptr;
  NevTellTab** first = table.find(hashString(nick));
  for (NevTellTab* tab = first != nullptr ? *first : nullptr; tab != nullptr;
       tab = tab->sameHash)
    if (std::strcmp(tab->getNick(), nick) == 0) return tab;
  return nullptr;
}

bool TellTabMap::add(NevTellTab* tab) {
  if (tab == nullptr || find(tab->getNick()) != nullptr) return false;
  int key = hashString(tab->getNick());
  NevTellTab** first = table.find(key);
  if (first != nullptr) {
    tab->sameHash = *first;
    *first = tab;
  } else {
    tab->sameHash = nullptr;
    table.add(key, tab);
  }
  ++tabs;
  return true;
}

NevTellTab* TellTabMap::remove(const char* nick) {
  NevTellTab* found = find(nick);
  if (found == nullptr) return nullptr;
  int key = hashString(nick);
  NevTellTab** first = table.find(key);
  if (*first == found) {
    if (found->sameHash != nullptr)
      *first = found->sameHash;
    else
      table.remove(key);
  } else {
    NevTellTab* before = *first;
    while (before->sameHash != found) before = before->sameHash;
    before->sameHash = found->sameHash;
  }
  found->sameHash = nullptr;
  --tabs;
  return found;
}

void TellTabMap::forEach(const std::function<void(NevTellTab*)>& fn) {
  table.forEach([&](HashEntry<NevTellTab*>& entry) {
    for (NevTellTab* tab = entry.value; tab != nullptr;) {
      NevTellTab* next = tab->sameHash;  // fn may delete the tab
      fn(tab);
      tab = next;
    }
  });
}
