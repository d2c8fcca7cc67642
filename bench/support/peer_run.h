#pragma once
// Runs a peer (pandas, DuckDB) on a file in a child process and reads what it
// measured, for the benchmarks that report ratios against it.
#include <cstddef>
#include <string>

namespace vlm::bench {

struct PeerResult {
  bool ran = false;
  double seconds = 0;
  long long rows = 0;
  long peakKiB = 0;  // growth of the peak resident memory during the read
  double cpuSeconds = 0;  // processor time of all its threads during the read
};

// Runs `command` (its stderr is dropped) and parses "seconds rows peakKiB cpuSeconds".
PeerResult runPeer(const std::string& command);
// Each peer first touches and frees `warmBytes` of memory (see memory_warmup.h).
PeerResult runPandas(const std::string& path, const std::string& dateColumns, size_t warmBytes);
PeerResult runDuckDb(const std::string& path, size_t warmBytes);

// The process's resident and peak resident memory in KiB, and a reset of the peak.
long residentKiB();
long peakResidentKiB();
void resetPeakResident();
// Processor seconds of all the process's threads so far. On a busy machine
// the wall time of every program stretches; this shows the work itself.
double processCpuSeconds();

}  // namespace vlm::bench
