#include "tools/calculator/calculator.h"

#include <atomic>

#include <QObject>

#include <dlfcn.h>

#include "engine/commands/command_ids.h"
#include "engine/engine_state.h"
#include "engine/worker_thread.h"
#include "platform/host_queue.h"
#include "tools/calculator/calculator_menu.h"
#include "tools/calculator/calculator_results.h"
#include "tools/calculator/calculator_rows.h"
#include "tools/calculator/calculator_stats.h"
#include "tools/calculator/calculator_window.h"

namespace vlm::calculator {
namespace {

template <typename F>
F lookUp(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

Speech makeSpeech() {
  Speech s;
  if (auto speak = lookUp<int (*)(const char*)>("vlm_SpeakText"))
    s.speak = [speak](const std::string& text) { speak(text.c_str()); };
  if (auto wait = lookUp<int (*)(const char*, int)>("vlm_SpeakTextWait"))
    s.speakWait = [wait](const std::string& text, int32_t ms) { wait(text.c_str(), ms); };
  return s;
}

void runQueued(EngineState& state) {
  CalculatorRecord& rec = state.main->calculator;
  for (;;) {
    std::function<void(EngineState&)> work;
    {
      std::lock_guard lock(rec.editMutex);
      if (rec.edits.empty()) return;
      work = std::move(rec.edits.front());
      rec.edits.pop_front();
    }
    work(state);
  }
}

std::shared_ptr<const std::vector<std::string>> fieldNamesOf(const DataTable& table) {
  auto names = std::make_shared<std::vector<std::string>>();
  names->reserve(static_cast<size_t>(std::max(table.fieldCount, 0)));
  for (int32_t f = 0; f < table.fieldCount; ++f) names->emplace_back(table.fields[static_cast<size_t>(f)].name);
  return names;
}

}  // namespace

Speech& speech() {
  static Speech s = makeSpeech();
  return s;
}

bool withLock(EngineState& state, std::function<void(EngineState&)> work) {
  platform::DataLock& lock = state.main->dataLock;
  if (lock.heldByCurrentThread()) {
    work(state);
    return true;
  }
  if (lock.tryAcquire()) {
    work(state);
    lock.release();
    return true;
  }
  const auto engine = state.main->engineThread;
  if (engine && !engine->isCurrent() && !engine->finished()) {
    {
      std::lock_guard guard(state.main->calculator.editMutex);
      state.main->calculator.edits.push_back(std::move(work));
    }
    postEngine(state, CMD_CALCULATOR_EDIT);
    return false;
  }
  platform::DataLockGuard guard(lock);
  work(state);
  return true;
}

bool onCalculatorEdit(EngineState& state, const platform::Command&) {
  platform::DataLockGuard guard(state.main->dataLock);
  runQueued(state);
  return true;
}

void calculateLocked(EngineState& state) {
  CalculatorRecord& rec = state.main->calculator;
  const DataTable& table = *state.data;
  if (!rec.stats) rec.stats = std::make_shared<CalculatorStats>();
  CalculatorStats& stats = *rec.stats;
  const uint64_t generation = rec.tableGeneration.load();
  const bool newTable = stats.generation != generation || stats.fieldCount != table.fieldCount;
  updateStats(stats, table, state.model->selectionFlags, generation, fieldNeeds(rec, table));
  formatResults(rec, stats, table, state.main->regional);

  auto view = std::make_shared<CalculatorView>();
  static std::atomic<uint64_t> calculations{0};
  view->sequence = ++calculations;  // under the data lock: in the order of the calculations
  view->rows.reserve(static_cast<size_t>(rec.count));
  for (int32_t i = 0; i < rec.count; ++i) {
    const CalculatorRow& row = rec.rows[static_cast<size_t>(i)];
    view->rows.push_back({row.label, row.result, calcFunction(row), row.field, calcSpoken(row)});
    if (calcSpoken(row) && speech().speak) speech().speak(row.result);
  }
  if (newTable || !stats.fieldNames) stats.fieldNames = fieldNamesOf(table);
  view->fieldNames = stats.fieldNames;
  showResults(state, std::move(view));
}

void calculateNow(EngineState& state) {
  withLock(state, [](EngineState& s) { calculateLocked(s); });
}

void selectionChangedLocked(EngineState& state) {
  if (state.main->calculator.open.load()) calculateLocked(state);
}

void fieldsLoadedLocked(EngineState& state) {
  fitRowsToTable(state.main->calculator, *state.data, state.main->settings.speechCalculator != 0);
}

void tableLoadedLocked(EngineState& state) {
  CalculatorRecord& rec = state.main->calculator;
  // An open Calculator has calculated already: the load's selection change
  // came after its rows were fitted (fieldsLoadedLocked). Once more here
  // would say the spoken row twice.
  if (!rec.open.load() && !rec.shownAgain.exchange(true) && state.main->settings.calculator.shown != 0 &&
      state.data->rowCount > 0) {
    // Shown when the program last ended: shown again with the first data,
    // by the host thread once this load has let the lock go.
    if (auto* host = static_cast<QObject*>(state.main->hostWindow)) {
      std::weak_ptr<EngineState> weak = currentState();
      platform::queueOnHost(host, [weak] {
        if (auto s = weak.lock(); s && !s->main->calculator.open.load()) openWindow(*s);
      });
    }
  }
}

void updateCalculator(EngineState& state, int32_t command, int32_t row) {
  auto spokenLabel = std::make_shared<std::string>();
  const bool ranNow = withLock(state, [command, row, spokenLabel](EngineState& s) {
    if (!applyMenuCommand(s, command, row)) return;
    const CalculatorRecord& rec = s.main->calculator;
    if (command == MENU_SPEAK && row >= 0 && row < rec.count && calcSpoken(rec.rows[static_cast<size_t>(row)]))
      *spokenLabel = rec.rows[static_cast<size_t>(row)].label;
    calculateLocked(s);
  });
  if (spokenLabel->empty()) return;
  // The label is spoken at once, once the rows are free again: waiting at
  // most two seconds here, or without waiting when the engine thread made
  // the change.
  if (ranNow && speech().speakWait)
    speech().speakWait(*spokenLabel, 2000);
  else if (speech().speak)
    speech().speak(*spokenLabel);
}

}  // namespace vlm::calculator
