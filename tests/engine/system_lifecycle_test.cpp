#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <thread>

#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/host_messages.h"
#include "engine/settings_store.h"
#include "engine/system_lifecycle.h"
#include "engine/support/engine_fixture.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/host_bridge.h"
#include "platform/registry_store.h"

namespace vlm {
namespace {

using test::EngineTest;

TEST_F(EngineTest, InitWithoutHostWindowAllocatesNothing) {
  EXPECT_EQ(vlm_InitSystem(&instance_, nullptr, nullptr, nullptr, 23), 0);
  EXPECT_EQ(vlm_InitSystem(nullptr, host_.get(), nullptr, nullptr, 23), 0);
  EXPECT_EQ(currentState(), nullptr);
}

TEST_F(EngineTest, InitStartsTheDataThreadAndDeinitStopsIt) {
  ASSERT_TRUE(init());
  auto state = currentState();
  ASSERT_NE(state, nullptr);
  EXPECT_NE(std::atomic_load(&state->main->dataThread), nullptr);
  EXPECT_EQ(state->main->productName, "Velmora ACCESS");
  EXPECT_EQ(state->main->registryRoot, "SOFTWARE\\Velmora\\Velmora.Access\\");
  EXPECT_EQ(state->main->work.size(), 131072u);
  vlm_DeinitSystem();
  EXPECT_EQ(currentState(), nullptr);
  EXPECT_EQ(std::atomic_load(&state->main->dataThread), nullptr);
}

TEST_F(EngineTest, UnknownApplicationIdUsesTheExcelNames) {
  int kind = -1, second = -1;
  EXPECT_EQ(vlm_AppIDToProductVersion(20, &kind, &second), 0);
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(second, 0);
  EXPECT_EQ(vlm_AppIDToProductVersion(27, &kind, &second), 0);
  for (int id : {21, 22, 25, 26}) {
    EXPECT_EQ(vlm_AppIDToProductVersion(id, &kind, &second), 1);
    EXPECT_EQ(kind, 1) << id;
  }
  for (int id : {23, 24}) {
    EXPECT_EQ(vlm_AppIDToProductVersion(id, &kind, &second), 1);
    EXPECT_EQ(kind, 2) << id;
  }
  ASSERT_TRUE(init(99));
  auto state = currentState();
  EXPECT_EQ(state->main->applicationKind, 0);
  EXPECT_EQ(state->main->productName, "Velmora EXCEL");
  EXPECT_EQ(state->main->registryRoot, "SOFTWARE\\Velmora\\Velmora.Excel\\");
}

TEST_F(EngineTest, TheWindowsAreArrangedOnTheFirstRunOnly) {
  ASSERT_TRUE(init());
  auto state = currentState();
  // Arranged: the view takes three quarters of the desktop's width.
  EXPECT_GT(state->main->settings.view3D.width, 0);
  EXPECT_NE(state->main->settings.view3D.width, 800);
  EXPECT_EQ(state->main->settings.firstRun, 0);
  vlm_DeinitSystem();
  EXPECT_EQ(vlm_ReadHostDword("FirstRun", 1), 0u) << "the first run is over";
  ASSERT_TRUE(init());
  state = currentState();
  EXPECT_EQ(state->main->settings.firstRun, 0);
  EXPECT_EQ(state->main->settings.view3D.width, 800) << "no second arrangement over the saved placement";
}

TEST_F(EngineTest, CloseWithoutOpenReturnsAtOnce) {
  ASSERT_TRUE(init());
  QElapsedTimer timer;
  timer.start();
  vlm_CloseWindow();
  EXPECT_LT(timer.elapsed(), 1000);
  EXPECT_TRUE(currentState()->main->dataLock.isFree());
}

TEST_F(EngineTest, ErrorShowsTheApiErrorBox) {
  ASSERT_TRUE(init());
  vlm_Error("Unable to store fields!");
  auto boxes = boxes_->boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Velmora API Error");
  EXPECT_EQ(boxes[0].text, "Unable to store fields!");
  EXPECT_EQ(boxes[0].icon, platform::BoxIcon::Warning);
  EXPECT_TRUE(boxes[0].topMost);
}

// A data source that never answers.
std::atomic<bool> g_releaseHang{false};
std::atomic<bool> g_hanging{false};
bool hangingHandler(EngineState&, const platform::Command&) {
  g_hanging = true;
  while (!g_releaseHang) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return true;
}

TEST_F(EngineTest, DeinitIsBoundedWhileTheDataThreadHangsAndKeepsItsState) {
  ASSERT_TRUE(init());
  teardownTimeouts().dataThread = std::chrono::milliseconds(300);
  g_releaseHang = false;
  g_hanging = false;
  dataHandlers().set(CMD_EXCEL_START, &hangingHandler);
  std::weak_ptr<EngineState> weak = currentState();
  ASSERT_TRUE(postData(*currentState(), CMD_EXCEL_START));
  while (!g_hanging) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  QElapsedTimer timer;
  timer.start();
  vlm_DeinitSystem();
  EXPECT_LT(timer.elapsed(), 5000);
  EXPECT_EQ(currentState(), nullptr);
  // The hung thread still holds what it works on.
  EXPECT_FALSE(weak.expired());
  g_releaseHang = true;
  for (int i = 0; i < 500 && !weak.expired(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(weak.expired());
  dataHandlers().set(CMD_EXCEL_START, nullptr);
}

TEST_F(EngineTest, FailedInitWritesNoSettings) {
  // Teardown after an init that failed before the settings were read must not
  // overwrite the user's stored settings with defaults.
  EngineState state;
  state.main = std::make_unique<MainRecord>();
  state.view = std::make_unique<ViewRecord>();
  state.main->registryRoot = "SOFTWARE\\Velmora\\Velmora.Access\\";
  state.main->settings.asking = 1;
  platform::RegistryStore store((dir_ / "u2").string(), (dir_ / "m2").string());
  store.writeDword(platform::RegistryRoot::CurrentUser, state.main->registryRoot, "Asking", 0);
  writeSettings(state, store);
  EXPECT_EQ(store.readDword(platform::RegistryRoot::CurrentUser, state.main->registryRoot, "Asking"), 0u);
}

// Engine-thread tests replace the window commands by plain stand-ins.
class EngineThreadTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    for (int32_t n : {CMD_OPEN_WINDOW, CMD_CLOSE_WINDOW, CMD_DRAW_SCENE, CMD_MOUSE_MOVE, CMD_PLAY_SLIDER,
                      CMD_UPDATE_MODEL})
      saved_.push_back({n, engineHandlers().find(n)});
    ASSERT_TRUE(init());
    engineHandlers().set(CMD_OPEN_WINDOW, [](EngineState&, const platform::Command&) { return g_openResult.load(); });
    engineHandlers().set(CMD_CLOSE_WINDOW, [](EngineState&, const platform::Command&) { return true; });
    engineHandlers().set(CMD_DRAW_SCENE, [](EngineState&, const platform::Command&) {
      ++g_frames;
      return true;
    });
    engineHandlers().set(CMD_MOUSE_MOVE, [](EngineState&, const platform::Command& c) {
      ++g_moves;
      g_lastMove = c.lParam;
      return true;
    });
    engineHandlers().set(CMD_UPDATE_MODEL, [](EngineState& s, const platform::Command& c) {
      // A rebuild runs under the data lock.
      platform::DataLockGuard lock(s.main->dataLock);
      ++g_rebuilds;
      g_lastRebuildFlags = c.wParam;
      return true;
    });
    engineHandlers().set(CMD_PLAY_SLIDER, [](EngineState&, const platform::Command&) {
      g_busy = true;
      while (!g_release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      g_busy = false;
      return true;
    });
    g_frames = g_moves = g_rebuilds = 0;
    g_release = false;
    g_openResult = true;
  }
  void TearDown() override {
    g_release = true;
    EngineTest::TearDown();
    for (auto& [n, h] : saved_) engineHandlers().set(n, h);
  }
  void blockEngine() {
    postEngine(*currentState(), CMD_PLAY_SLIDER);
    while (!g_busy) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  void drain() {
    // A draw posted last runs after everything before it.
    std::atomic<bool> done{false};
    static std::atomic<bool>* flag;
    flag = &done;
    engineHandlers().set(CMD_RESET_POSITION_SCALES, [](EngineState&, const platform::Command&) {
      *flag = true;
      return true;
    });
    postEngine(*currentState(), CMD_RESET_POSITION_SCALES);
    while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    engineHandlers().set(CMD_RESET_POSITION_SCALES, nullptr);
  }
  static inline std::atomic<int> g_frames{0}, g_moves{0}, g_rebuilds{0};
  static inline std::atomic<uintptr_t> g_lastMove{0}, g_lastRebuildFlags{0};
  static inline std::atomic<bool> g_busy{false}, g_release{false}, g_openResult{true};
  std::vector<std::pair<int32_t, CommandHandler>> saved_;
};

TEST_F(EngineThreadTest, TenDrawsWhileBusyGiveOneFrame) {
  ASSERT_EQ(vlm_OpenWindow(), 1);
  blockEngine();
  for (int i = 0; i < 10; ++i) postEngine(*currentState(), CMD_DRAW_SCENE);
  g_release = true;
  drain();
  EXPECT_EQ(g_frames.load(), 1);
}

TEST_F(EngineThreadTest, ABurstOfMovesIsHandledOnceAtTheLastPosition) {
  ASSERT_EQ(vlm_OpenWindow(), 1);
  blockEngine();
  for (uintptr_t i = 1; i <= 50; ++i) postEngine(*currentState(), CMD_MOUSE_MOVE, 1, i);
  g_release = true;
  drain();
  EXPECT_EQ(g_moves.load(), 1);
  EXPECT_EQ(g_lastMove.load(), 50u);
}

TEST_F(EngineThreadTest, MergedRebuildsStillResetThePosition) {
  ASSERT_EQ(vlm_OpenWindow(), 1);
  blockEngine();
  postEngine(*currentState(), CMD_UPDATE_MODEL, 1);
  postEngine(*currentState(), CMD_UPDATE_MODEL, 0);
  g_release = true;
  drain();
  EXPECT_EQ(g_rebuilds.load(), 1);
  EXPECT_EQ(g_lastRebuildFlags.load(), 1u);
}

TEST_F(EngineThreadTest, AFailedOpenReturnsZeroAndLeavesNoEngineThread) {
  g_openResult = false;
  EXPECT_EQ(vlm_OpenWindow(), 0);
  EXPECT_EQ(std::atomic_load(&currentState()->main->engineThread), nullptr);
}

TEST_F(EngineThreadTest, AnErrorDuringOpenReachesTheUserWithoutDeadlock) {
  engineHandlers().set(CMD_OPEN_WINDOW, [](EngineState&, const platform::Command&) {
    vlm_Error("Unable to set OpenGL graphics format (1)");
    return false;
  });
  EXPECT_EQ(vlm_OpenWindow(), 0);
  auto boxes = boxes_->boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Unable to set OpenGL graphics format (1)");
}

TEST_F(EngineThreadTest, AHostWaitingForTheLockStillServesASendFromTheHolder) {
  ASSERT_EQ(vlm_OpenWindow(), 1);
  static std::atomic<bool> sent;
  sent = false;
  engineHandlers().set(CMD_PLAY_SLIDER, [](EngineState& s, const platform::Command&) {
    s.main->dataLock.acquire();
    g_busy = true;
    vlm_SendMessage(HM_SHOW_FLOATING_MENU, 7, 0);
    sent = true;
    s.main->dataLock.release();
    return true;
  });
  postEngine(*currentState(), CMD_PLAY_SLIDER);
  while (!g_busy) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  // The host thread now waits for the lock that the engine thread holds while
  // it waits for the host.
  ASSERT_TRUE(currentState()->main->dataLock.acquire(std::chrono::seconds(10)));
  currentState()->main->dataLock.release();
  EXPECT_TRUE(sent.load());
}

TEST_F(EngineThreadTest, CloseIsBoundedWhenTheEngineThreadHangs) {
  ASSERT_EQ(vlm_OpenWindow(), 1);
  teardownTimeouts().closeWindow = std::chrono::milliseconds(200);
  blockEngine();
  QElapsedTimer timer;
  timer.start();
  vlm_CloseWindow();
  EXPECT_LT(timer.elapsed(), 5000);
  EXPECT_EQ(std::atomic_load(&currentState()->main->engineThread), nullptr);
  EXPECT_TRUE(currentState()->main->dataLock.isFree());
}

// Closing takes the data lock at once; a rebuild queued on the engine thread
// before the close still gets it, finishes, and the close does not wait out
// its time-out.
TEST_F(EngineThreadTest, ARebuildQueuedBeforeACloseFinishesAndTheCloseReturnsPromptly) {
  ASSERT_EQ(vlm_OpenWindow(), 1);
  teardownTimeouts().closeWindow = std::chrono::milliseconds(4000);
  blockEngine();
  postEngine(*currentState(), CMD_UPDATE_MODEL, 0);
  platform::DataLock& lock = currentState()->main->dataLock;
  // The engine thread goes on only once the close has taken the lock.
  std::thread releaser([&lock] {
    while (lock.isFree()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    g_release = true;
  });
  QElapsedTimer timer;
  timer.start();
  vlm_CloseWindow();
  releaser.join();
  EXPECT_LT(timer.elapsed(), 3000) << "the close waited out its time-out";
  EXPECT_EQ(g_rebuilds.load(), 1);
  EXPECT_TRUE(lock.isFree());
  // Nobody else got in while the window closed, and the lock works as before.
  EXPECT_TRUE(lock.tryAcquire());
  lock.release();
}

}  // namespace
}  // namespace vlm
