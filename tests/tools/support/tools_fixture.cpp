#include "tools/support/tools_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "data/distinct_values.h"
#include "engine/commands/command_ids.h"
#include "engine/commands/handler_table.h"
#include "engine/vlmapi.h"
#include "engine/worker_thread.h"
#include "platform/registry_store.h"
#include "tools/menus/menu_tracker.h"

namespace vlm::test {
namespace {

std::atomic<int> g_rebuilds{0};
CommandHandler g_rebuild = nullptr;
std::atomic<int> g_drained{0};

bool countingRebuild(EngineState& state, const platform::Command& c) {
  const bool result = g_rebuild ? g_rebuild(state, c) : true;
  ++g_rebuilds;
  return result;
}

bool drained(EngineState&, const platform::Command&) {
  ++g_drained;
  return true;
}

}  // namespace

struct ToolsTest::Chooser {
  std::mutex mutex;
  int32_t next = 0;
  std::vector<tools::Menu> shown;
};

bool waitUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void ToolsTest::SetUp() {
  setenv("ALSOFT_DRIVERS", "null", 0);  // sound plays on OpenAL Soft's silent backend
  EngineTest::SetUp();
  // No arrangement of the tool windows at start: the tests open what they use.
  platform::RegistryStore::instance().writeDword(platform::RegistryRoot::CurrentUser,
                                                 "SOFTWARE\\Velmora\\Velmora.Access\\", "FirstRun", 0);
  ASSERT_TRUE(init());
  state_ = currentState();
  g_rebuild = engineHandlers().find(CMD_UPDATE_MODEL);
  engineHandlers().set(CMD_UPDATE_MODEL, &countingRebuild);
  engineHandlers().set(CMD_KEY_UP + 1, &drained);  // an unused number marks the queue's end
  chooser_ = std::make_shared<Chooser>();
  std::weak_ptr<Chooser> weak = chooser_;
  tools::setMenuChooser([weak](const tools::Menu& menu) -> int32_t {
    auto c = weak.lock();
    if (!c) return 0;
    std::lock_guard lock(c->mutex);
    c->shown.push_back(menu);
    return c->next;
  });
}

void ToolsTest::TearDown() {
  tools::setMenuChooser(nullptr);
  platform::setDialogAnswerer({});
  vlm_DeinitSystem();
  if (g_rebuild) engineHandlers().set(CMD_UPDATE_MODEL, g_rebuild);
  engineHandlers().set(CMD_KEY_UP + 1, nullptr);
  state_.reset();
  EngineTest::TearDown();
}

bool ToolsTest::openWindow() { return vlm_OpenWindow() == 1; }

int ToolsTest::rebuilds() const { return g_rebuilds.load(); }

bool ToolsTest::waitForRebuild(int before) {
  return waitUntil([&] { return g_rebuilds.load() > before; });
}

void ToolsTest::drainEngine() {
  const int before = g_drained.load();
  if (!postEngine(*state_, CMD_KEY_UP + 1)) return;
  waitUntil([&] { return g_drained.load() > before; });
}

void ToolsTest::choose(int32_t id) {
  std::lock_guard lock(chooser_->mutex);
  chooser_->next = id;
}

std::vector<tools::Menu> ToolsTest::shownMenus() const {
  std::lock_guard lock(chooser_->mutex);
  return chooser_->shown;
}

void ToolsTest::answerDialogs(platform::DialogAnswerer answerer) { platform::setDialogAnswerer(std::move(answerer)); }

void loadCars(EngineState& state, int sourceKind) {
  loadTable(state,
            {{"Name", {"chevrolet", "buick", "plymouth", "amc", "ford", "audi"}},
             {"Miles", {"18", "15", "18", "16", "17", "24"}},
             {"Weight", {"3504.5", "3693.25", "3436", "3433.75", "3449", "2372"}},
             {"Origin", {"USA", "USA", "USA", "USA", "USA", "Europe"}},
             {"Year", {"1970", "1970", "1971", "1971", "1972", "1972"}}},
            sourceKind);
  // What a load does after storing the rows: the fields' value lists, every sample selected.
  platform::DataLockGuard lock(state.main->dataLock);
  buildAllDistinctValues(*state.data, [](int32_t) {});
  const auto rows = static_cast<size_t>(state.data->rowCount.get());
  state.model->selectionFlags.assign(std::max(rows, state.model->selectionFlags.size()), 0);
  std::fill(state.model->selectionFlags.begin(), state.model->selectionFlags.begin() + static_cast<std::ptrdiff_t>(rows), 1);
  state.model->selectedCount = static_cast<int32_t>(rows);
}

}  // namespace vlm::test
