#pragma once
// What the database loader keeps between its commands: the record stream of
// the object being loaded, and what it knows of the database workspace's
// life cycle.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dde/conversation.h"
#include "sources/sampling.h"

namespace vlm {

struct EngineState;

constexpr const char* kAccessService = "MSAccess";
constexpr int32_t kAccessTable = 21;
constexpr int32_t kAccessQuery = 23;
constexpr int32_t kChunkRecords = 1000;
constexpr size_t kStreamBufferStart = 1048576;

// The records of one object on their way into the table.
struct RecordStream {
  bool open = false;
  uint32_t generation = 0;  // the load it belongs to
  int32_t object = -1;
  platform::dde::Conversation conversation;
  SamplingPlan plan;
  int32_t wanted = kSamplingEnd;   // the next source row to keep
  int64_t received = 0;            // source index of the next record to arrive
  // The database sends only the plan's rows (it samples on the server): each
  // record that arrives is the one wanted.
  bool serverSamples = false;
  // Only the rows that pass a filter arrive: each names its row of the
  // whole object itself (the plan counts the rows that pass).
  bool filtered = false;
  // The records kept since the last chunk, back to back, each ended by NUL,
  // and where each begins; their source indexes in the row-id list.
  std::string buffer;
  std::vector<size_t> starts;
  std::vector<int32_t> rowIds;
  int32_t rowsAtLastRebuild = 0;   // the tools and the model were rebuilt at this row count
  int32_t expectedRows = 0;        // at most this many rows will be kept
};

struct AccessSession {
  RecordStream stream;
  // Automation flags: whether the engine had to start the workspace, and
  // whether it was found running and visible at start.
  std::atomic<bool> startedByEngine{false};
  std::atomic<bool> foundRunning{false};
  std::atomic<bool> foundVisible{false};
};

// The state's session, made on first use (data thread, or start-up).
AccessSession& accessSession(EngineState& state);

// Ends the record stream (its conversation, buffer and row ids).
void closeRecordStream(RecordStream& stream);

}  // namespace vlm
