#pragma once
// Some virtual machines hand memory a program frees back to their host after
// a second or two (free page reporting); touching it again then costs a fault
// on the host as well, here some 1.5 ms per MiB against 0.06 for memory freed
// a moment before. Whichever program of a comparison runs first after a pause
// meets such memory, the others inherit what it just freed: our load ran
// first and paid for it, twice its time at 4 million rows. Each side now
// touches and frees about the memory it will need right before it is timed,
// as a program meets memory on a machine of its own. VLM_BENCH_COLD=1 leaves
// this out.
#include <cstddef>
#include <string>

namespace vlm::bench {

// Bytes to ready before reading `path`: four times its size, 256 MiB at least;
// 0 when VLM_BENCH_COLD is set.
size_t warmupBytesFor(const std::string& path);

// Touches `bytes` of fresh memory in huge pages and frees it.
void warmFreeMemory(size_t bytes);

}  // namespace vlm::bench
