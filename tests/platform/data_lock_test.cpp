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

TEST(DataLockTest, AForcedLockLentToOneThreadKeepsEveryOtherOut) {
  DataLock lock;
  ASSERT_TRUE(lock.acquire());  // a holder, as when a load is running at the close
  std::atomic<bool> borrowed{false}, stillHeld{false}, otherGotIn{true};
  std::atomic<bool> ready{false}, go{false}, gaveBack{false}, end{false};
  // The borrower lives on until the end, as the engine thread does until the
  // close completes (a finished thread's id may be given to a new one).
  std::thread borrower([&] {
    ready = true;
    while (!go) std::this_thread::yield();
    borrowed = lock.acquire(std::chrono::milliseconds(2000));
    stillHeld = lock.heldByCurrentThread();
    lock.release();
    gaveBack = true;
    while (!end) std::this_thread::yield();
  });
  while (!ready) std::this_thread::yield();
  EXPECT_FALSE(lock.forceLending(borrower.get_id()));  // it was held
  go = true;
  while (!gaveBack) std::this_thread::yield();
  EXPECT_TRUE(borrowed.load());
  EXPECT_TRUE(stillHeld.load());
  // The borrower gave it back to the closer: still taken for everybody else.
  EXPECT_FALSE(lock.isFree());
  std::thread([&] { otherGotIn = lock.tryAcquire(); }).join();
  EXPECT_FALSE(otherGotIn.load());
  lock.release();  // the closer frees it
  EXPECT_TRUE(lock.isFree());
  std::thread([&] {
    otherGotIn = lock.tryAcquire();
    lock.release();
  }).join();
  EXPECT_TRUE(otherGotIn.load());
  // A plain force lends to nobody.
  ASSERT_TRUE(lock.force());
  std::thread([&] { otherGotIn = lock.tryAcquire(); }).join();
  EXPECT_FALSE(otherGotIn.load());
  lock.release();
  end = true;
  borrower.join();
}

TEST(DataLockTest, AHolderOverriddenByAForceDoesNotFreeTheLockOnRelease) {
  DataLock lock;
  std::atomic<bool> held{false}, letGo{false}, released{false}, borrowerHeld{false}, borrowerLetGo{false};
  std::thread holder([&] {  // a load holding the lock when the window closes
    lock.acquire();
    held = true;
    while (!letGo) std::this_thread::yield();
    lock.release();
    released = true;
  });
  while (!held) std::this_thread::yield();
  std::thread borrower([&] {  // the engine thread, which the lock is lent to
    while (!borrowerLetGo) std::this_thread::yield();
  });
  EXPECT_FALSE(lock.forceLending(borrower.get_id()));
  letGo = true;
  holder.join();
  EXPECT_TRUE(released.load());
  EXPECT_FALSE(lock.isFree()) << "the forcing thread still holds it";
  std::thread([&] { borrowerHeld = lock.tryAcquire(); }).join();
  EXPECT_FALSE(borrowerHeld.load());
  lock.release();
  EXPECT_TRUE(lock.isFree());
  borrowerLetGo = true;
  borrower.join();

  // The borrower holding the lock when it is forced gives it back on release.
  std::atomic<bool> engineHolds{false}, engineGo{false}, engineDone{false};
  std::thread engine([&] {
    lock.acquire();
    engineHolds = true;
    while (!engineGo) std::this_thread::yield();
    lock.release();
    engineDone = true;
  });
  while (!engineHolds) std::this_thread::yield();
  EXPECT_FALSE(lock.forceLending(engine.get_id()));
  engineGo = true;
  while (!engineDone) std::this_thread::yield();
  EXPECT_FALSE(lock.isFree());
  lock.release();
  EXPECT_TRUE(lock.isFree());
  engine.join();
}

// A holder that waits for the host (a popup menu it asked for) lends the lock:
// the host's menu commands get in at once, also nested, a third thread does
// not, and the lender still holds it when the loan ends.
TEST(DataLockTest, ALentLockLetsOnlyTheBorrowerIn) {
  DataLock lock;
  std::atomic<bool> lent{false}, menuDone{false}, loanOver{false}, thirdGotIn{true};
  std::thread::id host = std::this_thread::get_id();
  std::thread engine([&] {
    lock.acquire();
    lent = lock.lendTo(host);
    while (!menuDone) std::this_thread::yield();
    lock.endLoan();
    EXPECT_TRUE(lock.heldByCurrentThread());
    loanOver = true;
    lock.release();
  });
  while (!lent) std::this_thread::yield();
  EXPECT_FALSE(lock.lendTo(host)) << "only the holder lends";
  ASSERT_TRUE(lock.acquire(std::chrono::milliseconds(2000)));
  EXPECT_TRUE(lock.heldByCurrentThread());
  ASSERT_TRUE(lock.tryAcquire()) << "nested hold of the borrower";
  lock.release();
  std::thread([&] { thirdGotIn = lock.tryAcquire(); }).join();
  EXPECT_FALSE(thirdGotIn.load());
  lock.release();
  EXPECT_FALSE(lock.isFree()) << "back with the lender";
  menuDone = true;
  while (!loanOver) std::this_thread::yield();
  engine.join();
  EXPECT_TRUE(lock.isFree());
  EXPECT_TRUE(lock.tryAcquire()) << "the loan ended with the lender's hold";
  lock.release();
}

}  // namespace
}  // namespace vlm::platform
