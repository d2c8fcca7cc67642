// espeak-ng itself: speech synthesised to a wave file that sox reads, a voice
// for every language of the character, and both back ends speaking through
// the engine on the null audio output, the character in its window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <unistd.h>

#include "engine/engine_state.h"
#include "engine/support/engine_fixture.h"
#include "engine/vlmapi.h"
#include "platform/character_window.h"
#include "platform/speech_engines.h"
#include "platform/speech_markup.h"
#include "platform/speech_synth.h"
#include "sound/sound_record.h"
#include "sound/speech_languages.h"
#include "sound/support/sox.h"

namespace vlm {
namespace {

const std::string kAssets = std::string(QT_TESTCASE_SOURCEDIR) + "/../assets/";

bool waitFor(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

TEST(RealSpeech, SpeechSynthesisedToAWaveFileIsSpeechAtTheEngineRate) {
  ASSERT_TRUE(test::soxAvailable());
  ASSERT_TRUE(platform::speechSynthAvailable());
  const auto dir = std::filesystem::temp_directory_path() / ("vlm-speech-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  struct Case {
    const char* language;
    std::string text;
    bool ssml;
  };
  const Case cases[] = {{"en-us", "No data", false},
                        {"de", "Kein data", false},
                        {"en-us", platform::taggedTextToSsml("\\Ctx=\"E-mail\"\\No \\emp\\data"), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    platform::PcmClip clip;
    ASSERT_TRUE(platform::synthesise(c.language, c.text, c.ssml, clip));
    const std::string path = (dir / "speech.wav").string();
    ASSERT_TRUE(platform::writeWaveFile(path, clip));
    const test::SoxInfo info = test::soxInfo(path);
    ASSERT_TRUE(info.ok);
    EXPECT_EQ(info.rate, 22050);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(static_cast<size_t>(info.samples), clip.samples.size());
    EXPECT_GT(info.samples, 22050 / 4) << "a few words last a while";
    const test::SoxStat stat = test::soxStat(path);
    ASSERT_TRUE(stat.ok);
    EXPECT_GT(stat.rms, 0.02) << "not silence";
  }
  std::filesystem::remove_all(dir);
}

TEST(RealSpeech, EveryLanguageOfTheCharacterHasAVoice) {
  for (int32_t id = 0; id < kSpeechLanguageCount; ++id) {
    const SpeechLanguage& l = speechLanguage(id);
    const std::string language = platform::languageOfLanguageId(l.languageId);
    SCOPED_TRACE(l.name);
    ASSERT_FALSE(language.empty());
    EXPECT_TRUE(platform::hasSpeechLanguage(language));
    platform::PcmClip clip;
    EXPECT_TRUE(platform::synthesise(language, "1 2 3", false, clip));
    EXPECT_GT(clip.samples.size(), 1000u);
  }
  EXPECT_TRUE(platform::languageOfLanguageId(1034).empty());
  EXPECT_FALSE(platform::hasSpeechLanguage("xx-zz"));
}

TEST(RealSpeech, TheCharacterFileIsAStripOfFrames) {
  platform::CharacterFrames frames;
  ASSERT_TRUE(platform::loadCharacterFrames(kAssets + "character/velmora.acs", frames));
  EXPECT_EQ(frames.frames, 4);
  EXPECT_EQ(frames.size, 96);
  EXPECT_FALSE(platform::loadCharacterFrames(kAssets + "character/missing.acs", frames));
  EXPECT_FALSE(platform::loadCharacterFrames(kAssets + "sound/chord.wav", frames));
}

class RealSpeechApi : public test::EngineTest {};

TEST_F(RealSpeechApi, TheVoiceSpeaksOnTheAudioOutput) {
  ASSERT_TRUE(init());
  EXPECT_EQ(vlm_SpeakTextWait("one two three", 10000), 1);
  auto state = currentState();
  ASSERT_TRUE(waitFor([&] { return soundRecord(*state).speechReady.load() == 1; }));
  EXPECT_TRUE(boxes_->boxes().empty());
}

TEST_F(RealSpeechApi, TheCharacterShowsItsWindowWhileSpeechRuns) {
  ASSERT_TRUE(init());
  auto state = currentState();
  state->main->settings.installRoot = kAssets + "character";
  auto characterWindows = [] {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowTitle() == "Velmora" && w->width() == 96) ++n;
    return n;
  };
  vlm_InitSpeech(0);
  vlm_SpeechLanguage(4);
  vlm_SpeakText("eins zwei drei");
  ASSERT_TRUE(waitFor([&] { return soundRecord(*state).speechReady.load() == 1 && characterWindows() == 1; }))
      << soundRecord(*state).speechReady.load() << " ready, " << boxes_->boxes().size() << " boxes, "
      << characterWindows() << " windows";
  EXPECT_TRUE(boxes_->boxes().empty());
  vlm_CloseSpeech();
  ASSERT_TRUE(waitFor([&] { return soundRecord(*state).speechReady.load() == 0 && characterWindows() == 0; }));
}

}  // namespace
}  // namespace vlm
