#pragma once
// A decoded picture and the view of one handed to a writer.
//
// Pictures are kept the way OpenGL takes and gives them: rows from the bottom
// up, three bytes a pixel. Every reader delivers blue, green, red; a writer is
// told which order its pixels come in.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vlm::codecs {

enum class ChannelOrder { BGR, RGB };

struct Image {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width * 3 bytes a row, bottom row first, B, G, R

  size_t stride() const { return static_cast<size_t>(width) * 3; }
  uint8_t* row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * stride(); }
  const uint8_t* row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * stride(); }
};

// Pixels owned by the caller: `height` rows of `stride` bytes, bottom row first.
struct ImageView {
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;
  ChannelOrder order = ChannelOrder::BGR;
  const uint8_t* pixels = nullptr;

  const uint8_t* row(int32_t y) const { return pixels + static_cast<size_t>(y) * stride; }
};

inline ImageView viewOf(const Image& image) {
  return ImageView{image.width, image.height, image.stride(), ChannelOrder::BGR, image.pixels.data()};
}

// What a reader accepts. A header that asks for more is refused before
// anything is allocated for it.
struct DecodeLimits {
  int32_t maxSide = 16384;
  int64_t maxPixels = int64_t{64} << 20;
};

enum class DecodeStatus {
  Ok,
  CannotOpen,   // the file cannot be read (missing, a directory, no permission)
  NotAnImage,   // no format of ours recognises it
  BadImage,     // recognised, but damaged, cut short or of a kind we do not read
  TooLarge,     // beyond the limits
  OutOfMemory,
};

struct DecodeResult {
  DecodeStatus status = DecodeStatus::NotAnImage;
  Image image;
  std::string detail;  // why it failed, for messages

  bool ok() const { return status == DecodeStatus::Ok; }
};

inline DecodeResult decodeFailure(DecodeStatus status, std::string detail) {
  DecodeResult r;
  r.status = status;
  r.detail = std::move(detail);
  return r;
}

// Checks the size against the limits and allocates the picture; a failure
// result otherwise.
bool allocateImage(Image& image, int64_t width, int64_t height, const DecodeLimits& limits, DecodeResult& failure);

}  // namespace vlm::codecs
