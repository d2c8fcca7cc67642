// Windows and OS/2 bitmaps: 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed,
// with bit-field masks, or run-length encoded (RLE8, RLE4).
#include <algorithm>
#include <array>
#include <bit>

#include "codecs/byte_reader.h"
#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct Palette {
  std::array<std::array<uint8_t, 3>, 256> bgr{};
  uint32_t count = 0;
};

// A bit-field mask as a shift and a width, and the scaling of its value to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  uint8_t value(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t v = (pixel & mask) >> shift;
    const uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return static_cast<uint8_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
  }
};

Channel channelOf(uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask == 0) return c;
  c.shift = std::countr_zero(mask);
  c.bits = std::popcount(mask);
  return c;
}

void setPixel(Image& image, int32_t x, int32_t y, const uint8_t bgr[3]) {
  uint8_t* p = image.row(y) + static_cast<size_t>(x) * 3;
  p[0] = bgr[0], p[1] = bgr[1], p[2] = bgr[2];
}

void setIndex(Image& image, int32_t x, int32_t y, const Palette& palette, uint32_t index) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  if (index >= palette.count) return;  // an index past the palette stays black
  setPixel(image, x, y, palette.bgr[index].data());
}

// Run-length encoded rows (RLE8 or RLE4). Rows run from the bottom up; y is
// counted in the file's order and turned when the picture is stored top-down.
bool decodeRle(ByteReader& r, Image& image, const Palette& palette, bool four, bool topDown) {
  int64_t x = 0, y = 0;
  auto put = [&](uint32_t index) {
    if (x < image.width && y < image.height) {
      const int32_t row = static_cast<int32_t>(topDown ? image.height - 1 - y : y);
      setIndex(image, static_cast<int32_t>(x), row, palette, index);
    }
    ++x;
  };
  while (!r.atEnd() && y < image.height) {
    const uint8_t count = r.u8();
    const uint8_t value = r.u8();
    if (r.overrun()) break;
    if (count > 0) {
      for (int i = 0; i < count && x < image.width; ++i) put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    switch (value) {
      case 0: x = 0, ++y; break;  // end of line
      case 1: return true;        // end of bitmap
      case 2: {                   // move right and up
        const uint8_t dx = r.u8(), dy = r.u8();
        x += dx, y += dy;
        break;
      }
      default: {  // a literal run of `value` pixels, padded to a 16-bit boundary
        const size_t bytes = four ? (value + 1u) / 2u : value;
        std::span<const uint8_t> run = r.take(bytes);
        if (run.empty()) return true;  // cut short: keep what was decoded
        for (int i = 0; i < value; ++i) {
          const uint8_t b = run[four ? static_cast<size_t>(i / 2) : static_cast<size_t>(i)];
          put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
        }
        if (bytes & 1) r.skip(1);
      }
    }
  }
  return true;
}

}  // namespace

DecodeResult decodeBmp(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  ByteReader r(bytes);
  if (r.u8() != 'B' || r.u8() != 'M') return decodeFailure(DecodeStatus::NotAnImage, "not a bitmap file");
  r.skip(8);  // file size and reserved words: often wrong, never needed
  const uint32_t bitsOffset = r.le32();
  const size_t infoStart = r.position();
  const uint32_t infoSize = r.le32();
  int64_t width = 0, height = 0;
  uint32_t planes = 1, bitCount = 0, compression = kRgb, colorsUsed = 0;
  uint32_t masks[3] = {0, 0, 0};
  bool core = false;
  if (infoSize == 12) {  // OS/2 1.x core header
    core = true;
    width = r.le16();
    height = static_cast<int16_t>(r.le16());
    planes = r.le16();
    bitCount = r.le16();
  } else if (infoSize >= 40 && infoSize <= 4096) {
    width = static_cast<int32_t>(r.le32());
    height = static_cast<int32_t>(r.le32());
    planes = r.le16();
    bitCount = r.le16();
    compression = r.le32();
    r.skip(12);  // image size, resolution
    colorsUsed = r.le32();
    r.skip(4);  // important colours
    if (infoSize >= 52) {
      masks[0] = r.le32(), masks[1] = r.le32(), masks[2] = r.le32();
    } else if (compression == kBitFields || compression == kAlphaBitFields) {
      // The masks follow the 40-byte header.
      masks[0] = r.le32(), masks[1] = r.le32(), masks[2] = r.le32();
      if (compression == kAlphaBitFields) r.skip(4);
    }
  } else {
    return decodeFailure(DecodeStatus::BadImage, "unknown bitmap header size " + std::to_string(infoSize));
  }
  if (r.overrun()) return decodeFailure(DecodeStatus::BadImage, "the bitmap header is cut short");
  (void)planes;  // some writers put 0 here; the bit count alone decides
  const bool topDown = height < 0;
  if (topDown) height = -height;
  const bool palettised = bitCount == 1 || bitCount == 4 || bitCount == 8;
  if (!palettised && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return decodeFailure(DecodeStatus::BadImage, "a bitmap of " + std::to_string(bitCount) + " bits a pixel");
  const bool rle = compression == kRle8 || compression == kRle4;
  if ((compression == kRle8 && bitCount != 8) || (compression == kRle4 && bitCount != 4))
    return decodeFailure(DecodeStatus::BadImage, "run-length coding that does not match the bit count");
  if (compression != kRgb && !rle && compression != kBitFields && compression != kAlphaBitFields)
    return decodeFailure(DecodeStatus::BadImage, "bitmap compression " + std::to_string(compression) + " is not read");
  if ((compression == kBitFields || compression == kAlphaBitFields) && bitCount != 16 && bitCount != 32)
    return decodeFailure(DecodeStatus::BadImage, "bit-field masks on a palette bitmap");

  Palette palette;
  if (palettised) {
    const uint32_t full = 1u << bitCount;
    palette.count = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    r.seek(infoStart + (core ? 12 : infoSize) +
           ((compression == kBitFields || compression == kAlphaBitFields) && infoSize < 52 ? 12 : 0));
    const size_t entry = core ? 3 : 4;
    for (uint32_t i = 0; i < palette.count; ++i) {
      std::span<const uint8_t> e = r.take(entry);
      if (e.empty()) {
        palette.count = i;  // a short palette: the missing colours stay black
        break;
      }
      palette.bgr[i] = {e[0], e[1], e[2]};
    }
  }
  if (compression == kRgb && bitCount == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (compression == kRgb && bitCount == 32) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  const Channel red = channelOf(masks[0]), green = channelOf(masks[1]), blue = channelOf(masks[2]);

  DecodeResult result;
  if (!allocateImage(result.image, width, height, limits, result)) return result;
  Image& image = result.image;
  if (bitsOffset >= bytes.size()) return decodeFailure(DecodeStatus::BadImage, "the bitmap has no pixel data");
  r.seek(bitsOffset);

  if (rle) {
    decodeRle(r, image, palette, compression == kRle4, topDown);
    result.status = DecodeStatus::Ok;
    return result;
  }

  const size_t rowBytes = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  if (r.left() / rowBytes < static_cast<size_t>(height))
    return decodeFailure(DecodeStatus::BadImage, "the bitmap's pixel data is cut short");
  for (int64_t fileRow = 0; fileRow < height; ++fileRow) {
    std::span<const uint8_t> src = r.take(rowBytes);
    const int32_t y = static_cast<int32_t>(topDown ? height - 1 - fileRow : fileRow);
    uint8_t* dst = image.row(y);
    for (int32_t x = 0; x < image.width; ++x) {
      const size_t bx = static_cast<size_t>(x);
      switch (bitCount) {
        case 1: setIndex(image, x, y, palette, (src[bx / 8] >> (7 - bx % 8)) & 1); break;
        case 4: setIndex(image, x, y, palette, (src[bx / 2] >> ((bx & 1) ? 0 : 4)) & 0x0F); break;
        case 8: setIndex(image, x, y, palette, src[bx]); break;
        case 24: std::copy_n(src.data() + bx * 3, 3, dst + bx * 3); break;
        case 16:
        case 32: {
          uint32_t p = 0;
          if (bitCount == 16) p = static_cast<uint32_t>(src[bx * 2] | (src[bx * 2 + 1] << 8));
          else p = static_cast<uint32_t>(src[bx * 4]) | (static_cast<uint32_t>(src[bx * 4 + 1]) << 8) |
                   (static_cast<uint32_t>(src[bx * 4 + 2]) << 16) | (static_cast<uint32_t>(src[bx * 4 + 3]) << 24);
          dst[bx * 3] = blue.value(p);
          dst[bx * 3 + 1] = green.value(p);
          dst[bx * 3 + 2] = red.value(p);
          break;
        }
        default: break;
      }
    }
  }
  result.status = DecodeStatus::Ok;
  return result;
}

bool encodeBmp(const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  const size_t rowBytes = (static_cast<size_t>(image.width) * 3 + 3) / 4 * 4;
  const uint64_t bitsSize = static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(image.height);
  if (bitsSize + 54 > 0xFFFFFFFFull) {
    error = "the image is too large for a bitmap file";
    return false;
  }
  out.clear();
  out.reserve(54 + bitsSize);
  auto le16 = [&out](uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto le32 = [&le16](uint32_t v) {
    le16(v & 0xFFFF);
    le16(v >> 16);
  };
  le16(19778);  // "BM"
  le32(static_cast<uint32_t>(54 + bitsSize));
  le32(0);
  le32(54);
  le32(40);
  le32(static_cast<uint32_t>(image.width));
  le32(static_cast<uint32_t>(image.height));
  le16(1);
  le16(24);
  le32(kRgb);
  le32(static_cast<uint32_t>(bitsSize));
  le32(2835);  // 72 pixels an inch
  le32(2835);
  le32(0);
  le32(0);
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t bgr[3];
      pixelBgr(image, x, y, bgr);
      out.insert(out.end(), bgr, bgr + 3);
    }
    out.resize(out.size() + rowBytes - static_cast<size_t>(image.width) * 3, 0);
  }
  return true;
}

bool validView(const ImageView& image, std::string& error) {
  if (image.width <= 0 || image.height <= 0 || image.pixels == nullptr) {
    error = "the image is empty";
    return false;
  }
  if (image.stride < static_cast<size_t>(image.width) * 3) {
    error = "the image rows are shorter than its width";
    return false;
  }
  return true;
}

}  // namespace vlm::codecs
