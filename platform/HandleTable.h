// A lock-guarded table from handle values to shared records, one per kind of handle.
// Internal to platform/: a record found here stays alive while the caller holds it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Handles.h"

namespace vornplatform {

template <typename Record>
class HandleTable {
 public:
  using Ptr = std::shared_ptr<Record>;

  // Files the record under a fresh handle value and returns that value.
  uint32_t add(const Ptr& record) {
    uint32_t value = nextHandleValue();
    put(value, record);
    return value;
  }

  // Files the record under a value from nextHandleValue() that the record already carries.
  void put(uint32_t value, const Ptr& record) {
    std::lock_guard<std::mutex> guard(lock_);
    records_[value] = record;
  }

  // The record of a handle; null for an unknown, removed or null handle.
  template <typename Handle>
  Ptr find(Handle handle) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = records_.find(valueOf(handle));
    return it == records_.end() ? Ptr() : it->second;
  }

  // Takes the record out of the table; the caller's pointer may be the last one.
  template <typename Handle>
  Ptr remove(Handle handle) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = records_.find(valueOf(handle));
    if (it == records_.end()) return Ptr();
    Ptr record = it->second;
    records_.erase(it);
    return record;
  }

  std::vector<Ptr> all() const {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<Ptr> list;
    for (auto& entry : records_) list.push_back(entry.second);
    return list;
  }

 private:
  template <typename Handle>
  static uint32_t valueOf(Handle handle) {
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    return value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
  }

  mutable std::mutex lock_;
  std::map<uint32_t, Ptr> records_;
};

}  // namespace vornplatform
