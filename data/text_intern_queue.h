#pragma once
// Interning a stream of texts with the pool's hash buckets fetched ahead.
//
// A column of a million distinct texts spreads the pool's buckets over many
// megabytes, and interning one text at a time waits on memory for each. The
// queue cleans and hashes a text when it arrives and asks for its bucket then,
// but interns it only kDepth texts later, when the bucket has arrived. Texts
// are interned in the order they arrived, so every pool index is the one
// internText would have given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/lookahead_ring.h"
#include "data/text_pool.h"

namespace vlm {

template <class Payload>
class TextInternQueue {
 public:
  static constexpr size_t kDepth = 16;

  explicit TextInternQueue(TextPool& pool) : pool_(pool) {}

  // Queues the text. When the queue is full, the oldest text is interned
  // first and handed to done(payload, index); the index is -1 for a text that
  // is empty once cleaned or could not be stored. A text that outlives its
  // place in the queue (it lies in the whole text being loaded) is not copied.
  template <class Done>
  void push(std::string_view text, const Payload& payload, Done&& done, bool outlivesQueue = false) {
    if (ring_.full()) popOldest(done);
    Slot& slot = ring_.next();
    slot.text = prepareText(pool_, text, slot.storage);
    if (!outlivesQueue && slot.text.clean.data() != slot.storage.data()) {
      slot.storage.assign(slot.text.clean);
      slot.text.clean = slot.storage;
    }
    slot.payload = payload;
    ring_.commit();
  }

  // Interns every queued text, oldest first.
  template <class Done>
  void drain(Done&& done) {
    while (ring_.size() > 0) popOldest(done);
  }

  // Forgets the queued texts without interning them.
  void discard() { ring_.clear(); }

  size_t size() const { return ring_.size(); }

 private:
  struct Slot {
    PreparedText text;    // the cleaned text and its hash
    std::string storage;  // holds the cleaned text when it must be copied; keeps its capacity
    Payload payload{};
  };

  template <class Done>
  void popOldest(Done& done) {
    Slot& slot = ring_.take();
    done(slot.payload, internPrepared(pool_, slot.text));
  }

  TextPool& pool_;
  LookaheadRing<Slot, kDepth> ring_;
};

}  // namespace vlm
