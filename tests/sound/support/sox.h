#pragma once
// Measurements of wave files by sox: length, rough frequency and loudness of
// the sound between the leading and trailing silence.
#include <string>

namespace vlm::test {

struct SoxStat {
  bool ok = false;
  double seconds = 0;
  double frequency = 0;  // rough frequency of the first channel, Hz
  double rms = 0;
  double maximum = 0;
};

bool soxAvailable();
// "stat" of the first channel with silence (below 0.1 %) trimmed at both ends.
SoxStat soxStat(const std::string& wavePath);
// The header fields as soxi gives them: rate, channels, samples.
struct SoxInfo {
  bool ok = false;
  int rate = 0;
  int channels = 0;
  long samples = 0;
};
SoxInfo soxInfo(const std::string& wavePath);

}  // namespace vlm::test
