// Reading RIFF/WAVE files: the built-in recordings, chunk walking and the
// files a reader must refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sound/riff_wave.h"
#include "sound/wave_resources.h"

namespace vlm {
namespace {

std::vector<uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string le32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}
std::string le16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

std::string chunk(const std::string& id, const std::string& body) {
  std::string c = id + le32(static_cast<uint32_t>(body.size())) + body;
  if (body.size() % 2) c.push_back('\0');
  return c;
}

std::string pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits, bool withBits = true) {
  const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
  std::string f = le16(1) + le16(channels) + le32(rate) + le32(rate * block) + le16(block);
  if (withBits) f += le16(bits);
  return f;
}

std::string riff(const std::string& chunks) { return "RIFF" + le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + chunks; }

TEST(RiffWave, EveryBuiltInRecordingHasItsFormatAndLength) {
  for (int k = 0; k < kWaveResourceCount; ++k) {
    const WaveResourceInfo& info = waveResourceInfo(k);
    SCOPED_TRACE(info.resource);
    WaveFile wave;
    ASSERT_TRUE(parseWaveFile(findWaveResource(info.resource), wave));
    EXPECT_EQ(wave.format.formatTag, 1);
    EXPECT_EQ(wave.format.channels, info.channels);
    EXPECT_EQ(wave.format.bitsPerSample, info.bitsPerSample);
    EXPECT_EQ(wave.format.samplesPerSec, info.samplesPerSec);
    EXPECT_EQ(wave.format.blockAlign, info.channels * info.bitsPerSample / 8);
    const double ms = 1000.0 * static_cast<double>(wave.samples.size()) / wave.format.avgBytesPerSec;
    EXPECT_NEAR(ms, info.milliseconds, info.milliseconds * 0.1 + 2);
  }
  EXPECT_TRUE(findWaveResource("WAVE").empty());
}

TEST(RiffWave, ChunksAreWalkedByTheirEvenLengths) {
  // An odd-length chunk before the format is skipped with its pad byte.
  const std::string file = riff(chunk("LIST", "abc") + chunk("fmt ", pcmFormat(1, 11025, 8)) + chunk("data", "xyz"));
  const auto b = bytes(file);
  WaveFile wave;
  ASSERT_TRUE(parseWaveFile(b, wave));
  EXPECT_EQ(wave.format.samplesPerSec, 11025u);
  EXPECT_EQ(wave.format.bitsPerSample, 8);
  ASSERT_EQ(wave.samples.size(), 3u);
  EXPECT_EQ(std::memcmp(wave.samples.data(), "xyz", 3), 0);
}

TEST(RiffWave, AFourteenByteFormatTakesTheSampleSizeFromTheBlock) {
  const auto b = bytes(riff(chunk("fmt ", pcmFormat(2, 22050, 16, false)) + chunk("data", std::string(8, '\0'))));
  WaveFile wave;
  ASSERT_TRUE(parseWaveFile(b, wave));
  EXPECT_EQ(wave.format.bitsPerSample, 16);
  EXPECT_EQ(wave.format.channels, 2);
}

TEST(RiffWave, MalformedFilesAreRefused) {
  const std::string fmt = chunk("fmt ", pcmFormat(1, 11025, 16));
  const std::string data = chunk("data", "abcd");
  const std::vector<std::string> refused = {
      "",
      "RIFF",
      "RIFX" + le32(4 + fmt.size() + data.size()) + "WAVE" + fmt + data,
      "RIFF" + le32(4 + fmt.size() + data.size()) + "AVI " + fmt + data,
      riff(data),                                           // no format
      riff(fmt),                                            // no samples
      riff(chunk("fmt ", std::string(12, '\1')) + data),    // format too short
      riff(fmt + "data" + le32(1000) + "abcd"),             // samples past the end
      riff(fmt + "data" + le32(0xFFFFFFF0u) + "abcd"),      // a length that wraps
      riff(fmt).substr(0, 20) + data,                       // format cut off by the RIFF length
  };
  for (const std::string& file : refused) {
    WaveFile wave;
    EXPECT_FALSE(parseWaveFile(bytes(file), wave)) << file.size() << " bytes";
  }
}

TEST(RiffWave, TheRiffLengthEndsTheWalk) {
  // A data chunk after the RIFF length does not belong to the file.
  const std::string fmt = chunk("fmt ", pcmFormat(1, 11025, 16));
  const std::string file = "RIFF" + le32(static_cast<uint32_t>(4 + fmt.size())) + "WAVE" + fmt + chunk("data", "abcd");
  WaveFile wave;
  EXPECT_FALSE(parseWaveFile(bytes(file), wave));
}

}  // namespace
}  // namespace vlm
