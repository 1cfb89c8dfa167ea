#include "plugins/vfile/OfferQueue.h"

#include "sdk/NoCase.h"

std::string OfferQueue::refusal(const std::string& nick) const {
  if (offers.size() >= static_cast<size_t>(kInAll))
    return std::to_string(kInAll) + " file offers already wait for an answer";
  int fromNick = 0;
  for (const IncomingOffer& offer : offers)
    if (equalsNoCase(offer.nick.c_str(), nick.c_str())) ++fromNick;
  if (fromNick >= kPerPeer)
    return std::to_string(kPerPeer) + " offers from " + nick + " already wait for an answer";
  return "";
}

void OfferQueue::add(IncomingOffer offer) {
  offer.key = nextKey++;
  offers.push_back(std::move(offer));
}

const IncomingOffer* OfferQueue::nextToAsk() {
  if (asking || offers.empty()) return nullptr;
  asking = true;
  return &offers.front();
}

bool OfferQueue::take(int key, IncomingOffer& offer) {
  if (!asking || offers.empty() || offers.front().key != key) return false;
  offer = std::move(offers.front());
  offers.pop_front();
  asking = false;
  return true;
}

void OfferQueue::clear() {
  offers.clear();
  asking = false;
}
