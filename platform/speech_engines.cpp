#include "platform/speech_engines.h"

#include <mutex>

#include "platform/character_window.h"
#include "platform/pcm_player.h"
#include "platform/speech_markup.h"
#include "platform/speech_synth.h"

namespace vlm::platform {
namespace {

// The voice reads plain text in American English.
class EspeakVoice final : public SpeechVoice {
 public:
  explicit EspeakVoice(std::shared_ptr<PcmPlayer> player) : player_(std::move(player)) {}
  ~EspeakVoice() override { player_->stop(); }

  bool speak(const std::string& text) override {
    PcmClip clip;
    if (!synthesise("en-us", text, false, clip)) return false;
    return player_->play(clip.samples.data(), clip.samples.size(), clip.rate);
  }

  bool waitUntilDone(std::chrono::milliseconds timeout) override { return player_->waitUntilDone(timeout); }

 private:
  std::shared_ptr<PcmPlayer> player_;
};

class EspeakCharacter final : public SpeechCharacter {
 public:
  EspeakCharacter(CharacterFrames frames, std::shared_ptr<PcmPlayer> player)
      : frames_(std::move(frames)), player_(std::move(player)) {}
  ~EspeakCharacter() override {
    player_->stop();
    closeCharacterWindow(window_);
  }

  LanguageResult setLanguageId(int32_t languageId) override {
    const std::string language = languageOfLanguageId(languageId);
    if (language.empty() || !hasSpeechLanguage(language)) return LanguageResult::NotAvailable;
    language_ = language;
    return LanguageResult::Ok;
  }

  bool show() override {
    if (window_) return true;
    std::weak_ptr<PcmPlayer> player = player_;
    window_ = showCharacterWindow(frames_, [player] {
      auto p = player.lock();
      return p && p->isPlaying();
    });
    return window_ != nullptr;
  }

  void stopAll() override { player_->stop(); }

  bool speak(const std::string& taggedText) override {
    PcmClip clip;
    if (!synthesise(language_, taggedTextToSsml(taggedText), true, clip)) return false;
    return player_->play(clip.samples.data(), clip.samples.size(), clip.rate);
  }

 private:
  CharacterFrames frames_;
  std::shared_ptr<PcmPlayer> player_;
  std::string language_ = "en-us";
  QWidget* window_ = nullptr;
};

class EspeakCharacterServer final : public CharacterServer {
 public:
  std::unique_ptr<SpeechCharacter> load(const std::string& path) override {
    CharacterFrames frames;
    if (!loadCharacterFrames(path, frames)) return nullptr;
    auto player = PcmPlayer::open();
    if (!player) return nullptr;
    return std::make_unique<EspeakCharacter>(std::move(frames), std::move(player));
  }
};

std::mutex g_mutex;
SpeechEngineFactories g_factories;

SpeechEngineFactories factories() {
  std::lock_guard lock(g_mutex);
  return g_factories;
}

}  // namespace

std::string languageOfLanguageId(int32_t languageId) {
  switch (languageId) {
    case 1033: return "en-us";
    case 2057: return "en-gb";
    case 1043: return "nl";
    case 1036: return "fr";
    case 1031: return "de";
    case 1040: return "it";
    case 1041: return "ja";
    case 1042: return "ko";
    case 1046: return "pt-br";
    case 1049: return "ru";
    case 3082: return "es";
    default: return {};
  }
}

std::unique_ptr<SpeechVoice> createSpeechVoice() {
  if (auto f = factories().voice) return f();
  if (!speechSynthAvailable()) return nullptr;
  auto player = PcmPlayer::open();
  if (!player) return nullptr;
  return std::make_unique<EspeakVoice>(std::move(player));
}

std::unique_ptr<CharacterServer> createCharacterServer() {
  if (auto f = factories().characterServer) return f();
  if (!speechSynthAvailable()) return nullptr;
  return std::make_unique<EspeakCharacterServer>();
}

SpeechEngineFactories setSpeechEngineFactories(SpeechEngineFactories next) {
  std::lock_guard lock(g_mutex);
  SpeechEngineFactories old = std::move(g_factories);
  g_factories = std::move(next);
  return old;
}

}  // namespace vlm::platform
