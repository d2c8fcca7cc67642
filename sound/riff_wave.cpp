#include "sound/riff_wave.h"

#include <algorithm>
#include <cstring>

namespace vlm {
namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

bool parseWaveFile(std::span<const uint8_t> file, WaveFile& out) {
  out = WaveFile{};
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(file.data() + 8, "WAVE", 4) != 0)
    return false;
  // The RIFF length counts from the form type on; a file cut short ends earlier.
  const size_t end = std::min<size_t>(file.size(), size_t{8} + le32(file.data() + 4));
  bool haveFormat = false, haveData = false;
  size_t pos = 12;
  while (pos + 8 <= end && !(haveFormat && haveData)) {
    const uint8_t* header = file.data() + pos;
    const size_t length = le32(header + 4);
    const size_t body = pos + 8;
    if (length > end - body) return false;
    if (std::memcmp(header, "fmt ", 4) == 0 && !haveFormat) {
      if (length < 14) return false;
      const uint8_t* f = file.data() + body;
      platform::WaveFormat& w = out.format;
      w.formatTag = le16(f);
      w.channels = le16(f + 2);
      w.samplesPerSec = le32(f + 4);
      w.avgBytesPerSec = le32(f + 8);
      w.blockAlign = le16(f + 12);
      // A 14-byte format leaves the sample size to the block size.
      if (length >= 16) w.bitsPerSample = le16(f + 14);
      else if (w.channels != 0) w.bitsPerSample = static_cast<uint16_t>(w.blockAlign / w.channels * 8);
      haveFormat = true;
    } else if (std::memcmp(header, "data", 4) == 0 && !haveData) {
      out.samples = file.subspan(body, length);
      haveData = true;
    }
    pos = body + length + (length & 1);
  }
  return haveFormat && haveData;
}

}  // namespace vlm
