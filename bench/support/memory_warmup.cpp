#include "support/memory_warmup.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace vlm::bench {

size_t warmupBytesFor(const std::string& path) {
  const char* cold = std::getenv("VLM_BENCH_COLD");
  if (cold && *cold && *cold != '0') return 0;
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  const size_t least = size_t{256} << 20;
  if (error) return least;
  return std::max<size_t>(least, static_cast<size_t>(size) * 4);
}

void warmFreeMemory(size_t bytes) {
  if (bytes == 0) return;
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return;
  madvise(block, bytes, MADV_HUGEPAGE);
  auto* bytesAt = static_cast<volatile char*>(block);
  for (size_t at = 0; at < bytes; at += 4096) bytesAt[at] = 1;
  munmap(block, bytes);
}

}  // namespace vlm::bench
