#pragma once
// Reading a RIFF/WAVE file: the "fmt " chunk as the sample format and the
// "data" chunk as the samples.
#include <cstdint>
#include <span>

#include "platform/sound_device.h"

namespace vlm {

struct WaveFile {
  platform::WaveFormat format;
  std::span<const uint8_t> samples;  // within the file's bytes
};

// The file must begin "RIFF" with the form type "WAVE"; chunks are walked by
// their lengths rounded up to even, within the RIFF length and the bytes given.
// False without a "fmt " chunk of at least 14 bytes or a "data" chunk, or
// when a chunk runs past the end.
bool parseWaveFile(std::span<const uint8_t> file, WaveFile& out);

}  // namespace vlm
