#include "platform/data_lock.h"
#include "platform/event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace vlm::platform {
namespace {

TEST(DataLockTest, KnowsWhetherTheCallingThreadHoldsIt) {
  DataLock lock;
  EXPECT_FALSE(lock.heldByCurrentThread());
  ASSERT_TRUE(lock.acquire());
  EXPECT_TRUE(lock.heldByCurrentThread());
  bool otherHolds = true;
  std::thread([&] { otherHolds = lock.heldByCurrentThread(); }).join();
  EXPECT_FALSE(otherHolds);
  lock.release();
  EXPECT_FALSE(lock.heldByCurrentThread());
  ASSERT_TRUE(lock.tryAcquire());
  EXPECT_TRUE(lock.heldByCurrentThread());
  lock.release();
}

TEST(DataLockTest, OnlyOneHolderAtATime) {
  DataLock lock;
  std::atomic<int> inside{0};
  std::atomic<int> worst{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        lock.acquire();
        const int now = ++inside;
        int w = worst.load();
        while (now > w && !worst.compare_exchange_weak(w, now)) {
        }
        --inside;
        lock.release();
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(worst.load(), 1);
}

TEST(DataLockTest, TimedAcquireGivesUp) {
  DataLock lock;
  ASSERT_TRUE(lock.acquire());
  std::thread other([&] { EXPECT_FALSE(lock.acquire(std::chrono::milliseconds(30))); });
  other.join();
  lock.release();
  EXPECT_TRUE(lock.tryAcquire());
}

TEST(DataLockTest, ForceTakesABusyLockWithoutWaiting) {
  DataLock lock;
  ASSERT_TRUE(lock.acquire());
  EXPECT_FALSE(lock.force());
  lock.release();
  EXPECT_TRUE(lock.force());
  EXPECT_FALSE(lock.isFree());
  lock.release();
  EXPECT_TRUE(lock.isFree());
}

TEST(DataLockTest, WaitersRunTheirPumpWhileTheLockIsHeld) {
  DataLock lock;
  std::atomic<int> pumped{0};
  lock.setPump([&] { ++pumped; });
  ASSERT_TRUE(lock.acquire());
  std::thread holder([&] {
    while (pumped.load() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    lock.release();
  });
  EXPECT_TRUE(lock.acquire(std::chrono::seconds(5)));
  holder.join();
  EXPECT_GE(pumped.load(), 3);
}

TEST(ManualResetEventTest, StaysSetUntilReset) {
  ManualResetEvent e;
  EXPECT_FALSE(e.wait(std::chrono::milliseconds(5)));
  e.set();
  EXPECT_TRUE(e.wait(std::chrono::milliseconds(0)));
  EXPECT_TRUE(e.wait(std::chrono::milliseconds(0)));
  e.reset();
  EXPECT_FALSE(e.isSet());
}

}  // namespace
}  // namespace vlm::platform
