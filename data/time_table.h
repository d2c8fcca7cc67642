#pragma once
// The table of distinct date/time values that date fields index into.
#include <cstdint>

#include "data/data_table.h"

namespace vlm {

// Entries are equal when every part but the day of week is equal.
bool sameTime(const TimeEntry& a, const TimeEntry& b);

// Returns the index of an equal entry, appending the entry when there is none;
// -1 when the table cannot grow ("Unable to store all the time information!").
int32_t internTime(TimeTable& table, const TimeEntry& entry);

// internTime in two steps, for callers that prepare entries ahead of
// interning them: prepareTime hashes the entry and asks the processor for the
// hash bucket where it will be looked up.
struct PreparedTime {
  TimeEntry entry;
  uint32_t hash = 0;
};
PreparedTime prepareTime(const TimeTable& table, const TimeEntry& entry);
int32_t internPreparedTime(TimeTable& table, const PreparedTime& time);

// Readies the table for about `entries` more entries, so that a load of that
// many grows neither its index nor its entries. False when there is no room.
bool reserveTimeTable(TimeTable& table, size_t entries);

// The entry at an index, or nullptr when the index is outside the table.
const TimeEntry* timeEntry(const TimeTable& table, int32_t index);

void clearTimeTable(TimeTable& table);

}  // namespace vlm
