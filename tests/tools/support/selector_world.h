#pragma once
// An engine state without running threads or a host, holding a loaded table
// with the Selector's rows built as after a load; and an independent
// evaluation of every row, to check what the Selector computed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/support/table_loader.h"

namespace vlm::test {

// The state; its engine thread exists but never runs, so what is posted to
// it stays in its queue.
std::shared_ptr<EngineState> makeSelectorState();

// Loads the columns as a loader does: cells, distinct values, then the
// Selector takes the table (every sample selected).
void loadColumns(EngineState& state, const std::vector<Column>& columns);

// The samples whose flag is non-zero.
std::vector<int32_t> selectedSamples(const EngineState& state);

// The commands posted to the engine thread since the last call.
std::vector<int32_t> takeEngineCommands(EngineState& state);

// Whether a sample passes the field's row, worked out from the values
// themselves (dates compared as dates, texts as texts), not from the
// Selector's pass bits or entry indexes.
bool passesRow(const EngineState& state, int32_t field, int32_t sample);
// Whether the sample passes every row but `except` (-1: every row).
bool passesRows(const EngineState& state, int32_t sample, int32_t except = -1);

// The index of a field's entry whose value text is `text` (-1 when none).
int32_t entryWithText(const EngineState& state, int32_t field, const std::string& text);

}  // namespace vlm::test
