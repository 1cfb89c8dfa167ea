// Searching the output: the history of what events added, the hit marked in the output and
// kept in view.
#include <cstdlib>
#include <vector>

#include "lib/RichEdit.h"
#include "plugins/NevChat/NevChatSession.h"
#include "plugins/NevChat/OutputSearch.h"

void NevChatSession::markHit(bool on) {
  if (output == nullptr || finder == nullptr || !finder->hasHit()) return;
  if (on)
    output->setRangeBackground(finder->hitStart(), finder->hitLength(),
                               getColor(away ? "backgrnd" : "backaway"));
  else  // back to the automatic background, which follows later background changes
    output->clearRangeBackground(finder->hitStart(), finder->hitLength());
}

void NevChatSession::remarkSearchHit() {
  if (finder != nullptr && finder->text()[0] != '\0') markHit(true);
}

void NevChatSession::onOutputTrimmed(int removed) {
  trimmedChars += removed;
  // A record whose start went can no longer be marked where its text is.
  int dropped = 0;
  for (ListNode<HistoryRecord>* head = searchHistory.headNode();
       head != nullptr && head->value.start < removed; head = searchHistory.headNode()) {
    free(head->value.text);
    searchHistory.removeEnd(true);
    ++dropped;
  }
  for (ListNode<HistoryRecord>* node = searchHistory.headNode(); node != nullptr; node = node->next)
    node->value.start -= removed;
  if (finder != nullptr) finder->forgetFront(dropped, removed);
}

void NevChatSession::search(const char* text, bool forward) {
  if (finder == nullptr) finder = new OutputSearch;
  if (finder->text()[0] != '\0') markHit(false);
  std::vector<const HistoryRecord*> records;
  for (ListNode<HistoryRecord>* node = searchHistory.headNode(); node != nullptr; node = node->next)
    records.push_back(&node->value);
  OutputSearch::Result result = finder->find(text, forward, records);
  if (result == OutputSearch::NotFound) {
    printSystem("<Vornith 2.0> Search '%s' : No result !\n", finder->text());
    return;
  }
  if (result != OutputSearch::Found || output == nullptr) return;
  markHit(true);
  output->scrollToLine(output->lineFromChar(finder->hitStart()));
  // Reading back: the view stays at the hit while new text arrives.
  output->updateAutoScroll();
}
