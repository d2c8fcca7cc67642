#pragma once
// Files built into the engine library at build time (the sound recordings).
#include <cstddef>

namespace vlm::embedded {

struct File {
  const char* name;  // the file's name without its folder
  const unsigned char* data;
  size_t size;
};

extern const File kSoundFiles[];
extern const size_t kSoundFilesCount;

}  // namespace vlm::embedded
