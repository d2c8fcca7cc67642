#include "platform/command_queue.h"

#include <gtest/gtest.h>

#include <thread>

namespace vlm::platform {
namespace {

constexpr int32_t kDraw = 1024 + 200;
constexpr int32_t kMove = 1024 + 244;
constexpr int32_t kButton = 1024 + 240;
constexpr int32_t kUpdate = 1024 + 230;
constexpr int32_t kOther = 1024 + 120;

bool isInput(int32_t n) { return n >= kButton && n <= 1024 + 251; }

Command make(int32_t n, uintptr_t w = 0, uintptr_t l = 0) {
  Command c;
  c.number = n;
  c.wParam = w;
  c.lParam = l;
  return c;
}

TEST(CommandQueueTest, KeepsArrivalOrder) {
  CommandQueue q;
  for (int i = 0; i < 5; ++i) q.post(make(kOther, static_cast<uintptr_t>(i)));
  for (uintptr_t i = 0; i < 5; ++i) EXPECT_EQ(q.next()->wParam, i);
}

TEST(CommandQueueTest, TenQueuedDrawsBecomeOne) {
  CommandQueue q;
  for (int i = 0; i < 10; ++i) q.post(make(kDraw));
  auto first = q.next();
  EXPECT_EQ(q.coalesce(*first, Coalesce::LastArguments, &isInput), 9);
  EXPECT_EQ(q.size(), 0u);
}

TEST(CommandQueueTest, MouseMovesUseTheLastPosition) {
  CommandQueue q;
  for (uintptr_t i = 1; i <= 20; ++i) q.post(make(kMove, 1, i));
  auto first = q.next();
  q.coalesce(*first, Coalesce::LastArguments, &isInput);
  EXPECT_EQ(first->lParam, 20u);
  EXPECT_EQ(q.size(), 0u);
}

TEST(CommandQueueTest, AMoveNeverJumpsOverAButtonEvent) {
  CommandQueue q;
  q.post(make(kMove, 0, 1));
  q.post(make(kMove, 0, 2));
  q.post(make(kButton, 1, 2));
  q.post(make(kMove, 1, 9));
  auto first = q.next();
  q.coalesce(*first, Coalesce::LastArguments, &isInput);
  EXPECT_EQ(first->lParam, 2u);
  EXPECT_EQ(q.next()->number, kButton);
  EXPECT_EQ(q.next()->lParam, 9u);
}

TEST(CommandQueueTest, MergedRebuildsKeepAPositionReset) {
  CommandQueue q;
  q.post(make(kUpdate, 0));
  q.post(make(kUpdate, 1));
  q.post(make(kUpdate, 0));
  auto first = q.next();
  q.coalesce(*first, Coalesce::OrFlags, &isInput);
  EXPECT_EQ(first->wParam, 1u);
}

TEST(CommandQueueTest, TextTravelsWithItsOwnPost) {
  CommandQueue q;
  Command a = make(kOther);
  a.text = "first.vlm";
  q.post(a);
  a.text = "second.vlm";
  q.post(a);
  EXPECT_EQ(q.next()->text, "first.vlm");
  EXPECT_EQ(q.next()->text, "second.vlm");
}

TEST(CommandQueueTest, QuitEndsAfterTheQueuedCommands) {
  CommandQueue q;
  q.post(make(kOther));
  q.postQuit();
  EXPECT_TRUE(q.next().has_value());
  EXPECT_FALSE(q.next().has_value());
}

TEST(CommandQueueTest, PostsFromManyThreadsAllArrive) {
  CommandQueue q;
  std::vector<std::thread> posters;
  for (int t = 0; t < 4; ++t)
    posters.emplace_back([&q] {
      for (int i = 0; i < 1000; ++i) q.post(make(kOther));
    });
  for (auto& t : posters) t.join();
  int n = 0;
  bool quit = false;
  while (q.next(std::chrono::milliseconds(0), &quit)) ++n;
  EXPECT_EQ(n, 4000);
}

TEST(CommandQueueTest, ADelayedCommandArrivesAfterItsDelayBehindWhatCameFirst) {
  using namespace std::chrono;
  CommandQueue q;
  const auto start = steady_clock::now();
  q.postAfter(make(kOther, 2), milliseconds(60));
  q.postAfter(make(kOther, 1), milliseconds(30));
  q.post(make(kDraw));
  bool quit = false;
  EXPECT_EQ(q.next(milliseconds(0), &quit)->number, kDraw) << "nothing delayed is due yet";
  EXPECT_FALSE(q.next(milliseconds(0), &quit).has_value());
  EXPECT_EQ(q.next()->wParam, 1u) << "the earlier due time comes first";
  EXPECT_GE(steady_clock::now() - start, milliseconds(30));
  EXPECT_EQ(q.next(milliseconds(5000), &quit)->wParam, 2u);
  EXPECT_GE(steady_clock::now() - start, milliseconds(60));
}

TEST(CommandQueueTest, AQuitDropsWhatIsStillDelayed) {
  CommandQueue q;
  q.postAfter(make(kOther), std::chrono::hours(1));
  q.postQuit();
  EXPECT_FALSE(q.next().has_value());
}

}  // namespace
}  // namespace vlm::platform
