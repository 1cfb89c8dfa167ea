// SendQueue: a byte queue under its lock; the socket is written only while the lock is held,
// so the GUI thread and the receive thread never interleave their bytes.
#include "host/SendQueue.h"

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
      bytes_.append(bytes + sent, length - sent);
    }
  }
  lock_.leave();
  return result;
}

bool SendQueue::drain(Socket& socket) {
  lock_.enter();
  bool ok = true;
  while (ok && waitingLocked() > 0) {
    size_t before = offset_;
    ok = writeFront(socket);
    if (offset_ == before) break;  // the socket is full
  }
  lock_.leave();
  return ok;
}

bool SendQueue::writeFront(Socket& socket) {
  size_t waiting = waitingLocked();
  int taken = socket.sendSome(bytes_.data() + offset_,
                              static_cast<int>(waiting < kSlice ? waiting : kSlice));
  if (taken < 0) return false;
  if (taken == 0) return true;
  offset_ += static_cast<size_t>(taken);
  lastTaken_ = Clock::now();
  if (offset_ == bytes_.size()) {
    bytes_.clear();
    offset_ = 0;
  } else if (offset_ > bytes_.size() / 2) {
    bytes_.erase(0, offset_);
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
  std::string().swap(bytes_);
  offset_ = 0;
  lock_.leave();
}

void SendQueue::setLimits(size_t maxBytes, int stallMilliseconds) {
  lock_.enter();
  maxBytes_ = maxBytes;
  stallMs_ = stallMilliseconds;
  lock_.leave();
}
