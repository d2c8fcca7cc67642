#pragma once
// Loading a table or query of the open database: the first step reads its
// row count and fields and opens the record stream; each following step
// takes up to 1000 kept records into the table and posts the next.
#include <cstdint>
#include <string>
#include <string_view>

#include "sources/sampling.h"

namespace vlm {

struct EngineState;
struct DataTable;
class CellLoader;

// Results of the first step (the connection result it leaves).
constexpr int32_t kStreamOpened = 1;
constexpr int32_t kLoadCancelled = -11;
// The object could not be read (no answer, no rows): the table loaded before
// is kept as it was.
constexpr int32_t kObjectUnread = 0;
// The object's fields were read, but its records cannot be streamed.
constexpr int32_t kStreamUnopened = -3;

// The first step for object `object` of the table's list. Shows the Load
// Control dialog when it is due. On kStreamOpened the table holds the
// object's fields and no rows, and the first following step is posted.
int32_t startObjectLoad(EngineState& state, int32_t object);

// A following step of the load `generation`; does nothing when that load's
// stream is closed or a newer load began.
void continueObjectLoad(EngineState& state, int32_t object, uint32_t generation);

// The command arguments of a following step: the load's generation rides in
// the upper half of lParam, whose lower half (the full flag) is 0.
uintptr_t chunkArgument(uint32_t generation);
uint32_t chunkGeneration(uintptr_t lParam);
bool isFullLoad(uintptr_t lParam);

// The number of rows a plan keeps of `sourceRows` rows.
int64_t keptRowCount(const SamplingPlan& plan, int32_t sourceRows);

// The row capacity for `needed` rows when the table holds `capacity`: four
// times as many as now while the load is known to keep more, twice as many
// past what it was thought to keep (so that growing costs linear time), but
// no more than the load will keep, and never less than needed.
int32_t grownCapacity(int32_t capacity, int32_t needed, int64_t expected);

// Stores one record as sample `sample` (source index `sourceIndex`): its
// tab-separated cells in field order. An integer field that meets a value
// outside int32 becomes a real field; returns true when that happened.
bool storeRecord(DataTable& table, CellLoader& loader, int32_t sample, int32_t sourceIndex,
                 std::string_view record);

}  // namespace vlm
