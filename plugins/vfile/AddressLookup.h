// Learns this machine's address for offers, on a thread of its own: the local end of a
// connection towards a public address, a public one of the host's own preferred.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "plugins/vfile/TransferThread.h"

class AddressLookup : public TransferThread {
 public:
  ~AddressLookup() override { join(); }

  // The address once known; waits for the look-up at most waitMs, then "127.0.0.1".
  std::string getAddress(int waitMs);
  bool isPublic();
  // Cuts a look-up still waiting for its connection short (the address is then "127.0.0.1").
  void cancel() { cancelled = true; }

 protected:
  void run() override;

 private:
  void finish(const std::string& found, bool foundPublic);

  std::mutex lock;
  std::condition_variable known;
  std::string address;
  bool publicAddress = false;
  std::atomic<bool> cancelled{false};
};
