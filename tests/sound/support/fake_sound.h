#pragma once
// Stand-ins for the sound device and the speech engines that record what the
// engine asks of them, and fail where a test tells them to.
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sound_device.h"
#include "platform/speech_engines.h"

namespace vlm::test {

// What happened to the sound device and its buffers, in order.
struct SoundLog {
  struct Buffer {
    platform::WaveFormat format;
    size_t bytes = 0;
    size_t written = 0;
    uint32_t frequency = 0;
    int32_t volume = 0;
    int plays = 0;
    int restores = 0;
    bool lostOnce = false;  // the next play reports a lost buffer
    bool released = false;
  };
  std::mutex mutex;
  int devices = 0;
  std::vector<std::shared_ptr<Buffer>> buffers;  // in creation order, across devices
  // Failures to stage.
  bool noDevice = false;
  bool cooperativeFails = false;
  int failBuffer = -1;  // the index (0..7) of the buffer that cannot be made
  bool primaryFails = false;
  bool primaryPlayFails = false;
  bool restoreFails = false;
};

// Installs a device factory that records into `log` for the scope.
class FakeSoundDevices {
 public:
  FakeSoundDevices();
  ~FakeSoundDevices();
  std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();

 private:
  platform::SoundDeviceFactory previous_;
};

// What happened to the speech engines, in order ("voice created", "voice speaks No data", ...).
struct SpeechLog {
  std::mutex mutex;
  std::vector<std::string> events;
  std::vector<int32_t> languageIds;
  bool voiceFails = false;
  bool serverFails = false;
  bool loadFails = false;
  bool showFails = false;
  platform::LanguageResult languageResult = platform::LanguageResult::Ok;
  std::atomic<int> voiceWaits{0};
  std::chrono::milliseconds lastWaitTimeout{0};
  std::string loadedPath;
  void add(std::string event);
  std::vector<std::string> snapshot();
  bool has(const std::string& event);
};

class FakeSpeechEngines {
 public:
  FakeSpeechEngines();
  ~FakeSpeechEngines();
  std::shared_ptr<SpeechLog> log = std::make_shared<SpeechLog>();

 private:
  platform::SpeechEngineFactories previous_;
};

}  // namespace vlm::test
