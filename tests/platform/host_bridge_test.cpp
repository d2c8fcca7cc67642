// Work handed to the host thread without waiting for it.
#include "platform/host_bridge.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace vlm::platform {
namespace {

TEST(HostBridgePostWork, RunsOnTheHostThreadInPostingOrderWithoutWaiting) {
  QObject host;
  HostBridge& bridge = HostBridge::instance();
  bridge.attach(&host);
  std::mutex mutex;
  std::vector<int> ran;
  std::vector<std::thread::id> threads;
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i)
      EXPECT_TRUE(bridge.postWork([&, i] {
        std::lock_guard lock(mutex);
        ran.push_back(i);
        threads.push_back(std::this_thread::get_id());
      }));
  });
  worker.join();  // every post returned although the host has not run anything yet
  {
    std::lock_guard lock(mutex);
    EXPECT_TRUE(ran.empty());
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    QCoreApplication::processEvents();
    std::lock_guard lock(mutex);
    if (ran.size() == 5 || std::chrono::steady_clock::now() > deadline) break;
  }
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4}));
  for (auto id : threads) EXPECT_EQ(id, std::this_thread::get_id());
  bridge.detach();
  EXPECT_FALSE(bridge.postWork([] {})) << "no host, nothing queued";
}

}  // namespace
}  // namespace vlm::platform
