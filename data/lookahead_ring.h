#pragma once
// A first-in first-out ring of a fixed number of slots, for work that is
// prepared when it arrives (a hash computed, its bucket prefetched) and
// finished a fixed number of arrivals later, oldest first.
#include <array>
#include <cstddef>

namespace vlm {

template <class Slot, size_t Depth>
class LookaheadRing {
 public:
  static constexpr size_t kDepth = Depth;

  bool full() const { return count_ == Depth; }
  size_t size() const { return count_; }

  // The slot the next arrival fills; commit() adds it.
  Slot& next() { return slots_[(head_ + count_) % Depth]; }
  void commit() { ++count_; }

  // The oldest slot; take() removes it and returns it, valid until the next commit.
  Slot& take() {
    Slot& slot = slots_[head_];
    head_ = (head_ + 1) % Depth;
    --count_;
    return slot;
  }

  void clear() { count_ = 0; }

 private:
  std::array<Slot, Depth> slots_{};
  size_t head_ = 0;
  size_t count_ = 0;
};

}  // namespace vlm
