// SGI image files (.rgb, .rgba, .sgi, .bw): one to four channels of 8 or 16
// bits, verbatim or run-length encoded. Rows run from the bottom up, as ours do.
#include <algorithm>
#include <vector>

#include "codecs/byte_reader.h"
#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

constexpr uint16_t kMagic = 474;
constexpr size_t kHeaderSize = 512;

// Where channel `z` of a pixel goes in B, G, R: grey pictures fill all three,
// a fourth (alpha) channel is dropped.
void store(uint8_t* px, uint32_t channels, uint32_t z, uint8_t v) {
  if (channels < 3) {
    if (z == 0) px[0] = px[1] = px[2] = v;
  } else if (z < 3) {
    px[2 - z] = v;
  }
}

// Decodes one run-length row of `bpc` bytes a value (the high byte kept) into
// `values`; false when the row runs past the data.
bool decodeRow(std::span<const uint8_t> bytes, size_t start, uint32_t bpc, std::vector<uint8_t>& values) {
  ByteReader r(bytes);
  r.seek(start);
  if (r.overrun()) return false;
  size_t x = 0;
  const size_t width = values.size();
  auto value = [&]() -> uint8_t {
    const uint8_t hi = r.u8();
    if (bpc == 2) r.u8();
    return hi;
  };
  while (x < width) {  // packets past the width would only cost time
    const uint8_t c = value();
    if (r.overrun()) return false;
    const uint32_t count = c & 0x7F;
    if (count == 0) return true;
    if (c & 0x80) {
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t v = value();
        if (x < width) values[x++] = v;
      }
    } else {
      const uint8_t v = value();
      for (uint32_t i = 0; i < count && x < width; ++i) values[x++] = v;
    }
    if (r.overrun()) return false;
  }
  return true;
}

}  // namespace

DecodeResult decodeSgi(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  ByteReader r(bytes);
  if (r.be16() != kMagic) return decodeFailure(DecodeStatus::NotAnImage, "not an SGI image file");
  const uint32_t storage = r.u8();
  const uint32_t bpc = r.u8();
  const uint32_t dimension = r.be16();
  int64_t width = r.be16(), height = r.be16(), channels = r.be16();
  if (r.overrun() || bytes.size() < kHeaderSize) return decodeFailure(DecodeStatus::BadImage, "the SGI header is cut short");
  if (storage > 1 || (bpc != 1 && bpc != 2) || dimension < 1 || dimension > 3)
    return decodeFailure(DecodeStatus::BadImage, "an SGI image of a kind that is not read");
  if (dimension == 1) height = 1;
  if (dimension < 3) channels = 1;
  if (channels < 1 || channels > 4)
    return decodeFailure(DecodeStatus::BadImage, "an SGI image of " + std::to_string(channels) + " channels");
  DecodeResult result;
  if (!allocateImage(result.image, width, height, limits, result)) return result;
  Image& image = result.image;
  const uint32_t z = static_cast<uint32_t>(channels);
  const size_t w = static_cast<size_t>(width);

  if (storage == 0) {
    const size_t plane = w * static_cast<size_t>(height) * bpc;
    if ((bytes.size() - kHeaderSize) / plane < z)
      return decodeFailure(DecodeStatus::BadImage, "the SGI pixel data is cut short");
    for (uint32_t c = 0; c < z; ++c)
      for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* src = bytes.data() + kHeaderSize + c * plane + static_cast<size_t>(y) * w * bpc;
        uint8_t* dst = image.row(y);
        for (size_t x = 0; x < w; ++x) store(dst + x * 3, z, c, src[x * bpc]);
      }
    result.status = DecodeStatus::Ok;
    return result;
  }

  // The tables of row starts and lengths follow the header, channel by channel.
  const size_t rows = static_cast<size_t>(height) * z;
  if ((bytes.size() - kHeaderSize) / 8 < rows) return decodeFailure(DecodeStatus::BadImage, "the SGI row table is cut short");
  r.seek(kHeaderSize);
  std::vector<uint32_t> starts(rows);
  for (uint32_t& s : starts) s = r.be32();
  std::vector<uint8_t> values(w);
  for (uint32_t c = 0; c < z; ++c)
    for (int32_t y = 0; y < image.height; ++y) {
      std::fill(values.begin(), values.end(), 0);
      // A row that runs past the data keeps what it decoded.
      decodeRow(bytes, starts[c * static_cast<size_t>(height) + static_cast<size_t>(y)], bpc, values);
      uint8_t* dst = image.row(y);
      for (size_t x = 0; x < w; ++x) store(dst + x * 3, z, c, values[x]);
    }
  result.status = DecodeStatus::Ok;
  return result;
}

bool encodeSgi(const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  if (image.width > 65535 || image.height > 65535) {
    error = "the image is too large for an SGI file";
    return false;
  }
  out.assign(kHeaderSize, 0);
  auto be16 = [&out](size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v >> 8);
    out[at + 1] = static_cast<uint8_t>(v);
  };
  be16(0, kMagic);
  out[2] = 0;  // verbatim
  out[3] = 1;  // one byte a value
  be16(4, 3);
  be16(6, static_cast<uint32_t>(image.width));
  be16(8, static_cast<uint32_t>(image.height));
  be16(10, 3);
  out[19] = 255;  // largest value (big-endian 32 bits at 16)
  const size_t w = static_cast<size_t>(image.width);
  out.reserve(kHeaderSize + w * static_cast<size_t>(image.height) * 3);
  for (int channel = 2; channel >= 0; --channel)  // red, green, blue
    for (int32_t y = 0; y < image.height; ++y)
      for (int32_t x = 0; x < image.width; ++x) {
        uint8_t bgr[3];
        pixelBgr(image, x, y, bgr);
        out.push_back(bgr[channel]);
      }
  return true;
}

}  // namespace vlm::codecs
