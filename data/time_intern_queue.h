#pragma once
// Interning a stream of date/time entries with the time table's hash buckets
// fetched ahead, as TextInternQueue does for texts: a column of timestamps
// can hold a million distinct entries. Entries are interned in arrival order.
#include <cstddef>
#include <cstdint>

#include "data/lookahead_ring.h"
#include "data/time_table.h"

namespace vlm {

template <class Payload>
class TimeInternQueue {
 public:
  explicit TimeInternQueue(TimeTable& table) : table_(table) {}

  // Queues the entry; when the queue is full, the oldest entry is interned
  // first and handed to done(payload, index), -1 when it could not be stored.
  template <class Done>
  void push(const TimeEntry& entry, const Payload& payload, Done&& done) {
    if (ring_.full()) finishOldest(done);
    Slot& slot = ring_.next();
    slot.time = prepareTime(table_, entry);
    slot.payload = payload;
    ring_.commit();
  }

  template <class Done>
  void drain(Done&& done) {
    while (ring_.size() > 0) finishOldest(done);
  }

  void discard() { ring_.clear(); }
  size_t size() const { return ring_.size(); }

 private:
  struct Slot {
    PreparedTime time;
    Payload payload{};
  };

  template <class Done>
  void finishOldest(Done& done) {
    Slot& slot = ring_.take();
    done(slot.payload, internPreparedTime(table_, slot.time));
  }

  TimeTable& table_;
  LookaheadRing<Slot, 16> ring_;
};

}  // namespace vlm
