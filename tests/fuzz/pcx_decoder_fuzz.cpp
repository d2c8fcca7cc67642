// Arbitrary bytes as PCX files: the reader must refuse them or deliver a
// picture whose pixel buffer matches its size, without reading outside the bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "codecs/codec_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Small limits keep each run quick; the checks before allocation are the same.
  const vlm::codecs::DecodeLimits limits{2048, 1 << 20};
  const vlm::codecs::DecodeResult r = vlm::codecs::decodePcx(std::span(data, size), limits);
  if (r.ok() && r.image.pixels.size() != static_cast<size_t>(r.image.width) * static_cast<size_t>(r.image.height) * 3)
    __builtin_trap();
  return 0;
}
