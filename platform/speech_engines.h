#pragma once
// The two speech engines: a voice that reads plain text, and an animated
// character with a voice per language that reads tagged text. Both speak
// through espeak-ng on the shared audio output; tests put recorders in their place.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vlm::platform {

class SpeechVoice {
 public:
  virtual ~SpeechVoice() = default;
  // Starts reading the text and returns; whatever still plays is purged first.
  virtual bool speak(const std::string& text) = 0;
  // Waits until the voice is done, at most `timeout` (negative: no limit);
  // true when it is done.
  virtual bool waitUntilDone(std::chrono::milliseconds timeout) = 0;
};

enum class LanguageResult { Ok, NotAvailable, Failed };

class SpeechCharacter {
 public:
  virtual ~SpeechCharacter() = default;
  // Windows language ids: 1033 American English, 1031 German, ...
  virtual LanguageResult setLanguageId(int32_t languageId) = 0;
  // Shows the character's window without an entrance animation.
  virtual bool show() = 0;
  // Drops pending and current speech.
  virtual void stopAll() = 0;
  // Starts reading a tagged text (\emp\, \Ctx="..."\) and returns.
  virtual bool speak(const std::string& taggedText) = 0;
};

class CharacterServer {
 public:
  virtual ~CharacterServer() = default;
  // Loads the character file; null when it is missing or not a character.
  virtual std::unique_ptr<SpeechCharacter> load(const std::string& path) = 0;
};

struct SpeechEngineFactories {
  std::function<std::unique_ptr<SpeechVoice>()> voice;
  std::function<std::unique_ptr<CharacterServer>()> characterServer;
};

// Null when the engine cannot run here (no synthesiser or no audio output).
std::unique_ptr<SpeechVoice> createSpeechVoice();
std::unique_ptr<CharacterServer> createCharacterServer();

// Replaces how the engines are made (empty members restore espeak-ng);
// returns the previous factories.
SpeechEngineFactories setSpeechEngineFactories(SpeechEngineFactories factories);

// The espeak-ng language of a Windows language id; empty when none.
std::string languageOfLanguageId(int32_t languageId);

}  // namespace vlm::platform
