// What reaches the speakers, recorded by OpenAL Soft's wave-file backend and
// measured by sox: the pitch of the frequency values 100 and 0, and a volume
// value of 0 that is quieter but not silent. Each recording runs in a fresh
// process, as OpenAL reads its backend settings once per process.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "scene/object_record.h"
#include "sound/sound_effects.h"
#include "sound/sound_record.h"
#include "sound/support/bare_state.h"
#include "sound/support/sox.h"
#include "sound/wave_resources.h"

namespace vlm {
namespace {

constexpr double kToneHz = 1000.0;
constexpr int kRate = 11025;
constexpr int kFrames = kRate / 2;  // half a second at the recording's own rate

// A 1000 Hz tone recorded at 11025 Hz, 16-bit mono.
std::vector<uint8_t> toneFile() {
  std::vector<uint8_t> f;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) f.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const uint32_t data = kFrames * 2;
  f.insert(f.end(), {'R', 'I', 'F', 'F'});
  put(36 + data, 4);
  f.insert(f.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put(16, 4), put(1, 2), put(1, 2), put(kRate, 4), put(kRate * 2, 4), put(2, 2), put(16, 2);
  f.insert(f.end(), {'d', 'a', 't', 'a'});
  put(data, 4);
  for (int i = 0; i < kFrames; ++i)
    put(static_cast<uint16_t>(static_cast<int16_t>(16000 * std::sin(2 * M_PI * kToneHz * i / kRate))), 2);
  return f;
}

// Runs in the child: plays one object through the wave-file backend and ends
// the process with 0 when everything played.
[[noreturn]] void recordObject(const std::string& conf, float frequency, float volume) {
  setenv("ALSOFT_CONF", conf.c_str(), 1);
  setenv("ALSOFT_DRIVERS", "wave", 1);
  static const std::vector<uint8_t> tone = toneFile();
  setWaveResourceLookup([](std::string_view) { return std::span<const uint8_t>(tone); });
  auto state = test::makeBareState();
  ObjectRecord o;
  o.soundFrequency = frequency;
  o.soundVolume = volume;
  state->model->objects.push_back(o);
  state->model->objectCount = 1;
  if (startSound(*state, nullptr) != 1 || !setCurrentEffect(*state, 2) || playObject(*state, 0) != 1) std::_Exit(2);
  SoundRecord& r = soundRecord(*state);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (r.buffers[2]->isPlaying() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  stopSound(*state);  // closing the device completes the file
  std::_Exit(0);
}

class WaveOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::soxAvailable()) << "sox is one of the packages the tests need";
    // The recording process runs this test again: it finds the folder by name.
    if (const char* inherited = std::getenv("VLM_WAVE_TEST_DIR")) {
      dir_ = inherited;
    } else {
      dir_ = std::filesystem::temp_directory_path() / ("vlm-wave-" + std::to_string(::getpid()));
      setenv("VLM_WAVE_TEST_DIR", dir_.c_str(), 1);
      owner_ = true;
    }
    std::filesystem::create_directories(dir_);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
  void TearDown() override {
    if (!owner_) return;
    unsetenv("VLM_WAVE_TEST_DIR");
    std::filesystem::remove_all(dir_);
  }

  test::SoxStat record(const std::string& name, float frequency, float volume) {
    const std::string wav = (dir_ / (name + ".wav")).string();
    const std::string conf = (dir_ / (name + ".conf")).string();
    std::ofstream(conf) << "[general]\ndrivers=wave\n[wave]\nfile=" << wav << "\n";
    EXPECT_EXIT(recordObject(conf, frequency, volume), ::testing::ExitedWithCode(0), "");
    return test::soxStat(wav);
  }

  std::filesystem::path dir_;
  bool owner_ = false;
};

TEST_F(WaveOutput, FrequencyValuesOneHundredAndZeroPlayAt16000And5000Hz) {
  const test::SoxStat high = record("high", 100, 100);
  ASSERT_TRUE(high.ok);
  // Played at 16000 samples a second, half a second of 11025 lasts 0.345 s and the tone rises.
  EXPECT_NEAR(high.seconds, kFrames / 16000.0, 0.004);
  EXPECT_NEAR(high.frequency, kToneHz * 16000 / kRate, kToneHz * 16000 / kRate * 0.02);

  const test::SoxStat low = record("low", 0, 100);
  ASSERT_TRUE(low.ok);
  EXPECT_NEAR(low.seconds, kFrames / 5000.0, 0.008);
  EXPECT_NEAR(low.frequency, kToneHz * 5000 / kRate, kToneHz * 5000 / kRate * 0.02);
}

TEST_F(WaveOutput, VolumeValueZeroIsTwentyDecibelsDownAndNotSilent) {
  const test::SoxStat full = record("full", 50, 100);
  const test::SoxStat quiet = record("quiet", 50, 0);
  ASSERT_TRUE(full.ok && quiet.ok);
  EXPECT_GT(quiet.rms, 0.0);
  EXPECT_NEAR(quiet.seconds, full.seconds, 0.01) << "the whole tone plays";
  EXPECT_NEAR(20 * std::log10(quiet.rms / full.rms), -20.0, 0.5);
}

}  // namespace
}  // namespace vlm
