#include "sound/wave_resources.h"

#include <cstring>
#include <mutex>

#include "sound/embedded_files.h"

namespace vlm {
namespace {

constexpr WaveResourceInfo kResources[kWaveResourceCount] = {
    {"CHORD", "Chord", "&Chord", "chord.wav", 2, 16, 22050, 1100},
    {"CLICX", "ClicX", "Clic&X", "clicx.wav", 1, 16, 22050, 700},
    {"IMPACT", "Impact", "&Impact", "impact.wav", 1, 16, 11025, 170},
    {"POP", "Pop", "&Blub", "pop.wav", 1, 16, 11025, 80},
    {"SELECT", "Select", "&Tick", "select.wav", 1, 16, 11025, 15},
    {"TICK", "Tick", "Ta&p", "tick.wav", 1, 16, 11025, 40},
    {"NO", "No", nullptr, "no.wav", 1, 8, 11025, 600},
    {"YES", "Yes", nullptr, "yes.wav", 1, 8, 11025, 600},
};

std::mutex g_mutex;
WaveResourceLookup g_lookup;

std::span<const uint8_t> builtIn(std::string_view resource) {
  for (const WaveResourceInfo& info : kResources) {
    if (resource != info.resource) continue;
    for (size_t i = 0; i < embedded::kSoundFilesCount; ++i) {
      const embedded::File& f = embedded::kSoundFiles[i];
      if (std::strcmp(f.name, info.fileName) == 0) return {f.data, f.size};
    }
  }
  return {};
}

}  // namespace

const WaveResourceInfo& waveResourceInfo(int32_t index) {
  return kResources[index >= 0 && index < kWaveResourceCount ? index : 0];
}

std::span<const uint8_t> findWaveResource(std::string_view resource) {
  WaveResourceLookup lookup;
  {
    std::lock_guard lock(g_mutex);
    lookup = g_lookup;
  }
  return lookup ? lookup(resource) : builtIn(resource);
}

WaveResourceLookup setWaveResourceLookup(WaveResourceLookup lookup) {
  std::lock_guard lock(g_mutex);
  WaveResourceLookup old = std::move(g_lookup);
  g_lookup = std::move(lookup);
  return old;
}

}  // namespace vlm
