// The file offers of peers that wait for the user's answer: bounded per peer and in all, and
// asked one at a time. A waiting offer holds no thread and no socket.
#pragma once

#include <deque>
#include <string>

struct IncomingOffer {
  std::string nick;
  int id = 0;
  std::string name;  // the offered name, safe as a file name
  int size = 0;
  bool withAddress = false;  // the peer listens at ip:port with password
  std::string ip;
  int port = 0;
  std::string password;
  int key = 0;  // given by the queue
};

class OfferQueue {
 public:
  static const int kPerPeer = 4;
  static const int kInAll = 16;

  // Why one more offer from nick cannot wait; "" when it can.
  std::string refusal(const std::string& nick) const;
  void add(IncomingOffer offer);
  // The next offer to ask about when none is being asked; null otherwise.
  const IncomingOffer* nextToAsk();
  // Takes the offer asked about out of the queue; false when key is not that offer.
  bool take(int key, IncomingOffer& offer);
  void clear();
  size_t size() const { return offers.size(); }

 private:
  std::deque<IncomingOffer> offers;
  int nextKey = 1;
  bool asking = false;
};
