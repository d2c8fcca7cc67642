#include "sound/support/fake_sound.h"

#include <algorithm>

namespace vlm::test {
namespace {

class FakeBuffer final : public platform::SoundBuffer {
 public:
  FakeBuffer(std::shared_ptr<SoundLog> log, std::shared_ptr<SoundLog::Buffer> record)
      : log_(std::move(log)), b_(std::move(record)) {}
  ~FakeBuffer() override {
    std::lock_guard lock(log_->mutex);
    b_->released = true;
  }
  bool write(const uint8_t*, size_t bytes) override {
    std::lock_guard lock(log_->mutex);
    if (bytes > b_->bytes) return false;
    b_->written = bytes;
    return true;
  }
  bool setCurrentPosition(uint32_t) override { return true; }
  bool setFrequency(uint32_t hz) override {
    std::lock_guard lock(log_->mutex);
    b_->frequency = hz;
    return true;
  }
  bool setVolume(int32_t v) override {
    std::lock_guard lock(log_->mutex);
    b_->volume = v;
    return true;
  }
  platform::PlayResult play() override {
    std::lock_guard lock(log_->mutex);
    if (b_->lostOnce) {
      b_->lostOnce = false;
      b_->written = 0;
      return platform::PlayResult::BufferLost;
    }
    if (b_->written == 0) return platform::PlayResult::Failed;
    ++b_->plays;
    return platform::PlayResult::Playing;
  }
  bool restore() override {
    std::lock_guard lock(log_->mutex);
    ++b_->restores;
    return !log_->restoreFails;
  }
  bool isPlaying() const override { return false; }

 private:
  std::shared_ptr<SoundLog> log_;
  std::shared_ptr<SoundLog::Buffer> b_;
};

class FakeDevice final : public platform::SoundDevice {
 public:
  explicit FakeDevice(std::shared_ptr<SoundLog> log) : log_(std::move(log)) {}
  bool setCooperativeLevel(void*) override {
    std::lock_guard lock(log_->mutex);
    return !log_->cooperativeFails;
  }
  std::unique_ptr<platform::SoundBuffer> createBuffer(const platform::WaveFormat& format, size_t bytes) override {
    std::lock_guard lock(log_->mutex);
    if (made_++ == log_->failBuffer) return nullptr;
    auto record = std::make_shared<SoundLog::Buffer>();
    record->format = format;
    record->bytes = bytes;
    log_->buffers.push_back(record);
    return std::make_unique<FakeBuffer>(log_, record);
  }
  bool createPrimaryBuffer() override {
    std::lock_guard lock(log_->mutex);
    return !log_->primaryFails;
  }
  bool playPrimaryLooping() override {
    std::lock_guard lock(log_->mutex);
    return !log_->primaryPlayFails;
  }

 private:
  std::shared_ptr<SoundLog> log_;
  int made_ = 0;
};

class FakeVoice final : public platform::SpeechVoice {
 public:
  explicit FakeVoice(std::shared_ptr<SpeechLog> log) : log_(std::move(log)) { log_->add("voice created"); }
  ~FakeVoice() override { log_->add("voice released"); }
  bool speak(const std::string& text) override {
    log_->add("voice speaks " + text);
    return true;
  }
  bool waitUntilDone(std::chrono::milliseconds timeout) override {
    {
      std::lock_guard lock(log_->mutex);
      log_->lastWaitTimeout = timeout;
    }
    ++log_->voiceWaits;
    return true;
  }

 private:
  std::shared_ptr<SpeechLog> log_;
};

class FakeCharacter final : public platform::SpeechCharacter {
 public:
  explicit FakeCharacter(std::shared_ptr<SpeechLog> log) : log_(std::move(log)) {}
  ~FakeCharacter() override { log_->add("character released"); }
  platform::LanguageResult setLanguageId(int32_t id) override {
    std::lock_guard lock(log_->mutex);
    log_->languageIds.push_back(id);
    return log_->languageResult;
  }
  bool show() override {
    log_->add("character shown");
    std::lock_guard lock(log_->mutex);
    return !log_->showFails;
  }
  void stopAll() override { log_->add("character stops"); }
  bool speak(const std::string& text) override {
    log_->add("character speaks " + text);
    return true;
  }

 private:
  std::shared_ptr<SpeechLog> log_;
};

class FakeServer final : public platform::CharacterServer {
 public:
  explicit FakeServer(std::shared_ptr<SpeechLog> log) : log_(std::move(log)) { log_->add("server created"); }
  ~FakeServer() override { log_->add("server released"); }
  std::unique_ptr<platform::SpeechCharacter> load(const std::string& path) override {
    {
      std::lock_guard lock(log_->mutex);
      log_->loadedPath = path;
      if (log_->loadFails) return nullptr;
    }
    log_->add("character loaded");
    return std::make_unique<FakeCharacter>(log_);
  }

 private:
  std::shared_ptr<SpeechLog> log_;
};

}  // namespace

FakeSoundDevices::FakeSoundDevices() {
  auto shared = log;
  previous_ = platform::setSoundDeviceFactory([shared]() -> std::unique_ptr<platform::SoundDevice> {
    std::lock_guard lock(shared->mutex);
    if (shared->noDevice) return nullptr;
    ++shared->devices;
    return std::make_unique<FakeDevice>(shared);
  });
}

FakeSoundDevices::~FakeSoundDevices() { platform::setSoundDeviceFactory(previous_); }

void SpeechLog::add(std::string event) {
  std::lock_guard lock(mutex);
  events.push_back(std::move(event));
}

std::vector<std::string> SpeechLog::snapshot() {
  std::lock_guard lock(mutex);
  return events;
}

bool SpeechLog::has(const std::string& event) {
  std::lock_guard lock(mutex);
  return std::find(events.begin(), events.end(), event) != events.end();
}

FakeSpeechEngines::FakeSpeechEngines() {
  auto shared = log;
  platform::SpeechEngineFactories f;
  f.voice = [shared]() -> std::unique_ptr<platform::SpeechVoice> {
    {
      std::lock_guard lock(shared->mutex);
      if (shared->voiceFails) return nullptr;
    }
    return std::make_unique<FakeVoice>(shared);
  };
  f.characterServer = [shared]() -> std::unique_ptr<platform::CharacterServer> {
    {
      std::lock_guard lock(shared->mutex);
      if (shared->serverFails) return nullptr;
    }
    return std::make_unique<FakeServer>(shared);
  };
  previous_ = platform::setSpeechEngineFactories(std::move(f));
}

FakeSpeechEngines::~FakeSpeechEngines() { platform::setSpeechEngineFactories(previous_); }

}  // namespace vlm::test
