// Speech through the C API on a running engine, with recording engines in
// place of espeak-ng: starting on demand, the texts of a clicked sample by
// back end and language, languages, waiting, switching, failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/engine_state.h"
#include "engine/input/interaction_hooks.h"
#include "engine/vlmapi.h"
#include "model/association.h"
#include "sound/sound_record.h"
#include "sound/speech.h"
#include "engine/commands/handler_table.h"
#include "engine/support/engine_fixture.h"
#include "engine/support/table_loader.h"
#include "engine/worker_thread.h"
#include "sound/support/fake_sound.h"

namespace vlm {
namespace {

using ::testing::ElementsAre;

const std::string kContext = "\\Ctx=\"E-mail\"\\";

class SpeechApi : public test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    engines_ = std::make_unique<test::FakeSpeechEngines>();
  }
  void TearDown() override {
    EngineTest::TearDown();
    engines_.reset();
  }

  bool waitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
      if (done()) return true;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
  }
  bool heard(const std::string& event) {
    return waitFor([&] { return log().has(event); });
  }
  // Everything posted to the data thread so far has been served: a marker
  // command of the tests' own comes back after it.
  static constexpr int32_t kMarker = 1024 + 499;
  static inline std::atomic<int> served{0};
  void settle() {
    dataHandlers().set(kMarker, [](EngineState&, const platform::Command&) {
      ++served;
      return true;
    });
    const int before = served.load();
    ASSERT_TRUE(postData(*currentState(), kMarker));
    ASSERT_TRUE(waitFor([&] { return served.load() > before; }));
  }
  // Keeps the data thread busy until released, so that requests queue up.
  static constexpr int32_t kHold = 1024 + 498;
  static inline std::atomic<bool> holding{false};
  void holdDataThread() {
    holding = true;
    dataHandlers().set(kHold, [](EngineState&, const platform::Command&) {
      while (holding.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return true;
    });
    ASSERT_TRUE(postData(*currentState(), kHold));
  }
  void releaseDataThread() { holding = false; }
  test::SpeechLog& log() { return *engines_->log; }
  SoundRecord& record() { return soundRecord(*currentState()); }

  // A table whose field 0 has a value in row 0 and none in row 1, on speech.
  void speechTable() {
    auto state = currentState();
    test::loadTable(*state, {{"name", {"Ann", ""}}, {"n", {"1", "2"}}});
    platform::DataLockGuard lock(state->main->dataLock);
    state->model->scene.speechActive = true;
    state->model->scene.speechField = 0;
  }
  void click(int32_t sample) {
    auto state = currentState();
    platform::DataLockGuard lock(state->main->dataLock);
    interactionHooks().sampleClicked(*state, sample);
  }

  std::unique_ptr<test::FakeSpeechEngines> engines_;
};

TEST_F(SpeechApi, SpeakingBeforeSpeechRunsStartsTheChosenInterfaceFirst) {
  ASSERT_TRUE(init());
  EXPECT_EQ(speechInterfaceOf(*currentState()), 1) << "the voice unless the settings say otherwise";
  EXPECT_EQ(vlm_SpeakText("hello"), 1);
  ASSERT_TRUE(heard("voice speaks hello"));
  EXPECT_THAT(log().snapshot(), ElementsAre("voice created", "voice speaks hello"));
  EXPECT_EQ(record().speechReady.load(), 1);
  EXPECT_EQ(vlm_SpeakText("again"), 1);
  ASSERT_TRUE(heard("voice speaks again"));
  EXPECT_EQ(log().snapshot().size(), 3u) << "a running voice is not started again";
}

TEST_F(SpeechApi, AClickedSampleSpeaksItsValueOrNoDataByBackEndAndLanguage) {
  ASSERT_TRUE(init());
  speechTable();
  ASSERT_EQ(vlm_InitSpeech(0), 1);
  ASSERT_TRUE(heard("character shown"));
  click(0);
  ASSERT_TRUE(heard("character speaks " + kContext + "Ann"));
  click(1);
  ASSERT_TRUE(heard("character speaks " + kContext + "No \\emp\\data"));
  vlm_SpeechLanguage(4);
  click(1);
  ASSERT_TRUE(heard("character speaks " + kContext + "\\emp\\Kein data"));

  // The voice has one language, but the German text follows the language chosen.
  ASSERT_EQ(vlm_InitSpeech(1), 1);
  click(1);
  ASSERT_TRUE(heard("voice speaks Kein data"));
  vlm_SpeechLanguage(0);  // the voice ignores it
  click(1);
  settle();
  EXPECT_EQ(record().speechLanguage.load(), 4);
  vlm_InitSpeech(0);
  vlm_SpeechLanguage(1);
  click(1);
  ASSERT_TRUE(heard("character speaks " + kContext + "No \\emp\\data"));
  ASSERT_EQ(vlm_InitSpeech(1), 1);
  click(1);
  ASSERT_TRUE(heard("voice speaks No data"));
}

TEST_F(SpeechApi, AFieldPutOnSpeechSpeaksItsNameAndTheSceneStartsSpeech) {
  ASSERT_TRUE(init());
  auto state = currentState();
  test::loadTable(*state, {{"Horsepower", {"130", "165"}}});
  vlm_AssociateField(0, 0, ATTRIB_SPEECH, -1, 0);
  ASSERT_TRUE(heard("voice speaks Horsepower"));
  vlm_CloseSpeech();
  settle();
  // The scene construction finds the speech field and asks for speech once.
  {
    platform::DataLockGuard lock(state->main->dataLock);
    state->model->hooks.speechActive(0);
    state->model->hooks.speechActive(0);
    EXPECT_TRUE(state->model->scene.speechActive);
    EXPECT_EQ(state->model->scene.speechField, 0);
  }
  settle();
  EXPECT_EQ(record().speechReady.load(), 1);
  const auto events = log().snapshot();
  EXPECT_EQ(std::count(events.begin(), events.end(), "voice created"), 2);
}

TEST_F(SpeechApi, TheCharacterStopsWhatItSaysBeforeEachText) {
  ASSERT_TRUE(init());
  vlm_InitSpeech(0);
  settle();
  vlm_SpeakText("one");
  ASSERT_TRUE(heard("character speaks " + kContext + "one"));
  const auto events = log().snapshot();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2], "character stops");
}

TEST_F(SpeechApi, TextSpokenRightAfterChoosingTheInterfaceUsesThatInterface) {
  // Both requests are queued before the data thread serves either: the
  // speak's own start must not undo the choice made just before it.
  ASSERT_TRUE(init());
  holdDataThread();
  vlm_InitSpeech(0);
  vlm_SpeakText("one");
  releaseDataThread();
  ASSERT_TRUE(heard("character speaks " + kContext + "one"));
  settle();
  EXPECT_FALSE(log().has("voice created"));
  EXPECT_EQ(speechInterfaceOf(*currentState()), 0);
}

TEST_F(SpeechApi, NothingIsSpokenWithoutASpeechFieldOrForSamplesOutsideTheTable) {
  ASSERT_TRUE(init());
  speechTable();
  vlm_InitSpeech(1);
  {
    auto state = currentState();
    platform::DataLockGuard lock(state->main->dataLock);
    state->model->scene.speechField = -1;
  }
  vlm_SpeakObject(0);
  {
    auto state = currentState();
    platform::DataLockGuard lock(state->main->dataLock);
    state->model->scene.speechField = 2;  // not below the field count
  }
  vlm_SpeakObject(0);
  settle();
  {
    auto state = currentState();
    platform::DataLockGuard lock(state->main->dataLock);
    state->model->scene.speechField = 1;
  }
  vlm_SpeakObject(2);
  vlm_SpeakObject(-1);
  settle();
  EXPECT_THAT(log().snapshot(), ElementsAre("voice created")) << "nothing spoken";
  EXPECT_EQ(vlm_SpeakObject(1), 1);
  ASSERT_TRUE(heard("voice speaks 2"));
}

TEST_F(SpeechApi, AnOutOfRangeLanguageGivesAmericanEnglish) {
  ASSERT_TRUE(init());
  vlm_InitSpeech(0);
  vlm_SpeechLanguage(10);
  vlm_SpeechLanguage(42);
  vlm_SpeechLanguage(-1);
  settle();
  std::lock_guard lock(log().mutex);
  EXPECT_THAT(log().languageIds, ElementsAre(1033, 3082, 1033, 1033));
  EXPECT_EQ(record().speechLanguage.load(), 0);
}

TEST_F(SpeechApi, ALanguageThatIsNotThereIsReportedAndTheOldOneKept) {
  ASSERT_TRUE(init());
  vlm_InitSpeech(0);
  vlm_SpeechLanguage(2);
  settle();
  log().languageResult = platform::LanguageResult::NotAvailable;
  vlm_SpeechLanguage(7);
  settle();
  EXPECT_EQ(record().speechLanguage.load(), 2);
  const auto boxes = boxes_->boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Velmora API Error");
  EXPECT_EQ(boxes[0].text,
            "LANGUAGE NOT INITIALIZED!  \n\nThis Windows version is not compatible \nwith the selected language.\n\n");
  log().languageResult = platform::LanguageResult::Failed;
  vlm_SpeechLanguage(3);
  settle();
  ASSERT_EQ(boxes_->boxes().size(), 2u);
  EXPECT_EQ(boxes_->boxes()[1].caption, " WARNING : Speech Output");
  EXPECT_EQ(record().speechLanguage.load(), 2);
}

TEST_F(SpeechApi, ALanguageChosenBeforeTheCharacterStartsIsItsFirstLanguage) {
  // A model file read before speech ran sets the language: the start uses it.
  ASSERT_TRUE(init());
  currentState()->main->settings.newerSpeechApi = false;
  vlm_SpeechLanguage(3);
  vlm_InitSpeech(0);
  settle();
  std::lock_guard lock(log().mutex);
  EXPECT_THAT(log().languageIds, ElementsAre(1036));
}

TEST_F(SpeechApi, SpeechWaitWaitsForTheVoiceButNotForTheCharacter) {
  ASSERT_TRUE(init());
  vlm_InitSpeech(1);
  vlm_SpeechWait(1234);
  settle();
  EXPECT_EQ(log().voiceWaits.load(), 1);
  EXPECT_EQ(log().lastWaitTimeout, std::chrono::milliseconds(1234));
  vlm_SpeakTextWait("wait for me", 2000);
  ASSERT_TRUE(heard("voice speaks wait for me"));
  settle();
  EXPECT_EQ(log().lastWaitTimeout, std::chrono::milliseconds(2000));

  vlm_InitSpeech(0);
  const int waits = log().voiceWaits.load();
  vlm_SpeechWait(600000);
  vlm_SpeakText("at once");
  ASSERT_TRUE(heard("character speaks " + kContext + "at once"));
  EXPECT_EQ(log().voiceWaits.load(), waits);
}

TEST_F(SpeechApi, SwitchingToTheVoiceStopsTheCharacterBeforeTheVoiceIsMade) {
  ASSERT_TRUE(init());
  vlm_InitSpeech(0);
  vlm_InitSpeech(1);
  ASSERT_TRUE(heard("voice created"));
  EXPECT_THAT(log().snapshot(), ElementsAre("server created", "character loaded", "character shown",
                                            "character released", "server released", "voice created"));
  settle();
  EXPECT_EQ(speechInterfaceOf(*currentState()), 1);
  vlm_InitSpeech(0);
  settle();
  EXPECT_TRUE(log().has("voice released"));
  EXPECT_EQ(speechInterfaceOf(*currentState()), 0);
  vlm_CloseSpeech();
  settle();
  EXPECT_EQ(record().speechReady.load(), 0);
  EXPECT_EQ(log().snapshot().back(), "server released");
}

TEST_F(SpeechApi, AFailedStartWarnsAndTakesTheSpeechAttributeAway) {
  ASSERT_TRUE(init());
  auto state = currentState();
  std::mutex openedMutex;
  std::vector<std::string> opened;
  record().openWebPage = [&](const char* address) {
    std::lock_guard lock(openedMutex);
    opened.emplace_back(address);
  };
  boxes_->answer(platform::BOX_YES);
  log().voiceFails = true;
  test::loadTable(*state, {{"name", {"Ann", "Bob"}}});
  // Associating speaks the field's name, and speech cannot start.
  vlm_AssociateField(0, 0, ATTRIB_SPEECH, -1, 0);
  ASSERT_TRUE(waitFor([&] { return !boxes_->boxes().empty(); }));
  ASSERT_TRUE(waitFor([&] {
    platform::DataLockGuard lock(state->main->dataLock);
    return vlm_AttributeToField(ATTRIB_SPEECH) == -1;
  }));
  const auto box = boxes_->boxes()[0];
  EXPECT_EQ(box.caption, " WARNING : Speech Output");
  EXPECT_EQ(box.icon, platform::BoxIcon::Warning);
  EXPECT_EQ(box.buttons, platform::BoxButtons::YesNo);
  EXPECT_EQ(box.text.rfind("\nSpeech Output Not Initialized!  \n\nYour operating system can't generate synthesized "
                           "speech. \n",
                           0),
            0u);
  ASSERT_TRUE(waitFor([&] {
    std::lock_guard lock(openedMutex);
    return !opened.empty();
  }));
  {
    std::lock_guard lock(openedMutex);
    EXPECT_THAT(opened, ElementsAre("https://velmora.example/speech.html"));
  }
  settle();
  EXPECT_EQ(state->main->settings.speechCalculator, 0) << "the Calculator speaks no more";
  {
    platform::DataLockGuard lock(state->main->dataLock);
    EXPECT_FALSE(state->model->scene.speechActive);
  }
  EXPECT_EQ(record().speechReady.load(), 0);

  // Each later request tries again, and warns again.
  vlm_SpeakText("x");
  ASSERT_TRUE(waitFor([&] { return boxes_->boxes().size() == 2; }));
  log().voiceFails = false;
  vlm_SpeakText("now");
  ASSERT_TRUE(heard("voice speaks now"));
}

TEST_F(SpeechApi, EachFailingStepOfTheCharacterReleasesWhatWasMade) {
  ASSERT_TRUE(init());
  auto stage = [&](auto&& set) {
    set(log());
    vlm_InitSpeech(0);
    settle();
    EXPECT_EQ(record().speechReady.load(), 0);
    log().serverFails = log().loadFails = log().showFails = false;
  };
  stage([](test::SpeechLog& l) { l.serverFails = true; });
  stage([](test::SpeechLog& l) { l.loadFails = true; });
  stage([](test::SpeechLog& l) { l.showFails = true; });
  EXPECT_EQ(boxes_->boxes().size(), 3u);
  EXPECT_THAT(log().snapshot(), ElementsAre("server created", "server released", "server created",
                                            "character loaded", "character shown", "character released",
                                            "server released"));
}

TEST_F(SpeechApi, TheCharacterFileIsInTheInstallationFolder) {
  ASSERT_TRUE(init());
  currentState()->main->settings.installRoot = "/opt/velmora/";
  vlm_InitSpeech(0);
  settle();
  {
    std::lock_guard lock(log().mutex);
    EXPECT_EQ(log().loadedPath, "/opt/velmora/velmora.acs");
  }
  // Without a registered installation the engine's own folder holds it.
  currentState()->main->settings.installRoot.clear();
  EXPECT_THAT(characterFilePath(*currentState()), ::testing::MatchesRegex("/.+/velmora\\.acs"));
}

TEST_F(SpeechApi, TextsTravelAsCopiesOfAtMost4095Bytes) {
  ASSERT_TRUE(init());
  std::string text(5000, 'a');
  text[4094] = '\xC3';  // a two-byte character across the limit is left out whole
  text[4095] = '\xA9';
  vlm_SpeakText(text.c_str());
  text.assign(10, 'b');  // the caller's buffer may change at once
  ASSERT_TRUE(heard("voice speaks " + std::string(4094, 'a')));
}

TEST_F(SpeechApi, WithoutAnEngineTheExportsPostNothing) {
  EXPECT_EQ(vlm_SpeakText("x"), 0);
  EXPECT_EQ(vlm_SpeakTextWait("x", 10), 0);
  EXPECT_EQ(vlm_SpeakObject(0), 0);
  EXPECT_EQ(vlm_InitSpeech(1), 0);
  EXPECT_EQ(vlm_CloseSpeech(), 0);
  EXPECT_EQ(vlm_SpeechLanguage(1), 0);
  EXPECT_EQ(vlm_SpeechWait(1), 0);
}

}  // namespace
}  // namespace vlm
