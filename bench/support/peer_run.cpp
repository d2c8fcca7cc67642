#include "support/peer_run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>

namespace vlm::bench {
namespace {

long statusKiB(const char* wanted) {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == wanted) {
      status >> value;
      return value;
    }
    status.ignore(1 << 20, '\n');
  }
  return 0;
}

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

PeerResult runPeer(const std::string& command) {
  PeerResult result;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return result;
  const int got =
      std::fscanf(pipe, "%lf %lld %ld %lf", &result.seconds, &result.rows, &result.peakKiB, &result.cpuSeconds);
  result.ran = pclose(pipe) == 0 && got == 4;
  return result;
}

PeerResult runPandas(const std::string& path, const std::string& dateColumns, size_t warmBytes) {
  // Debian's python3-pandas lives with the system's interpreter.
  return runPeer("/usr/bin/python3 " VLM_BENCH_DIR "/peers/pandas_read.py " + quoted(path) + " " +
                 quoted(dateColumns) + " " + std::to_string(warmBytes));
}

PeerResult runDuckDb(const std::string& path, size_t warmBytes) {
  // scripts/bench copies the script beside the package it installs (a module
  // finds its imports from where it lies) and names the copy here.
  const char* script = std::getenv("VLM_BENCH_DUCKDB");
  if (!script || !*script) return {};
  return runPeer("node " + quoted(script) + " " + quoted(path) + " " + std::to_string(warmBytes));
}

long residentKiB() { return statusKiB("VmRSS:"); }
long peakResidentKiB() { return statusKiB("VmHWM:"); }
void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace vlm::bench
