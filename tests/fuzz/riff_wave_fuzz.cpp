// Arbitrary bytes as a wave file: the chunk walk must never read outside the
// bytes, and what it accepts must lie inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sound/riff_wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  vlm::WaveFile wave;
  if (vlm::parseWaveFile(file, wave)) {
    const uint8_t* begin = wave.samples.data();
    if (!wave.samples.empty() && (begin < data || begin + wave.samples.size() > data + size)) std::abort();
    volatile uint8_t sum = 0;
    for (uint8_t b : wave.samples) sum = static_cast<uint8_t>(sum + b);
  }
  return 0;
}
