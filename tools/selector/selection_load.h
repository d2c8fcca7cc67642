#pragma once
// Load Selection Only: the database table or query on view is read again,
// the Selector's Range and Substring rows run by the database, so that only
// the selected rows cross to the table (their row ids still name the rows of
// the whole object). Anything that stops it is said in a box, and the table
// on view stays.
#include "platform/command_queue.h"

namespace vlm {
struct EngineState;
}

namespace vlm::selector {

// The data thread's handler of CMD_LOAD_SELECTION: checks the source and
// the rows, then hands the filter to the next load of the object.
bool onLoadSelectionOnly(EngineState& state, const platform::Command& command);

}  // namespace vlm::selector
