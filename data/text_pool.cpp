#include "data/text_pool.h"

#include <exception>
#include <functional>
#include <new>

#include "data/text_hash.h"
#include "platform/report.h"

namespace vlm {
namespace {

constexpr const char* kPoolFull = "Unable to store all the text information!";

uint32_t textHash(std::string_view text) {
  const uint64_t h = textHash64(text);
  return static_cast<uint32_t>(h ^ (h >> 32));
}

bool needsRewrite(std::string_view rest) {
  for (size_t i = 1; i < rest.size(); ++i)
    if (rest[i] == '\r' || rest[i] == '\n' || rest[i] == '\t') return true;
  return false;
}

// The cleaned text; it is `text` itself cut down unless a line break or a tab
// must be rewritten, then it lies in `scratch`.
std::string_view cleanText(std::string_view text, std::string& scratch) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  std::string_view rest = text.substr(start);
  if (needsRewrite(rest)) {
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

std::string_view textAt(const TextPool& pool, size_t index) {
  const size_t begin = index == 0 ? 0 : pool.ends[index - 1];
  return std::string_view(pool.chars.data() + begin, pool.ends[index] - begin);
}

}  // namespace

int32_t internText(TextPool& pool, std::string_view text) {
  std::string scratch;
  const std::string_view clean = cleanText(text, scratch);
  if (clean.empty()) return -1;
  return internPrepared(pool, {clean, textHash(clean)});
}

PreparedText prepareText(const TextPool& pool, std::string_view text, std::string& scratch) {
  const std::string_view clean = cleanText(text, scratch);
  const uint32_t hash = textHash(clean);
  hashIndexPrefetch(pool.index, hash);
  return {clean, hash};
}

int32_t internPrepared(TextPool& pool, const PreparedText& text) {
  const std::string_view clean = text.clean;
  const uint32_t hash = text.hash;
  if (clean.empty()) return -1;
  const int32_t next = static_cast<int32_t>(pool.ends.size());
  // One probe finds the text or the bucket where it belongs.
  if (next == INT32_MAX || !hashIndexReserveOne(pool.index)) {
    platform::reportError(kPoolFull);
    return -1;
  }
  size_t bucket = 0;
  const auto same = [&](int32_t e) { return sameText(textAt(pool, static_cast<size_t>(e)), clean); };
  const int32_t found = hashIndexFind(pool.index, hash, same, &bucket);
  if (found >= 0) return found;
  const size_t oldSize = pool.chars.size();
  try {
    pool.chars.append(clean);
    pool.ends.push_back(pool.chars.size());
  } catch (const std::bad_alloc&) {
    pool.chars.resize(oldSize);  // the end was not added: keep the pool as it was
    platform::reportError(kPoolFull);
    return -1;
  }
  hashIndexPlace(pool.index, bucket, hash, next);
  // The buffers grow geometrically on their own; the slot count keeps the
  // pool's published allocation unit.
  if (next >= pool.slotCount) pool.slotCount += kTextPoolSlotStep;
  return next;
}

bool reserveTextPool(TextPool& pool, size_t texts, size_t bytes) {
  if (texts > static_cast<size_t>(INT32_MAX) || bytes > (size_t{1} << 40)) return false;
  if (!hashIndexReserve(pool.index, texts)) return false;
  try {
    pool.ends.reserve(pool.ends.size() + texts);
    pool.chars.reserve(pool.chars.size() + bytes);
  } catch (const std::exception&) {
    return false;  // they grow as texts arrive
  }
  return true;
}

int32_t poolSize(const TextPool& pool) { return static_cast<int32_t>(pool.ends.size()); }

std::optional<std::string_view> poolText(const TextPool& pool, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= pool.ends.size()) return std::nullopt;
  return textAt(pool, static_cast<size_t>(index));
}

void clearTextPool(TextPool& pool) {
  PoolChars().swap(pool.chars);
  decltype(pool.ends)().swap(pool.ends);
  pool.slotCount = 0;
  hashIndexClear(pool.index);
}

}  // namespace vlm
