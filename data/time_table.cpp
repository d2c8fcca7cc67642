#include "data/time_table.h"

#include <exception>
#include <new>

#include "platform/report.h"

namespace vlm {
namespace {

uint32_t timeHash(const TimeEntry& e) {
  const uint64_t date = uint64_t(e.year) | uint64_t(e.month) << 16 | uint64_t(e.day) << 32 | uint64_t(e.hour) << 48;
  const uint64_t time = uint64_t(e.minute) | uint64_t(e.second) << 16 | uint64_t(e.millisecond) << 32;
  return hashMix64(date ^ (time * 0x9e3779b97f4a7c15ull));
}

bool indexInStep(TimeTable& table) {
  if (table.index.count == static_cast<int32_t>(table.entries.size())) return true;
  hashIndexClear(table.index);
  for (size_t i = 0; i < table.entries.size(); ++i) {
    const TimeEntry& entry = table.entries[i];
    const uint32_t hash = timeHash(entry);
    if (hashIndexFind(table.index, hash, [&](int32_t e) { return sameTime(table.entries[e], entry); }) >= 0) continue;
    if (!hashIndexInsert(table.index, hash, static_cast<int32_t>(i))) return false;
  }
  table.index.count = static_cast<int32_t>(table.entries.size());
  return true;
}

}  // namespace

bool sameTime(const TimeEntry& a, const TimeEntry& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second && a.millisecond == b.millisecond;
}

int32_t internTime(TimeTable& table, const TimeEntry& entry) {
  return internPreparedTime(table, {entry, timeHash(entry)});
}

PreparedTime prepareTime(const TimeTable& table, const TimeEntry& entry) {
  const uint32_t hash = timeHash(entry);
  hashIndexPrefetch(table.index, hash);
  return {entry, hash};
}

bool reserveTimeTable(TimeTable& table, size_t entries) {
  if (entries > static_cast<size_t>(INT32_MAX) || !indexInStep(table)) return false;
  if (!hashIndexReserve(table.index, entries)) return false;
  try {
    table.entries.reserve(table.entries.size() + entries);
  } catch (const std::exception&) {
    return false;  // the entries grow as they arrive
  }
  return true;
}

int32_t internPreparedTime(TimeTable& table, const PreparedTime& time) {
  const auto fail = [] {
    platform::reportError("Unable to store all the time information!");
    return -1;
  };
  const TimeEntry& entry = time.entry;
  const uint32_t hash = time.hash;
  if (!indexInStep(table)) return fail();
  const int32_t next = static_cast<int32_t>(table.entries.size());
  if (next == INT32_MAX || !hashIndexReserveOne(table.index)) return fail();
  size_t bucket = 0;
  const int32_t found =
      hashIndexFind(table.index, hash, [&](int32_t e) { return sameTime(table.entries[e], entry); }, &bucket);
  if (found >= 0) return found;
  try {
    table.entries.push_back(entry);
  } catch (const std::bad_alloc&) {
    return fail();
  }
  hashIndexPlace(table.index, bucket, hash, next);
  return next;
}

const TimeEntry* timeEntry(const TimeTable& table, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= table.entries.size()) return nullptr;
  return &table.entries[static_cast<size_t>(index)];
}

void clearTimeTable(TimeTable& table) {
  decltype(table.entries)().swap(table.entries);
  hashIndexClear(table.index);
}

}  // namespace vlm
