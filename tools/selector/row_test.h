#pragma once
// The pass bits of the Selector's rows and what a changed bit sets off.
//
// Each field's row gives every sample a pass bit (bit 2 of its cell's flags).
// A sample's fail count is the number of its pass bits that are clear, so it
// passes every row when the count is 0 and every row but r when the count is
// 0, or 1 with r's bit clear. When a row's test changes a bit, the sample's
// selection flag becomes 0 at once (bit cleared) or 6 (bit set; re-evaluated
// by the computation), and each Samples row counts, per value, the samples
// that pass every other row: a value is available while its count is above 0.
// Re-running a row therefore costs one pass over that field's cells plus work
// for the samples whose bit changed, whatever the number of fields.
//
// Everything here runs under the data lock.
#include <cstdint>
#include <vector>

#include "data/data_table.h"
#include "engine/selector_record.h"

namespace vlm::selector {

struct QueryArrays {
  DataTable& table;
  std::vector<uint8_t>& flags;  // the selection flags
  SelectorRecord& record;
};

// The samples the rows work on: the table's rows that have a flag.
int32_t sampleCount(const QueryArrays& q);

// Whether the table is big enough for its fields to be gone through on both
// cores (forEachOnBothCores) when each is gone through on its own.
bool worthBothCores(const DataTable& table);

// A fresh load: every pass bit set, every fail count 0, every flag 6.
void passEverything(QueryArrays& q);

// When rows were removed or moved since the counts were made (a deletion),
// counts the clear pass bits again and the availability of every Samples row.
void syncFailCounts(QueryArrays& q);

// Re-runs the test of the field's row and applies every bit it changes.
void rerunRowTest(QueryArrays& q, int32_t field);

// Counts, for each value of the field's list, the samples that pass every
// other row, and sets the available marks from the counts (a Samples row
// keeps them up to date from then on). Marks the row changed when a mark changed.
void countAvailability(QueryArrays& q, int32_t field);
// Marks every value of the field's list available (Item rows).
void markAllAvailable(DataField& field);

// Re-evaluates every flag 6: 1 when the sample fails no row, else 0. Returns
// the number of non-zero flags.
int32_t reevaluateFlags(QueryArrays& q);

}  // namespace vlm::selector
