#include "platform/audio_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <mutex>

namespace vlm::platform {

struct AudioDevice::Handles {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
};

namespace {
std::mutex g_mutex;
std::weak_ptr<AudioDevice> g_device;
}  // namespace

AudioDevice::~AudioDevice() {
  if (!handles_) return;
  std::lock_guard lock(g_mutex);
  if (alcGetCurrentContext() == handles_->context) alcMakeContextCurrent(nullptr);
  if (handles_->context) alcDestroyContext(handles_->context);
  if (handles_->device) alcCloseDevice(handles_->device);
  delete handles_;
}

bool AudioDevice::connected() const {
  if (!handles_ || !handles_->device) return false;
  if (!alcIsExtensionPresent(handles_->device, "ALC_EXT_disconnect")) return true;
  ALCint connected = ALC_TRUE;
  alcGetIntegerv(handles_->device, ALC_CONNECTED, 1, &connected);
  return connected != ALC_FALSE;
}

std::shared_ptr<AudioDevice> acquireAudioDevice() {
  std::lock_guard lock(g_mutex);
  if (auto existing = g_device.lock()) return existing;
  ALCdevice* device = alcOpenDevice(nullptr);
  if (!device) return nullptr;
  ALCcontext* context = alcCreateContext(device, nullptr);
  if (!context || alcMakeContextCurrent(context) != ALC_TRUE) {
    if (context) alcDestroyContext(context);
    alcCloseDevice(device);
    return nullptr;
  }
  std::shared_ptr<AudioDevice> shared(new AudioDevice);
  shared->handles_ = new AudioDevice::Handles{device, context};
  g_device = shared;
  return shared;
}

}  // namespace vlm::platform
