#pragma once
// A running engine for the tool tests: the stand-in host, an engine thread on a
// hidden view, a loaded table, a count of model rebuilds, and scripted menus
// and dialogs.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/commands/handler_table.h"
#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "platform/common_dialogs.h"
#include "tools/menus/menu.h"

namespace vlm::test {

// Processes events until `done` holds or `ms` pass.
bool waitUntil(const std::function<bool()>& done, int ms = 10000);

class ToolsTest : public EngineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the engine thread; false when this display gives no GL context.
  bool openWindow();
  // Waits until a rebuild posted after `before` has run.
  bool waitForRebuild(int before);
  // Runs every command queued on the engine thread so far.
  void drainEngine();
  int rebuilds() const;
  // The next menu shown picks `id` (0 dismisses it) and is remembered.
  void choose(int32_t id);
  std::vector<tools::Menu> shownMenus() const;
  void answerDialogs(platform::DialogAnswerer answerer);

  std::shared_ptr<EngineState> state_;

 private:
  struct Chooser;
  std::shared_ptr<Chooser> chooser_;
};

// Puts a handler in place of a command's own for the life of the object.
class HandlerSwap {
 public:
  HandlerSwap(HandlerTable& table, int32_t number, CommandHandler handler)
      : table_(table), number_(number), previous_(table.find(number)) {
    table_.set(number, handler);
  }
  ~HandlerSwap() { table_.set(number_, previous_); }
  HandlerSwap(const HandlerSwap&) = delete;
  HandlerSwap& operator=(const HandlerSwap&) = delete;

 private:
  HandlerTable& table_;
  int32_t number_;
  CommandHandler previous_;
};

// The cars-like table most tool tests use: Name (text), Miles (integer), Weight
// (real), Origin (text), Year (integer).
void loadCars(EngineState& state, int sourceKind = 3);

}  // namespace vlm::test
