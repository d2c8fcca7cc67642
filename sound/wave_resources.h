#pragma once
// The eight sound recordings built into the engine library: their names,
// roles and formats, and where their bytes are.
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace vlm {

constexpr int32_t kWaveResourceCount = 8;
constexpr int32_t kEffectNo = 6;   // played for a sample without a value
constexpr int32_t kEffectYes = 7;
constexpr int32_t kMenuEffectCount = 6;  // effects 0..5 can be chosen in the sound menu

struct WaveResourceInfo {
  const char* resource;    // resource name, "CHORD"
  const char* effectName;  // as the model file stores it, "Chord"
  const char* menuText;    // in the sound menu, "&Chord"; null for those not offered
  const char* fileName;    // the built-in file
  uint16_t channels;
  uint16_t bitsPerSample;
  uint32_t samplesPerSec;
  int32_t milliseconds;    // about this long
};

// Index 0..7; any other index gives entry 0.
const WaveResourceInfo& waveResourceInfo(int32_t index);

// The bytes of a resource by its name ("CHORD"); empty when there is none.
std::span<const uint8_t> findWaveResource(std::string_view resource);

using WaveResourceLookup = std::function<std::span<const uint8_t>(std::string_view resource)>;
// Replaces the lookup (null restores the built-in files); returns the previous one.
WaveResourceLookup setWaveResourceLookup(WaveResourceLookup lookup);

}  // namespace vlm
