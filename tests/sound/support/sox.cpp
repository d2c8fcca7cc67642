#include "sound/support/sox.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace vlm::test {
namespace {

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[512];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, p)) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

// The number after "label:" on its line; false when the label is missing.
bool valueAfter(const std::string& text, const std::string& label, double& value) {
  const size_t at = text.find(label);
  if (at == std::string::npos) return false;
  const size_t colon = text.find(':', at);
  if (colon == std::string::npos) return false;
  value = std::strtod(text.c_str() + colon + 1, nullptr);
  return true;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

bool soxAvailable() { return std::system("command -v sox >/dev/null 2>&1 && command -v soxi >/dev/null 2>&1") == 0; }

SoxStat soxStat(const std::string& wavePath) {
  const std::string out = run("sox -V1 " + quoted(wavePath) +
                              " -n remix 1 silence 1 0.002 0.1% reverse silence 1 0.002 0.1% reverse stat 2>&1");
  SoxStat s;
  s.ok = valueAfter(out, "Length (seconds)", s.seconds) && valueAfter(out, "Rough   frequency", s.frequency) &&
         valueAfter(out, "RMS     amplitude", s.rms) && valueAfter(out, "Maximum amplitude", s.maximum);
  return s;
}

SoxInfo soxInfo(const std::string& wavePath) {
  SoxInfo i;
  const std::string rate = run("soxi -V1 -r " + quoted(wavePath) + " 2>/dev/null");
  const std::string channels = run("soxi -V1 -c " + quoted(wavePath) + " 2>/dev/null");
  const std::string samples = run("soxi -V1 -s " + quoted(wavePath) + " 2>/dev/null");
  if (rate.empty() || channels.empty() || samples.empty()) return i;
  i.rate = std::atoi(rate.c_str());
  i.channels = std::atoi(channels.c_str());
  i.samples = std::atol(samples.c_str());
  i.ok = i.rate > 0;
  return i;
}

}  // namespace vlm::test
