// Arbitrary bytes through our wrappers of libjpeg, libpng, giflib and libtiff
// (byte 0 picks the format, the rest is the file): a refusal or a picture
// whose pixel buffer matches its size, with every library error caught.
#include <cstddef>
#include <cstdint>
#include <span>

#include "codecs/codec_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const vlm::codecs::DecodeLimits limits{2048, 1 << 20};
  const std::span<const uint8_t> bytes(data + 1, size - 1);
  vlm::codecs::DecodeResult r;
  switch (data[0] % 4) {
    case 0: r = vlm::codecs::decodeJpeg(bytes, limits); break;
    case 1: r = vlm::codecs::decodePng(bytes, limits); break;
    case 2: r = vlm::codecs::decodeGif(bytes, limits); break;
    default: r = vlm::codecs::decodeTiff(bytes, limits); break;
  }
  if (r.ok() && r.image.pixels.size() != static_cast<size_t>(r.image.width) * static_cast<size_t>(r.image.height) * 3)
    __builtin_trap();
  return 0;
}
