// PNG through libpng's simplified interface, which does every conversion
// (palette, grey, 16 bits, transparency over black) and needs no long jumps.
#include <png.h>

#include <cstring>

#include "codecs/codec_set.h"

namespace vlm::codecs {

DecodeResult decodePng(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
    return decodeFailure(DecodeStatus::NotAnImage, "not a PNG file");
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
    return decodeFailure(DecodeStatus::BadImage, std::string("PNG: ") + png.message);
  DecodeResult result;
  if (!allocateImage(result.image, png.width, png.height, limits, result)) {
    png_image_free(&png);
    return result;
  }
  png.format = PNG_FORMAT_BGR;
  // A negative stride stores the rows from the bottom up.
  const png_int_32 stride = -static_cast<png_int_32>(result.image.stride());
  if (!png_image_finish_read(&png, nullptr, result.image.pixels.data(), stride, nullptr)) {
    const std::string message = png.message;
    png_image_free(&png);
    return decodeFailure(DecodeStatus::BadImage, "PNG: " + message);
  }
  result.status = DecodeStatus::Ok;
  return result;
}

bool encodePng(const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = image.order == ChannelOrder::BGR ? PNG_FORMAT_BGR : PNG_FORMAT_RGB;
  // libpng reads rows top first; with a negative stride it starts from the
  // last row of the buffer, which is our top row.
  const png_int_32 stride = -static_cast<png_int_32>(image.stride);
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels, stride, nullptr)) {
    error = std::string("PNG: ") + png.message;
    return false;
  }
  out.resize(size);
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, image.pixels, stride, nullptr)) {
    error = std::string("PNG: ") + png.message;
    return false;
  }
  out.resize(size);
  return true;
}

}  // namespace vlm::codecs
