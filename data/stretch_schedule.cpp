#include "data/stretch_schedule.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

#include "data/second_thread.h"

namespace vlm {
namespace {

// A stretch's next piece (low half) and its end (high half) in one word: the
// owner takes from the front and a thief cuts off the back, each by one
// compare-and-swap, so a piece is never both taken and cut off.
uint64_t pack(uint32_t next, uint32_t end) { return uint64_t{end} << 32 | next; }
uint32_t nextOf(uint64_t word) { return static_cast<uint32_t>(word); }
uint32_t endOf(uint64_t word) { return static_cast<uint32_t>(word >> 32); }

class Schedule {
 public:
  Schedule(int32_t count, StretchReader& reader)
      : reader_(reader), capacity_(static_cast<size_t>(count) + 2), words_(new std::atomic<uint64_t>[capacity_]),
        firsts_(capacity_, 0) {
    const auto half = static_cast<uint32_t>(count / 2);
    words_[0].store(pack(0, half));
    words_[1].store(pack(half, static_cast<uint32_t>(count)));
    firsts_[1] = static_cast<int32_t>(half);
    stretches_ = 2;
    current_[0].store(0);
    current_[1].store(1);
  }

  void run(int thread) {
    for (int32_t id = thread; id >= 0; id = steal(thread)) {
      reader_.begin(id, firsts_[static_cast<size_t>(id)], thread);
      std::atomic<uint64_t>& word = words_[static_cast<size_t>(id)];
      for (uint64_t w = word.load(); nextOf(w) < endOf(w);) {
        const uint32_t piece = nextOf(w);
        if (!word.compare_exchange_weak(w, pack(piece + 1, endOf(w)))) continue;
        if (!reader_.read(id, static_cast<int32_t>(piece), thread)) {
          // Close the stretch after the failed piece: nothing later is read.
          w = word.load();
          while (!word.compare_exchange_weak(w, pack(nextOf(w), piece + 1))) {
          }
          break;
        }
        w = word.load();
      }
    }
  }

  std::vector<Stretch> stretches() const {
    std::vector<Stretch> out(static_cast<size_t>(stretches_));
    for (size_t i = 0; i < out.size(); ++i) {
      out[i].first = firsts_[i];
      out[i].end = static_cast<int32_t>(std::min(nextOf(words_[i].load()), endOf(words_[i].load())));
    }
    return out;
  }

 private:
  // Cuts the back half off the other thread's stretch; the new stretch's id,
  // or -1 when less than two pieces are left there.
  int32_t steal(int thread) {
    std::lock_guard lock(mutex_);
    const int32_t victim = current_[1 - thread].load();
    std::atomic<uint64_t>& word = words_[static_cast<size_t>(victim)];
    for (uint64_t w = word.load();;) {
      const uint32_t next = nextOf(w), end = endOf(w);
      if (end < next + 2 || static_cast<size_t>(stretches_) >= capacity_) return -1;
      const uint32_t cut = next + (end - next + 1) / 2;
      if (!word.compare_exchange_weak(w, pack(next, cut))) continue;
      const int32_t id = stretches_++;
      firsts_[static_cast<size_t>(id)] = static_cast<int32_t>(cut);
      words_[static_cast<size_t>(id)].store(pack(cut, end));
      current_[thread].store(id);
      return id;
    }
  }

  StretchReader& reader_;
  const size_t capacity_;
  std::unique_ptr<std::atomic<uint64_t>[]> words_;
  std::vector<int32_t> firsts_;  // written under the lock before the stretch is begun
  int32_t stretches_ = 0;        // under the lock
  std::mutex mutex_;
  std::atomic<int32_t> current_[2];
};

}  // namespace

std::vector<Stretch> readInStretches(int32_t count, StretchReader& reader) {
  if (count <= 0) return {};
  if (count < 2 || !SecondThread::available()) {
    reader.begin(0, 0, 0);
    int32_t piece = 0;
    while (piece < count && reader.read(0, piece, 0)) ++piece;
    return {{0, std::min(piece + 1, count)}};
  }
  Schedule schedule(count, reader);
  {
    SecondThread helper([&schedule] { schedule.run(1); });
    schedule.run(0);
    helper.join();
  }
  return schedule.stretches();
}

}  // namespace vlm
