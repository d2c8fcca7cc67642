// Sound effects on a recording device: the eight buffers, the failures and
// their messages, the pitch and loudness of a clicked object, lost buffers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scene/object_record.h"
#include "sound/sound_effects.h"
#include "sound/sound_record.h"
#include "sound/support/bare_state.h"
#include "sound/support/fake_sound.h"
#include "sound/wave_resources.h"

namespace vlm {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using test::SoundLog;

class SoundEffects : public ::testing::Test {
 protected:
  std::shared_ptr<EngineState> state_ = test::makeBareState();
  test::FakeSoundDevices devices_;
  test::RecordedErrors errors_;
  SoundLog& log() { return *devices_.log; }

  void addObject(float volume, float frequency) {
    ObjectRecord o;
    o.soundVolume = volume;
    o.soundFrequency = frequency;
    state_->model->objects.push_back(o);
    state_->model->objectCount = static_cast<int32_t>(state_->model->objects.size());
  }
};

TEST_F(SoundEffects, StartMakesOneBufferPerRecordingInItsFormat) {
  ASSERT_EQ(startSound(*state_, nullptr), 1);
  EXPECT_THAT(errors_.texts(), IsEmpty());
  ASSERT_EQ(log().buffers.size(), 8u);
  for (int k = 0; k < kWaveResourceCount; ++k) {
    const WaveResourceInfo& info = waveResourceInfo(k);
    const SoundLog::Buffer& b = *log().buffers[static_cast<size_t>(k)];
    SCOPED_TRACE(info.resource);
    EXPECT_EQ(b.format.formatTag, 1);
    EXPECT_EQ(b.format.channels, info.channels);
    EXPECT_EQ(b.format.bitsPerSample, info.bitsPerSample);
    EXPECT_EQ(b.format.samplesPerSec, info.samplesPerSec);
    EXPECT_EQ(b.written, b.bytes) << "every sample copied";
    const double ms = 1000.0 * static_cast<double>(b.bytes) / b.format.avgBytesPerSec;
    EXPECT_NEAR(ms, info.milliseconds, info.milliseconds * 0.1 + 2);
  }
  stopSound(*state_);
  for (const auto& b : log().buffers) EXPECT_TRUE(b->released);
}

TEST_F(SoundEffects, WithoutADeviceSoundIsOnButPlaysNothing) {
  log().noDevice = true;
  EXPECT_EQ(startSound(*state_, nullptr), 1) << "the caller goes on without buffers";
  EXPECT_THAT(errors_.texts(), ElementsAre("DirectSoundCreate FAILED"));
  addObject(50, 50);
  // Nothing to dereference: playing finds no buffer and says so.
  EXPECT_EQ(playObject(*state_, 0), 0);
  EXPECT_EQ(playEffect(*state_, 6, 0, 0), 0);
}

TEST_F(SoundEffects, EachStartFailureHasItsMessageAndLeavesNothingBehind) {
  struct Case {
    void (*stage)(test::SoundLog&);
    int result;
    const char* message;
  };
  const Case cases[] = {
      {[](test::SoundLog& l) { l.cooperativeFails = true; }, 1, "SetCooperativeLevel FAILED"},
      {[](test::SoundLog& l) { l.failBuffer = 5; }, 0, "Unable to initialize Sound subsystem."},
      {[](test::SoundLog& l) { l.primaryFails = true; }, 0, "Unable to initialize Sound Effects."},
      {[](test::SoundLog& l) { l.primaryPlayFails = true; }, 0, "Unable to initialize Sound subsystem."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    test::FakeSoundDevices devices;
    test::RecordedErrors errors;
    c.stage(*devices.log);
    EXPECT_EQ(startSound(*state_, nullptr), c.result);
    EXPECT_THAT(errors.texts(), ElementsAre(c.message));
    for (const auto& b : devices.log->buffers) EXPECT_TRUE(b->released);
    EXPECT_EQ(playEffect(*state_, 0, 0, 0), 0);
  }
}

TEST_F(SoundEffects, ObjectValuesBecomePitchAndLoudness) {
  // Frequency values 0..100 give 5000..16000 Hz, volume values 0..100 give -20..0 dB.
  ObjectRecord o;
  o.soundFrequency = 100, o.soundVolume = 100;
  EXPECT_EQ(objectSound(o, 2).frequency, 16000u);
  EXPECT_EQ(objectSound(o, 2).volume, 0);
  EXPECT_EQ(objectSound(o, 2).effect, 2);
  o.soundFrequency = 0, o.soundVolume = 0;
  EXPECT_EQ(objectSound(o, 2).frequency, 5000u);
  EXPECT_EQ(objectSound(o, 2).volume, -2000) << "-20 dB: quieter, not silent";
  o.soundFrequency = 50, o.soundVolume = 99.9f;  // integer parts count
  EXPECT_EQ(objectSound(o, 0).frequency, 10500u);
  EXPECT_EQ(objectSound(o, 0).volume, -20);
  o.soundFrequency = 33, o.soundVolume = 1;
  EXPECT_EQ(objectSound(o, 0).frequency, 8630u);
  EXPECT_EQ(objectSound(o, 0).volume, -1980);
}

TEST_F(SoundEffects, ASampleWithoutAValuePlaysNoUnchanged) {
  ASSERT_EQ(startSound(*state_, nullptr), 1);
  setCurrentEffect(*state_, 1);
  addObject(-1, 50);
  ASSERT_EQ(playObject(*state_, 0), 1);
  const SoundLog::Buffer& no = *log().buffers[kEffectNo];
  EXPECT_STREQ(waveResourceInfo(kEffectNo).resource, "NO");
  EXPECT_EQ(no.plays, 1);
  EXPECT_EQ(no.frequency, 0u) << "its own rate";
  EXPECT_EQ(no.volume, 0);
  EXPECT_EQ(log().buffers[1]->plays, 0);
}

TEST_F(SoundEffects, TheMenuEffectsPlayTheirRecordings) {
  ASSERT_EQ(startSound(*state_, nullptr), 1);
  addObject(100, 100);
  // "&Tick" selects the SELECT recording, "Ta&p" the TICK recording.
  const char* expected[kMenuEffectCount][2] = {{"&Chord", "CHORD"}, {"Clic&X", "CLICX"}, {"&Impact", "IMPACT"},
                                               {"&Blub", "POP"},    {"&Tick", "SELECT"}, {"Ta&p", "TICK"}};
  for (int k = 0; k < kMenuEffectCount; ++k) {
    EXPECT_STREQ(waveResourceInfo(k).menuText, expected[k][0]);
    EXPECT_STREQ(waveResourceInfo(k).resource, expected[k][1]);
    ASSERT_TRUE(setCurrentEffect(*state_, k));
    ASSERT_EQ(playObject(*state_, 0), 1);
    EXPECT_EQ(log().buffers[static_cast<size_t>(k)]->plays, 1);
    EXPECT_EQ(log().buffers[static_cast<size_t>(k)]->frequency, 16000u);
  }
  EXPECT_FALSE(setCurrentEffect(*state_, 6)) << "NO and YES are not menu effects";
  EXPECT_FALSE(setCurrentEffect(*state_, -1));
  EXPECT_EQ(soundRecord(*state_).currentEffect.load(), 5);
}

TEST_F(SoundEffects, ALostBufferIsRestoredAndPlayed) {
  ASSERT_EQ(startSound(*state_, nullptr), 1);
  log().buffers[3]->lostOnce = true;
  EXPECT_EQ(playEffect(*state_, 3, 8000, -500), 1);
  EXPECT_THAT(errors_.texts(), ElementsAre("** POP needs restored", "** POP has been restored"));
  EXPECT_EQ(log().buffers[3]->restores, 1);
  EXPECT_EQ(log().buffers[3]->written, log().buffers[3]->bytes) << "samples reloaded";
  EXPECT_EQ(log().buffers[3]->plays, 1);
}

TEST_F(SoundEffects, ABufferThatCannotBeRestoredIsNotReportedRestored) {
  ASSERT_EQ(startSound(*state_, nullptr), 1);
  log().buffers[0]->lostOnce = true;
  log().restoreFails = true;
  EXPECT_EQ(playEffect(*state_, 0, 0, 0), 0);
  EXPECT_THAT(errors_.texts(), ElementsAre("** CHORD needs restored"));
}

TEST_F(SoundEffects, ObjectsAndEffectsOutsideTheirRangesPlayNothing) {
  ASSERT_EQ(startSound(*state_, nullptr), 1);
  addObject(50, 50);
  EXPECT_EQ(playObject(*state_, 1), 0);
  EXPECT_EQ(playObject(*state_, -1), 0);
  EXPECT_EQ(playEffect(*state_, 8, 0, 0), 0);
  EXPECT_EQ(playEffect(*state_, -1, 0, 0), 0);
}

TEST_F(SoundEffects, TheSceneConstructionStartsSoundOnceAndStopsItAtEachRebuild) {
  const ModelHooks& h = state_->model->hooks;
  ASSERT_TRUE(h.openSound && h.stopSound);
  EXPECT_TRUE(h.openSound());
  EXPECT_TRUE(h.openSound()) << "already on: no second device";
  EXPECT_EQ(log().devices, 1);
  EXPECT_EQ(soundRecord(*state_).soundOn.load(), 1);
  h.stopSound();
  EXPECT_EQ(soundRecord(*state_).soundOn.load(), 0);
  for (const auto& b : log().buffers) EXPECT_TRUE(b->released);
  log().failBuffer = 0;
  EXPECT_FALSE(h.openSound()) << "the association is then removed";
  EXPECT_EQ(soundRecord(*state_).soundOn.load(), 0);
}

}  // namespace
}  // namespace vlm
