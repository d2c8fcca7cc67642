#include "data/text_pool.h"

#include <functional>
#include <new>
#include <string>

#include "platform/report.h"

namespace vlm {
namespace {

uint32_t textHash(std::string_view text) {
  const uint64_t h = std::hash<std::string_view>{}(text);
  return static_cast<uint32_t>(h ^ (h >> 32));
}

std::string_view cleanText(std::string_view text, std::string& scratch) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  std::string_view rest = text.substr(start);
  // Most texts hold no line breaks or tabs; only those need a rewritten copy.
  bool rewrite = false;
  for (size_t i = 1; i < rest.size() && !rewrite; ++i) rewrite = rest[i] == '\r' || rest[i] == '\n' || rest[i] == '\t';
  if (rewrite) {
    scratch.assign(rest);
    for (size_t i = 1; i < scratch.size(); ++i) {
      if (scratch[i] == '\r' || scratch[i] == '\n')
        scratch[i] = ';';
      else if (scratch[i] == '\t')
        scratch[i] = ' ';
    }
    rest = scratch;
  }
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
  return rest;
}

// The index must describe exactly the pool's texts; rebuild it when the pool
// was filled or copied behind its back.
bool indexInStep(TextPool& pool) {
  if (pool.index.count == static_cast<int32_t>(pool.texts.size())) return true;
  hashIndexClear(pool.index);
  for (size_t i = 0; i < pool.texts.size(); ++i) {
    const int32_t entry = static_cast<int32_t>(i);
    const uint32_t hash = textHash(pool.texts[i]);
    const bool known = hashIndexFind(pool.index, hash, [&](int32_t e) { return pool.texts[e] == pool.texts[i]; }) >= 0;
    if (known) continue;  // keep the first of duplicate texts, as a scan would
    if (!hashIndexInsert(pool.index, hash, entry)) return false;
  }
  // Duplicates leave the count below the pool size; mark the index as matching.
  pool.index.count = static_cast<int32_t>(pool.texts.size());
  return true;
}

}  // namespace

int32_t internText(TextPool& pool, std::string_view text) {
  if (text.empty()) return -1;
  std::string scratch;
  const std::string_view clean = cleanText(text, scratch);
  if (clean.empty()) return -1;

  if (!indexInStep(pool)) {
    platform::reportError("Unable to store all the text information!");
    return -1;
  }
  const int32_t next = static_cast<int32_t>(pool.texts.size());
  // One probe finds the text or the bucket where it belongs.
  if (next == INT32_MAX || !hashIndexReserveOne(pool.index)) {
    platform::reportError("Unable to store all the text information!");
    return -1;
  }
  const uint32_t hash = textHash(clean);
  size_t bucket = 0;
  const int32_t found = hashIndexFind(pool.index, hash, [&](int32_t e) { return pool.texts[e] == clean; }, &bucket);
  if (found >= 0) return found;
  try {
    pool.texts.emplace_back(clean);
  } catch (const std::bad_alloc&) {
    platform::reportError("Unable to store all the text information!");
    return -1;
  }
  hashIndexPlace(pool.index, bucket, hash, next);
  // The vector grows geometrically on its own; the slot count keeps the
  // pool's published allocation unit.
  if (next >= pool.slotCount) pool.slotCount += kTextPoolSlotStep;
  return next;
}

const std::string* poolText(const TextPool& pool, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= pool.texts.size()) return nullptr;
  return &pool.texts[static_cast<size_t>(index)];
}

void clearTextPool(TextPool& pool) {
  std::vector<std::string>().swap(pool.texts);
  pool.slotCount = 0;
  hashIndexClear(pool.index);
}

}  // namespace vlm
