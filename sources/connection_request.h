#pragma once
// The connection handler of the data thread: which source to load from, and
// how a load ends.
#include <cstdint>
#include <string>

#include "platform/command_queue.h"

namespace vlm {

struct EngineState;

// The connection request for mode M: 0 or less by application kind, 1 Excel,
// 2 Access, 3 clipboard. Every mode clears the table first; mode 2 only once
// the workspace connected to a database, so that a failed connection keeps
// the table loaded before.
// Mode 2 loads `wantedObject` when the database holds an object of that name
// (else its first); `retried` marks the one retry of an ignored conversation.
void runConnectionRequest(EngineState& state, int32_t mode, const std::string& wantedObject = {},
                          bool retried = false);

// Command handlers (data thread).
bool onInitConnection(EngineState& state, const platform::Command& command);
bool onCloseConnection(EngineState& state, const platform::Command& command);
bool onLoad(EngineState& state, const platform::Command& command);
bool onOpenFile(EngineState& state, const platform::Command& command);

}  // namespace vlm
