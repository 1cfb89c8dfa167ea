// SendQueue: a byte queue under its lock; the socket is written only while the lock is held,
// so the GUI thread and the receive thread never interleave their bytes.
#include "host/SendQueue.h"

#include <algorithm>

namespace {

// One write hands the socket at most this much; the rest waits for the next.
const size_t kSlice = 64 * 1024;

}  // namespace

SendQueue::Result SendQueue::send(Socket& socket, const char* bytes, size_t length) {
  lock_.enter();
  Result result = Taken;
  size_t sent = 0;
  if (waitingLocked() == 0 && length > 0) {
    int taken = socket.sendSome(bytes, static_cast<int>(length < kSlice ? length : kSlice));
    if (taken < 0) result = Failed;
    sent = taken < 0 ? 0 : static_cast<size_t>(taken);
  }
  if (result == Taken && sent < length) {
    if (waitingLocked() + (length - sent) > maxBytes_) {
      result = Overflow;
    } else {
      if (waitingLocked() == 0) lastTaken_ = Clock::now();
      appendLocked(bytes + sent, length - sent);
    }
  }
  lock_.leave();
  return result;
}

// The lock is let go between slices, so a send of the GUI thread waits at most one slice.
bool SendQueue::drain(Socket& socket) {
  for (;;) {
    lock_.enter();
    size_t before = waitingLocked();
    bool ok = before == 0 || writeFront(socket);
    // Stop when the socket is full or nothing waits any more.
    bool more = ok && waitingLocked() > 0 && waitingLocked() < before;
    lock_.leave();
    if (!more) return ok;
  }
}

void SendQueue::appendLocked(const char* bytes, size_t length) {
  waiting_ += length;
  while (length > 0) {
    if (blocks_.empty() || blocks_.back().size() >= kSlice) {
      blocks_.emplace_back();
      blocks_.back().reserve(kSlice);
    }
    std::string& last = blocks_.back();
    size_t part = std::min(length, kSlice - last.size());
    last.append(bytes, part);
    bytes += part;
    length -= part;
  }
}

bool SendQueue::writeFront(Socket& socket) {
  const std::string& front = blocks_.front();
  int taken = socket.sendSome(front.data() + offset_, static_cast<int>(front.size() - offset_));
  if (taken < 0) return false;
  if (taken == 0) return true;
  offset_ += static_cast<size_t>(taken);
  waiting_ -= static_cast<size_t>(taken);
  lastTaken_ = Clock::now();
  if (offset_ == front.size()) {
    blocks_.pop_front();
    offset_ = 0;
  }
  return true;
}

bool SendQueue::hasPending() {
  lock_.enter();
  bool pending = waitingLocked() > 0;
  lock_.leave();
  return pending;
}

bool SendQueue::stalled() {
  lock_.enter();
  bool stuck = waitingLocked() > 0 &&
               Clock::now() - lastTaken_ > std::chrono::milliseconds(stallMs_);
  lock_.leave();
  return stuck;
}

void SendQueue::clear() {
  lock_.enter();
  // Swapped out, so a queue that held megabytes gives its memory back.
  std::deque<std::string>().swap(blocks_);
  offset_ = 0;
  waiting_ = 0;
  lock_.leave();
}

void SendQueue::setLimits(size_t maxBytes, int stallMilliseconds) {
  lock_.enter();
  maxBytes_ = maxBytes;
  stallMs_ = stallMilliseconds;
  lock_.leave();
}
