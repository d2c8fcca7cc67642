// Work a worker queues for the host's windows.
#include "platform/host_queue.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

void runHostUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done() && std::chrono::steady_clock::now() < deadline) QCoreApplication::processEvents();
}

// What the worker made before queueing is what the host reads: the hand-over
// is one ThreadSanitizer sees. A window gone first runs nothing.
TEST(HostQueue, AWorkersResultsReachTheHostWholeAndNothingRunsForAWindowGoneFirst) {
  QObject host;
  HostBridge& bridge = HostBridge::instance();
  bridge.attach(&host);
  auto window = std::make_unique<QObject>();
  auto gone = std::make_unique<QObject>();
  std::vector<int> made;  // written by the worker, read by the host, no lock of its own
  std::vector<int> shown;
  std::atomic<int> ran{0}, ranForGone{0};
  std::thread::id ranOn;
  std::thread worker([&] {
    for (int i = 0; i < 1000; ++i) made.push_back(i);
    queueOnHost(window.get(), [&] {
      shown = made;
      ranOn = std::this_thread::get_id();
      ++ran;
    });
    queueOnHost(gone.get(), [&] { ++ranForGone; });
  });
  worker.join();
  gone.reset();
  runHostUntil([&] { return ran.load() == 1; });
  QCoreApplication::processEvents();
  EXPECT_EQ(ran.load(), 1);
  EXPECT_EQ(shown.size(), 1000u);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_EQ(ranForGone.load(), 0);
  bridge.detach();
}

// With no host attached (a window tested alone) the work still runs, later,
// on the window's thread.
TEST(HostQueue, WithoutAHostTheWorkRunsThroughTheWindowsThread) {
  QObject window;
  std::atomic<int> ran{0};
  queueOnHost(&window, [&] { ++ran; });
  EXPECT_EQ(ran.load(), 0) << "queued, not run at once";
  runHostUntil([&] { return ran.load() == 1; });
  EXPECT_EQ(ran.load(), 1);
}

}  // namespace
}  // namespace vlm::platform
