// The sound and voice items of the attribute menus.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <thread>

#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "engine/vlmapi.h"
#include "model/association.h"
#include "sound/sound_menu_commands.h"
#include "sound/sound_record.h"
#include "sound/support/fake_sound.h"
#include "sound/wave_resources.h"

namespace vlm {
namespace {

class SoundMenuCommands : public test::EngineTest {
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
  test::FakeSpeechEngines engines_;
};

TEST_F(SoundMenuCommands, EffectItemsChooseTheEffectOnlyWhenTheSoundAttributeHasAField) {
  ASSERT_TRUE(init());
  auto state = currentState();
  test::loadTable(*state, {{"v", {"1", "2"}}});
  // "&Tick" is the fifth item and picks the SELECT recording.
  EXPECT_TRUE(runSoundMenuCommand(*state, ATTRIB_SOUND_FREQ, 61234));
  EXPECT_EQ(soundRecord(*state).currentEffect.load(), 0) << "no field on the attribute yet";
  vlm_AssociateField(0, 0, ATTRIB_SOUND_FREQ, -1, 0);
  EXPECT_TRUE(runSoundMenuCommand(*state, ATTRIB_SOUND_FREQ, 61234));
  EXPECT_EQ(soundRecord(*state).currentEffect.load(), 4);
  EXPECT_STREQ(waveResourceInfo(4).resource, "SELECT");
  EXPECT_EQ(checkedEffectCommand(*state), 61234);
  EXPECT_TRUE(runSoundMenuCommand(*state, ATTRIB_SOUND_FREQ, 61235));
  EXPECT_STREQ(waveResourceInfo(soundRecord(*state).currentEffect.load()).resource, "TICK");
  EXPECT_FALSE(runSoundMenuCommand(*state, ATTRIB_SOUND_FREQ, 61236)) << "not an effect item";
  EXPECT_FALSE(runSoundMenuCommand(*state, ATTRIB_SOUND_FREQ, 61229));
  EXPECT_EQ(soundRecord(*state).currentEffect.load(), 5);
}

TEST_F(SoundMenuCommands, LanguageItemsSetTheLanguageOnlyWhenSpeechHasAField) {
  ASSERT_TRUE(init());
  auto state = currentState();
  test::loadTable(*state, {{"name", {"a", "b"}}});
  state->main->settings.newerSpeechApi = false;
  vlm_InitSpeech(0);
  ASSERT_TRUE(waitFor([&] { return soundRecord(*state).speechReady.load() == 1; }));
  EXPECT_TRUE(runVoiceMenuCommand(*state, 61244));
  EXPECT_FALSE(runVoiceMenuCommand(*state, 61251));
  vlm_AssociateField(0, 0, ATTRIB_SPEECH, -1, 0);
  EXPECT_TRUE(runVoiceMenuCommand(*state, 61244));  // German
  ASSERT_TRUE(waitFor([&] { return checkedLanguageCommand(*state) == 61244; }));
  std::lock_guard lock(engines_.log->mutex);
  ASSERT_FALSE(engines_.log->languageIds.empty());
  EXPECT_EQ(engines_.log->languageIds.back(), 1031);
  EXPECT_EQ(engines_.log->languageIds.size(), 2u) << "the first item came before the field";
}

}  // namespace
}  // namespace vlm
