// GIF through giflib. Reading stops at the first picture of the file (an
// animation's later frames are never decoded); writing keeps every colour
// when there are 256 or fewer and reduces them otherwise.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

struct MemoryInput {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

int readInput(GifFileType* gif, GifByteType* buffer, int length) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  if (length <= 0) return 0;
  const size_t n = std::min(static_cast<size_t>(length), in->bytes.size() - in->position);
  std::memcpy(buffer, in->bytes.data() + in->position, n);
  in->position += n;
  return static_cast<int>(n);
}

int writeOutput(GifFileType* gif, const GifByteType* buffer, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), buffer, buffer + length);
  return length;
}

std::string gifError(int code) {
  const char* text = GifErrorString(code);
  return std::string("GIF: ") + (text ? text : "unknown error");
}

// Skips an extension block and its sub-blocks.
bool skipExtension(GifFileType* gif) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
  while (block != nullptr)
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
  return true;
}

DecodeResult decodeFirstImage(GifFileType* gif, const DecodeLimits& limits) {
  while (true) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) != GIF_OK) return decodeFailure(DecodeStatus::BadImage, gifError(gif->Error));
    if (record == TERMINATE_RECORD_TYPE) return decodeFailure(DecodeStatus::BadImage, "the GIF file holds no picture");
    if (record == EXTENSION_RECORD_TYPE) {
      if (!skipExtension(gif)) return decodeFailure(DecodeStatus::BadImage, gifError(gif->Error));
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif) != GIF_OK) return decodeFailure(DecodeStatus::BadImage, gifError(gif->Error));
    const GifImageDesc& desc = gif->Image;
    DecodeResult result;
    if (!allocateImage(result.image, desc.Width, desc.Height, limits, result)) return result;
    Image& image = result.image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    std::vector<GifPixelType> line(static_cast<size_t>(image.width));
    // Interlaced pictures come in four passes over the rows.
    static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      const int start = desc.Interlace ? kStart[pass] : 0, step = desc.Interlace ? kStep[pass] : 1;
      for (int32_t fileRow = start; fileRow < image.height; fileRow += step) {
        if (DGifGetLine(gif, line.data(), image.width) != GIF_OK) {
          // A picture cut short keeps the lines it has.
          result.status = DecodeStatus::Ok;
          return result;
        }
        uint8_t* dst = image.row(image.height - 1 - fileRow);
        for (size_t x = 0; x < line.size(); ++x) {
          const int index = line[x];
          if (map && index < map->ColorCount) {
            const GifColorType& c = map->Colors[index];
            dst[x * 3] = c.Blue, dst[x * 3 + 1] = c.Green, dst[x * 3 + 2] = c.Red;
          } else if (!map) {
            dst[x * 3] = dst[x * 3 + 1] = dst[x * 3 + 2] = static_cast<uint8_t>(index);
          }
        }
      }
    }
    result.status = DecodeStatus::Ok;
    return result;
  }
}

}  // namespace

DecodeResult decodeGif(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  if (bytes.size() < 6 || (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0))
    return decodeFailure(DecodeStatus::NotAnImage, "not a GIF file");
  MemoryInput input{bytes, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&input, readInput, &error);
  if (!gif) return decodeFailure(DecodeStatus::BadImage, gifError(error));
  DecodeResult result = decodeFirstImage(gif, limits);
  DGifCloseFile(gif, &error);
  return result;
}

bool encodeGif(const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  if (image.width > 65535 || image.height > 65535) {
    error = "the image is too large for a GIF file";
    return false;
  }
  const size_t w = static_cast<size_t>(image.width), h = static_cast<size_t>(image.height);
  // Rows top first, as GIF stores them, with one palette index a pixel.
  std::vector<GifByteType> indexes(w * h);
  std::vector<GifColorType> colours;
  std::unordered_map<uint32_t, uint8_t> seen;
  bool exact = true;
  for (size_t y = 0; y < h && exact; ++y)
    for (size_t x = 0; x < w; ++x) {
      uint8_t bgr[3];
      pixelBgr(image, static_cast<int32_t>(x), static_cast<int32_t>(h - 1 - y), bgr);
      const uint32_t key = (uint32_t{bgr[2]} << 16) | (uint32_t{bgr[1]} << 8) | bgr[0];
      auto it = seen.find(key);
      if (it == seen.end()) {
        if (colours.size() == 256) {
          exact = false;
          break;
        }
        it = seen.emplace(key, static_cast<uint8_t>(colours.size())).first;
        colours.push_back(GifColorType{bgr[2], bgr[1], bgr[0]});
      }
      indexes[y * w + x] = it->second;
    }
  if (!exact) {
    std::vector<GifByteType> red(w * h), green(w * h), blue(w * h);
    for (size_t y = 0; y < h; ++y)
      for (size_t x = 0; x < w; ++x) {
        uint8_t bgr[3];
        pixelBgr(image, static_cast<int32_t>(x), static_cast<int32_t>(h - 1 - y), bgr);
        blue[y * w + x] = bgr[0], green[y * w + x] = bgr[1], red[y * w + x] = bgr[2];
      }
    int count = 256;
    colours.assign(256, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &count, red.data(), green.data(),
                          blue.data(), indexes.data(), colours.data()) != GIF_OK) {
      error = "GIF: the colours could not be reduced to 256";
      return false;
    }
    colours.resize(static_cast<size_t>(count));
  }
  // A GIF colour table has a power-of-two size of at least 2.
  size_t tableSize = 2;
  while (tableSize < colours.size()) tableSize *= 2;
  colours.resize(tableSize, GifColorType{0, 0, 0});
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(tableSize), colours.data());
  if (!map) {
    error = "GIF: not enough memory";
    return false;
  }
  out.clear();
  int code = 0;
  GifFileType* gif = EGifOpen(&out, writeOutput, &code);
  bool ok = gif != nullptr;
  if (ok) {
    EGifSetGifVersion(gif, true);
    ok = EGifPutScreenDesc(gif, image.width, image.height, map->BitsPerPixel, 0, map) == GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    for (size_t y = 0; ok && y < h; ++y) ok = EGifPutLine(gif, indexes.data() + y * w, image.width) == GIF_OK;
    if (!ok) code = gif->Error;
    int closeCode = 0;
    if (EGifCloseFile(gif, &closeCode) != GIF_OK && ok) {
      ok = false;
      code = closeCode;
    }
  }
  GifFreeMapObject(map);
  if (!ok) error = gifError(code);
  return ok;
}

}  // namespace vlm::codecs
