#include "codecs/image.h"

#include <new>

namespace vlm::codecs {

bool allocateImage(Image& image, int64_t width, int64_t height, const DecodeLimits& limits, DecodeResult& failure) {
  if (width <= 0 || height <= 0) {
    failure = decodeFailure(DecodeStatus::BadImage, "the image has no pixels");
    return false;
  }
  if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxPixels) {
    failure = decodeFailure(DecodeStatus::TooLarge, "the image is " + std::to_string(width) + " x " +
                                                        std::to_string(height) + " pixels, more than can be loaded");
    return false;
  }
  try {
    image.pixels.assign(static_cast<size_t>(width * height) * 3, 0);
  } catch (const std::bad_alloc&) {
    failure = decodeFailure(DecodeStatus::OutOfMemory, "not enough memory for the image");
    return false;
  }
  image.width = static_cast<int32_t>(width);
  image.height = static_cast<int32_t>(height);
  return true;
}

}  // namespace vlm::codecs
