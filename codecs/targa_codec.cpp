// Truevision Targa: colour-mapped, true-colour (15, 16, 24, 32 bits) and
// grey pictures, raw or run-length encoded, in any of the four origins.
#include <algorithm>
#include <array>
#include <vector>

#include "codecs/byte_reader.h"
#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

constexpr size_t kHeaderSize = 18;

void from16(uint32_t v, uint8_t bgr[3]) {
  auto scale = [](uint32_t c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); };
  bgr[0] = scale(v & 0x1F);
  bgr[1] = scale((v >> 5) & 0x1F);
  bgr[2] = scale((v >> 10) & 0x1F);
}

// One pixel (or colour-map entry) of `bits` bits as B, G, R.
void readColour(ByteReader& r, uint32_t bits, bool grey, uint8_t bgr[3]) {
  if (grey) {
    bgr[0] = bgr[1] = bgr[2] = r.u8();
    if (bits == 16) r.u8();  // alpha
    return;
  }
  switch (bits) {
    case 15:
    case 16: from16(r.le16(), bgr); break;
    case 24: bgr[0] = r.u8(), bgr[1] = r.u8(), bgr[2] = r.u8(); break;
    case 32:
      bgr[0] = r.u8(), bgr[1] = r.u8(), bgr[2] = r.u8();
      r.u8();
      break;
    default: bgr[0] = bgr[1] = bgr[2] = 0;
  }
}

}  // namespace

DecodeResult decodeTarga(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  ByteReader r(bytes);
  const uint8_t idLength = r.u8();
  const uint8_t mapType = r.u8();
  const uint8_t type = r.u8();
  const uint32_t mapFirst = r.le16(), mapLength = r.le16();
  const uint32_t mapBits = r.u8();
  r.skip(4);  // origin
  const int64_t width = r.le16(), height = r.le16();
  const uint32_t depth = r.u8();
  const uint8_t descriptor = r.u8();
  if (r.overrun()) return decodeFailure(DecodeStatus::NotAnImage, "not a Targa file");
  const uint8_t base = type & 0x07;
  const bool rle = (type & 0x08) != 0;
  if ((type & ~0x0B) != 0 || base < 1 || base > 3 || mapType > 1)
    return decodeFailure(DecodeStatus::NotAnImage, "not a Targa file");
  const bool mapped = base == 1, grey = base == 3;
  if (mapped && (mapType != 1 || (depth != 8 && depth != 16)))
    return decodeFailure(DecodeStatus::BadImage, "a colour-mapped Targa file without a usable colour map");
  if (!mapped && !grey && depth != 15 && depth != 16 && depth != 24 && depth != 32)
    return decodeFailure(DecodeStatus::BadImage, "a Targa file of " + std::to_string(depth) + " bits a pixel");
  if (grey && depth != 8 && depth != 16)
    return decodeFailure(DecodeStatus::BadImage, "a grey Targa file of " + std::to_string(depth) + " bits a pixel");
  if (mapType == 1 && mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32)
    return decodeFailure(DecodeStatus::BadImage, "a Targa colour map of " + std::to_string(mapBits) + " bits");

  r.skip(idLength);
  std::vector<std::array<uint8_t, 3>> map;
  if (mapType == 1) {
    if (r.left() < static_cast<size_t>(mapLength) * ((mapBits + 7) / 8))
      return decodeFailure(DecodeStatus::BadImage, "the Targa colour map is cut short");
    map.resize(mapLength);
    for (auto& entry : map) readColour(r, mapBits, false, entry.data());
  }

  DecodeResult result;
  if (!allocateImage(result.image, width, height, limits, result)) return result;
  Image& image = result.image;
  const bool topOrigin = (descriptor & 0x20) != 0, rightOrigin = (descriptor & 0x10) != 0;
  const uint32_t pixelBytes = (depth + 7) / 8;
  if (!rle && r.left() / pixelBytes / static_cast<size_t>(width) < static_cast<size_t>(height))
    return decodeFailure(DecodeStatus::BadImage, "the Targa pixel data is cut short");

  auto readPixel = [&](uint8_t bgr[3]) {
    if (!mapped) {
      readColour(r, depth, grey, bgr);
      return;
    }
    const uint32_t index = depth == 8 ? r.u8() : r.le16();
    if (index >= mapFirst && index - mapFirst < map.size()) std::copy_n(map[index - mapFirst].data(), 3, bgr);
    else bgr[0] = bgr[1] = bgr[2] = 0;
  };
  const int64_t total = width * height;
  uint32_t runLeft = 0;
  bool repeating = false;
  uint8_t current[3] = {0, 0, 0};
  for (int64_t i = 0; i < total; ++i) {
    if (rle) {
      if (runLeft == 0) {
        const uint8_t head = r.u8();
        runLeft = (head & 0x7Fu) + 1;
        repeating = (head & 0x80) != 0;
        if (repeating) readPixel(current);
      }
      if (!repeating) readPixel(current);
      --runLeft;
    } else {
      readPixel(current);
    }
    if (r.overrun()) break;  // cut short: what was read stays
    const int64_t fx = i % width, fy = i / width;
    const int32_t x = static_cast<int32_t>(rightOrigin ? width - 1 - fx : fx);
    const int32_t y = static_cast<int32_t>(topOrigin ? height - 1 - fy : fy);
    std::copy_n(current, 3, image.row(y) + static_cast<size_t>(x) * 3);
  }
  result.status = DecodeStatus::Ok;
  return result;
}

bool encodeTarga(const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  if (image.width > 65535 || image.height > 65535) {
    error = "the image is too large for a Targa file";
    return false;
  }
  out.assign(kHeaderSize, 0);
  out[2] = 2;  // uncompressed true colour
  out[12] = static_cast<uint8_t>(image.width), out[13] = static_cast<uint8_t>(image.width >> 8);
  out[14] = static_cast<uint8_t>(image.height), out[15] = static_cast<uint8_t>(image.height >> 8);
  out[16] = 24;
  // Top-left origin, top row first: readers that ignore the origin bit (some
  // do) then agree with those that honour it.
  out[17] = 0x20;
  out.reserve(kHeaderSize + static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3);
  for (int32_t y = image.height - 1; y >= 0; --y)
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t bgr[3];
      pixelBgr(image, x, y, bgr);
      out.insert(out.end(), bgr, bgr + 3);
    }
  return true;
}

}  // namespace vlm::codecs
