// ZSoft PCX: 1-bit monochrome, 16-colour planar (1 bit x 4 planes, or 2 and
// 4 bits in one plane), 256-colour with the palette at the end, and 24-bit
// (three 8-bit planes, a fourth alpha plane ignored); run-length encoded or raw.
#include <algorithm>
#include <array>

#include "codecs/byte_reader.h"
#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

constexpr size_t kHeaderSize = 128;

// Decodes the next `count` bytes of the pixel stream; runs may cross lines.
class PcxStream {
 public:
  PcxStream(ByteReader& r, bool encoded) : r_(r), encoded_(encoded) {}
  uint8_t next() {
    if (!encoded_) return r_.u8();
    if (run_ == 0) {
      const uint8_t b = r_.u8();
      if ((b & 0xC0) == 0xC0) {
        run_ = b & 0x3F;
        value_ = r_.u8();
      } else {
        return b;
      }
      if (run_ == 0) return next();  // a run of nothing: skip it
    }
    --run_;
    return value_;
  }
  bool overrun() const { return r_.overrun(); }

 private:
  ByteReader& r_;
  bool encoded_;
  uint32_t run_ = 0;
  uint8_t value_ = 0;
};

void putRun(std::vector<uint8_t>& out, uint8_t value, uint32_t count) {
  while (count > 0) {
    const uint32_t n = std::min<uint32_t>(count, 63);
    if (n > 1 || (value & 0xC0) == 0xC0) out.push_back(static_cast<uint8_t>(0xC0 | n));
    out.push_back(value);
    count -= n;
  }
}

}  // namespace

DecodeResult decodePcx(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  ByteReader r(bytes);
  if (bytes.size() < kHeaderSize || r.u8() != 0x0A) return decodeFailure(DecodeStatus::NotAnImage, "not a PCX file");
  r.u8();  // version
  const uint8_t encoding = r.u8();
  const uint8_t bits = r.u8();
  const int64_t xMin = r.le16(), yMin = r.le16(), xMax = r.le16(), yMax = r.le16();
  r.skip(4);
  std::span<const uint8_t> egaPalette = r.take(48);
  r.skip(1);
  const uint32_t planes = r.u8();
  const size_t bytesPerLine = r.le16();
  if (encoding > 1) return decodeFailure(DecodeStatus::BadImage, "unknown PCX encoding");
  const bool mono = bits == 1 && planes == 1;
  const bool planar16 = bits == 1 && (planes == 2 || planes == 3 || planes == 4);
  const bool packed = (bits == 2 || bits == 4 || bits == 8) && planes == 1;
  const bool truecolour = bits == 8 && (planes == 3 || planes == 4);
  if (!mono && !planar16 && !packed && !truecolour)
    return decodeFailure(DecodeStatus::BadImage, "a PCX file of " + std::to_string(planes) + " planes of " +
                                                     std::to_string(bits) + " bits is not read");
  DecodeResult result;
  if (!allocateImage(result.image, xMax - xMin + 1, yMax - yMin + 1, limits, result)) return result;
  Image& image = result.image;
  if (bytesPerLine * 8 < static_cast<size_t>(image.width) * bits)
    return decodeFailure(DecodeStatus::BadImage, "the PCX line length is shorter than its width");

  std::array<std::array<uint8_t, 3>, 256> palette{};  // B, G, R
  if (mono) {
    palette[1] = {255, 255, 255};
  } else if (planar16 || bits == 2 || bits == 4) {
    for (size_t i = 0; i < 16; ++i)
      palette[i] = {egaPalette[i * 3 + 2], egaPalette[i * 3 + 1], egaPalette[i * 3]};
  } else if (packed) {
    // The 256-colour palette sits after the pixels, behind a 12.
    if (bytes.size() >= kHeaderSize + 769 && bytes[bytes.size() - 769] == 0x0C) {
      const uint8_t* p = bytes.data() + bytes.size() - 768;
      for (size_t i = 0; i < 256; ++i) palette[i] = {p[i * 3 + 2], p[i * 3 + 1], p[i * 3]};
    } else {
      for (size_t i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    }
  }

  r.seek(kHeaderSize);
  PcxStream stream(r, encoding == 1);
  std::vector<uint8_t> line(bytesPerLine * planes);
  for (int32_t fileRow = 0; fileRow < image.height; ++fileRow) {
    for (uint8_t& b : line) b = stream.next();
    if (stream.overrun()) {
      // Cut short: the rows read so far stay, the rest is black.
      break;
    }
    uint8_t* dst = image.row(image.height - 1 - fileRow);
    for (int32_t x = 0; x < image.width; ++x) {
      const size_t bx = static_cast<size_t>(x);
      uint8_t* px = dst + bx * 3;
      if (truecolour) {
        px[2] = line[bx];
        px[1] = line[bytesPerLine + bx];
        px[0] = line[2 * bytesPerLine + bx];
        continue;
      }
      uint32_t index = 0;
      if (planar16 || mono) {
        for (uint32_t p = 0; p < planes; ++p)
          index |= static_cast<uint32_t>((line[p * bytesPerLine + bx / 8] >> (7 - bx % 8)) & 1) << p;
      } else if (bits == 8) {
        index = line[bx];
      } else {
        const size_t perByte = 8 / bits;
        const uint32_t shift = static_cast<uint32_t>(8 - bits * (bx % perByte + 1));
        index = (line[bx / perByte] >> shift) & ((1u << bits) - 1);
      }
      std::copy_n(palette[index].data(), 3, px);
    }
  }
  result.status = DecodeStatus::Ok;
  return result;
}

bool encodePcx(const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  if (image.width > 65535 || image.height > 65535) {
    error = "the image is too large for a PCX file";
    return false;
  }
  const size_t bytesPerLine = (static_cast<size_t>(image.width) + 1) / 2 * 2;
  out.assign(kHeaderSize, 0);
  out[0] = 0x0A;
  out[1] = 5;
  out[2] = 1;
  out[3] = 8;
  auto le16 = [&out](size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  le16(8, static_cast<uint32_t>(image.width - 1));
  le16(10, static_cast<uint32_t>(image.height - 1));
  le16(12, 72);
  le16(14, 72);
  out[65] = 3;
  le16(66, static_cast<uint32_t>(bytesPerLine));
  le16(68, 1);
  std::vector<uint8_t> plane(bytesPerLine);
  for (int32_t y = image.height - 1; y >= 0; --y) {
    for (int channel = 2; channel >= 0; --channel) {  // red, green, blue planes
      for (int32_t x = 0; x < image.width; ++x) {
        uint8_t bgr[3];
        pixelBgr(image, x, y, bgr);
        plane[static_cast<size_t>(x)] = bgr[channel];
      }
      for (size_t i = 0; i < bytesPerLine;) {
        size_t j = i + 1;
        while (j < bytesPerLine && plane[j] == plane[i]) ++j;
        putRun(out, plane[i], static_cast<uint32_t>(j - i));
        i = j;
      }
    }
  }
  return true;
}

}  // namespace vlm::codecs
