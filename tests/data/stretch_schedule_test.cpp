// Pieces shared by two threads in stretches: every piece is read once, in
// order within its stretch, the stretches tile the pieces, a slow thread
// reads fewer of them, and a failed piece ends its stretch.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "data/second_thread.h"
#include "data/stretch_schedule.h"

namespace vlm {
namespace {

struct Reading {
  int32_t stretch, piece;
  int thread;
};

class Recorder : public StretchReader {
 public:
  explicit Recorder(int32_t count) : begun_(static_cast<size_t>(count) + 2, -1) {}
  void begin(int32_t id, int32_t first, int thread) override {
    std::lock_guard lock(mutex_);
    ASSERT_EQ(begun_[static_cast<size_t>(id)], -1) << "stretch " << id << " begun twice";
    begun_[static_cast<size_t>(id)] = first;
    beganOn_.push_back({id, first, thread});
  }
  bool read(int32_t id, int32_t piece, int thread) override {
    {
      std::lock_guard lock(mutex_);
      reads_.push_back({id, piece, thread});
    }
    if (thread == 1 && slowHelper) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return piece != failAt;
  }
  std::vector<Reading> reads() {
    std::lock_guard lock(mutex_);
    return reads_;
  }
  std::vector<Reading> begins() {
    std::lock_guard lock(mutex_);
    return beganOn_;
  }
  bool slowHelper = false;
  int32_t failAt = -1;

 private:
  std::mutex mutex_;
  std::vector<int32_t> begun_;
  std::vector<Reading> reads_, beganOn_;
};

// The stretches sorted by their first piece.
std::vector<Stretch> inTextOrder(std::vector<Stretch> s) {
  std::sort(s.begin(), s.end(), [](const Stretch& a, const Stretch& b) { return a.first < b.first; });
  return s;
}

TEST(StretchSchedule, EveryPieceIsReadOnceInOrderWithinItsStretch) {
  for (int32_t count : {1, 2, 3, 5, 16, 64, 65}) {
    for (int round = 0; round < 20; ++round) {
      SCOPED_TRACE(testing::Message() << count << " pieces, round " << round);
      Recorder recorder(count);
      const std::vector<Stretch> stretches = readInStretches(count, recorder);
      const std::vector<Reading> reads = recorder.reads();
      const std::vector<Reading> begins = recorder.begins();
      ASSERT_EQ(reads.size(), static_cast<size_t>(count));
      ASSERT_EQ(begins.size(), stretches.size());
      int32_t at = 0;
      for (const Stretch& s : inTextOrder(stretches)) {
        EXPECT_EQ(s.first, at) << "a gap or an overlap";
        EXPECT_LT(s.first, s.end) << "an empty stretch";
        at = s.end;
      }
      EXPECT_EQ(at, count);
      // Within a stretch: begun first, then its pieces one after another on
      // the thread that began it.
      for (size_t id = 0; id < stretches.size(); ++id) {
        const auto begun = std::find_if(begins.begin(), begins.end(), [&](const Reading& b) { return b.stretch == static_cast<int32_t>(id); });
        ASSERT_NE(begun, begins.end());
        EXPECT_EQ(begun->piece, stretches[id].first);
        int32_t next = stretches[id].first;
        for (const Reading& r : reads) {
          if (r.stretch != static_cast<int32_t>(id)) continue;
          EXPECT_EQ(r.piece, next++);
          EXPECT_EQ(r.thread, begun->thread);
        }
        EXPECT_EQ(next, stretches[id].end);
      }
    }
  }
}

TEST(StretchSchedule, TheFasterThreadTakesOverTheSlowerOnesPieces) {
  if (!SecondThread::available()) GTEST_SKIP() << "one core: one stretch reads every piece";
  Recorder recorder(64);
  recorder.slowHelper = true;
  const std::vector<Stretch> stretches = readInStretches(64, recorder);
  ASSERT_GT(stretches.size(), 2u) << "nothing was cut off";
  int32_t byHelper = 0;
  for (const Reading& r : recorder.reads()) byHelper += r.thread == 1;
  EXPECT_LT(byHelper, 16) << "the helper kept its half";
}

// A failed piece ends its stretch: no later piece of it is read by either
// thread; every piece before it is read.
TEST(StretchSchedule, AFailedPieceEndsItsStretch) {
  for (int32_t failAt : {0, 5, 31, 32, 40, 63}) {
    for (int round = 0; round < 10; ++round) {
      SCOPED_TRACE(testing::Message() << "fails at " << failAt << ", round " << round);
      Recorder recorder(64);
      recorder.failAt = failAt;
      const std::vector<Stretch> stretches = readInStretches(64, recorder);
      const auto failed = std::find_if(stretches.begin(), stretches.end(),
                                       [&](const Stretch& s) { return s.first <= failAt && failAt < s.end; });
      ASSERT_NE(failed, stretches.end());
      EXPECT_EQ(failed->end, failAt + 1);
      std::vector<int> seen(64, 0);
      for (const Reading& r : recorder.reads()) ++seen[static_cast<size_t>(r.piece)];
      for (int32_t p = 0; p <= failAt; ++p) EXPECT_EQ(seen[static_cast<size_t>(p)], 1) << p;
      // Later pieces belong to other stretches, or to none.
      for (const Stretch& s : stretches) {
        if (&s == &*failed) continue;
        EXPECT_TRUE(s.end <= failed->first || s.first > failAt) << s.first << ".." << s.end;
      }
    }
  }
}

}  // namespace
}  // namespace vlm
