#pragma once
// One placed 3D object per sample.
#include <cstdint>
#include <vector>

#include "platform/big_allocator.h"

namespace vlm {

struct ObjectRecord {
  float x = 0, y = 0, z = 0;
  float rotX = 0, rotY = 0, rotZ = 0;
  float red = 0, green = 0.5f, blue = 0.9f, alpha = 1.0f;
  float defX = 0, defY = 0, defZ = 0, defRotX = 0, defRotY = 0, defRotZ = 0;
  float defRed = 0, defGreen = 0.5f, defBlue = 0.9f, defAlpha = 1.0f;
  uint8_t shape = 0x66;  // low nibble default shape, high nibble current shape
  float baseWidth = 4, baseDepth = 4, baseHeight = 4;
  float width = 4, depth = 4, height = 4;
  float soundVolume = 100;
  float soundFrequency = 50;
  int32_t texture = 0;
  int32_t labelList = 0;
};

// The objects of a table, one per sample: a hundred megabytes and more for a
// million samples, in huge pages. Only the default layout resizes the array,
// and it writes every record.
using ObjectArray = std::vector<ObjectRecord, platform::OverwrittenBigAllocator<ObjectRecord>>;

}  // namespace vlm
