#pragma once
// The readers and writers of each format, over bytes in memory. The file
// level (codecs/image_file.h) picks one by name and content.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codecs/image.h"

namespace vlm::codecs {

// Readers: the first picture of the bytes, as B, G, R rows from the bottom up;
// palette pictures come out expanded.
DecodeResult decodeBmp(std::span<const uint8_t> bytes, const DecodeLimits& limits);
DecodeResult decodePcx(std::span<const uint8_t> bytes, const DecodeLimits& limits);
DecodeResult decodeTarga(std::span<const uint8_t> bytes, const DecodeLimits& limits);
DecodeResult decodeSgi(std::span<const uint8_t> bytes, const DecodeLimits& limits);
DecodeResult decodeJpeg(std::span<const uint8_t> bytes, const DecodeLimits& limits);
DecodeResult decodePng(std::span<const uint8_t> bytes, const DecodeLimits& limits);
DecodeResult decodeGif(std::span<const uint8_t> bytes, const DecodeLimits& limits);
DecodeResult decodeTiff(std::span<const uint8_t> bytes, const DecodeLimits& limits);

// Writers of a 24-bit picture; false with the reason in `error`.
bool encodeBmp(const ImageView& image, std::vector<uint8_t>& out, std::string& error);
bool encodePcx(const ImageView& image, std::vector<uint8_t>& out, std::string& error);
bool encodeTarga(const ImageView& image, std::vector<uint8_t>& out, std::string& error);
bool encodeSgi(const ImageView& image, std::vector<uint8_t>& out, std::string& error);
bool encodeJpeg(const ImageView& image, int quality, std::vector<uint8_t>& out, std::string& error);
bool encodePng(const ImageView& image, std::vector<uint8_t>& out, std::string& error);
bool encodeGif(const ImageView& image, std::vector<uint8_t>& out, std::string& error);
bool encodeTiff(const ImageView& image, std::vector<uint8_t>& out, std::string& error);

// One pixel of a view as B, G, R.
inline void pixelBgr(const ImageView& v, int32_t x, int32_t y, uint8_t out[3]) {
  const uint8_t* p = v.row(y) + static_cast<size_t>(x) * 3;
  if (v.order == ChannelOrder::BGR) {
    out[0] = p[0], out[1] = p[1], out[2] = p[2];
  } else {
    out[0] = p[2], out[1] = p[1], out[2] = p[0];
  }
}

// Whether a view can be written: a positive size, pixels and rows long enough.
bool validView(const ImageView& image, std::string& error);

}  // namespace vlm::codecs
