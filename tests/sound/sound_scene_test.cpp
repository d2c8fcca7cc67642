// Sound with the scene construction on a running engine: a sound association
// starts sound at the rebuild, every rebuild stops it first, a failed start
// takes the association away, and a click plays the object's values.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"
#include "model/association.h"
#include "sound/sound_record.h"
#include "sound/support/fake_sound.h"

namespace vlm {
namespace {

class SoundScene : public test::EngineTest {
 protected:
  bool waitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
      if (done()) return true;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
  }
  test::SoundLog& log() { return *devices_.log; }
  SoundRecord& record() { return soundRecord(*currentState()); }
  bool allReleased() {
    std::lock_guard lock(log().mutex);
    for (const auto& b : log().buffers)
      if (!b->released) return false;
    return true;
  }

  test::FakeSoundDevices devices_;
};

TEST_F(SoundScene, ASoundAssociationPlaysEachObjectAtItsPitch) {
  ASSERT_TRUE(init());
  if (vlm_OpenWindow() != 1) GTEST_SKIP() << "no context for the hidden view window";
  auto state = currentState();
  test::loadTable(*state, {{"pitch", {"0", "50", "100", ""}}, {"loud", {"1", "2", "3", "4"}}});
  vlm_AssociateField(0, 0, ATTRIB_SOUND_FREQ, -1, 0);
  vlm_UpdateModel(0);
  ASSERT_TRUE(waitFor([&] { return record().soundOn.load() == 1; }));
  ASSERT_TRUE(waitFor([&] { return vlm_GetNumberOfObjects() == 4; }));
  {
    std::lock_guard lock(log().mutex);
    ASSERT_EQ(log().buffers.size(), 8u);
  }
  const uint32_t expected[] = {5000, 10500, 16000};
  for (int32_t sample = 0; sample < 3; ++sample) {
    platform::DataLockGuard lock(state->main->dataLock);
    interactionHooks().sampleClicked(*state, sample);
    std::lock_guard logLock(log().mutex);
    EXPECT_EQ(log().buffers[0]->frequency, expected[sample]) << "sample " << sample;
    EXPECT_EQ(log().buffers[0]->volume, 0);
  }
  {
    platform::DataLockGuard lock(state->main->dataLock);
    interactionHooks().sampleClicked(*state, 3);  // no pitch: "NO"
    std::lock_guard logLock(log().mutex);
    EXPECT_EQ(log().buffers[6]->plays, 1);
    EXPECT_EQ(log().buffers[0]->plays, 3);
  }

  // Each rebuild stops sound and starts it again while the association is there.
  vlm_UpdateModel(0);
  ASSERT_TRUE(waitFor([&] {
    std::lock_guard lock(log().mutex);
    return log().devices == 2 && log().buffers.size() == 16;
  }));
  {
    std::lock_guard lock(log().mutex);
    for (size_t i = 0; i < 8; ++i) EXPECT_TRUE(log().buffers[i]->released);
  }
  // Without a sound association the next rebuild leaves sound off.
  vlm_DeleteField(ATTRIB_SOUND_FREQ);
  vlm_UpdateModel(0);
  ASSERT_TRUE(waitFor([&] { return record().soundOn.load() == 0 && allReleased(); }));
  {
    platform::DataLockGuard lock(state->main->dataLock);
    interactionHooks().sampleClicked(*state, 2);
  }
  std::lock_guard lock(log().mutex);
  EXPECT_EQ(log().devices, 2);
}

TEST_F(SoundScene, WhenSoundCannotStartTheAssociationGoes) {
  ASSERT_TRUE(init());
  if (vlm_OpenWindow() != 1) GTEST_SKIP() << "no context for the hidden view window";
  auto state = currentState();
  log().failBuffer = 2;
  test::loadTable(*state, {{"v", {"1", "2"}}});
  vlm_AssociateField(0, 0, ATTRIB_SOUND_VOLUME, -1, 0);
  ASSERT_EQ(vlm_AttributeToField(ATTRIB_SOUND_VOLUME), 0);
  vlm_UpdateModel(0);
  ASSERT_TRUE(waitFor([&] {
    platform::DataLockGuard lock(state->main->dataLock);
    return vlm_AttributeToField(ATTRIB_SOUND_VOLUME) == -1;
  }));
  ASSERT_TRUE(waitFor([&] { return !boxes_->boxes().empty(); }));
  EXPECT_EQ(boxes_->boxes()[0].text, "Unable to initialize Sound subsystem.");
  EXPECT_EQ(boxes_->boxes()[0].caption, "Velmora API Error");
  EXPECT_EQ(record().soundOn.load(), 0);
}

}  // namespace
}  // namespace vlm
