#pragma once
// What the output subsystem keeps in the engine state: the report options,
// the last image and texture file types chosen, the object textures and the
// textures event.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "codecs/image.h"
#include "codecs/image_types.h"
#include "platform/event.h"

namespace vlm {

struct ReportOptions {
  bool browser = true;     // write a temporary file and open it in the browser
  bool file = false;       // ask for a file name and write there
  bool hitDetails = true;  // include the table of samples
  bool image = false;      // include a picture of the view (only with file)
};

// One object texture: a file name of the texture field and its GL texture.
struct TextureEntry {
  std::string name;      // the value text, compared byte by byte; empty when free
  uint32_t texture = 0;  // GL texture name, 0 when the file gave no picture
  int32_t width = 0, height = 0;
  std::vector<uint8_t> pixels;  // the decoded picture, B, G, R
};

constexpr int32_t kTextureListStep = 1024;

struct ObjectTextureList {
  std::vector<TextureEntry> entries;  // capacity grows kTextureListStep entries at a time
  int32_t count = 0;                  // entries in use, from the front
};

struct OutputState {
  ReportOptions report;
  codecs::ImageType lastImageType = codecs::IMAGE_BMP;  // the last type saved
  int32_t lastTextureFilter = 0;                        // filter of the texture dialog last chosen
  // Set while no texture work is under way; vlm_DeleteTextures waits for it.
  platform::ManualResetEvent texturesEvent{true};
  bool planeTextureLoaded = false;  // a plane texture was loaded since the engine started

  // The object textures: built and deleted on the engine thread, looked up by
  // the rebuild; the mutex guards the list, not the GL names.
  std::mutex texturesMutex;
  ObjectTextureList textures;
  std::vector<uint32_t> retired;  // GL names of a cleared list, deleted by the engine thread
};

}  // namespace vlm
