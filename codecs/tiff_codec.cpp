// TIFF through libtiff, over bytes in memory. Reading goes through libtiff's
// RGBA interface, which knows every photometric kind and bit depth libtiff
// reads; writing makes an LZW-compressed 8-bit RGB file.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

// A file in memory for libtiff: reads from the given bytes, or writes into a
// growing buffer that libtiff may also seek in and read back.
struct MemoryFile {
  std::span<const uint8_t> input;
  std::vector<uint8_t>* output = nullptr;
  uint64_t position = 0;

  uint64_t size() const { return output ? output->size() : input.size(); }
  const uint8_t* data() const { return output ? output->data() : input.data(); }
};

tmsize_t readProc(thandle_t h, void* buffer, tmsize_t length) {
  auto* f = static_cast<MemoryFile*>(h);
  if (length <= 0 || f->position >= f->size()) return 0;
  const uint64_t n = std::min<uint64_t>(static_cast<uint64_t>(length), f->size() - f->position);
  std::memcpy(buffer, f->data() + f->position, n);
  f->position += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t h, void* buffer, tmsize_t length) {
  auto* f = static_cast<MemoryFile*>(h);
  if (!f->output || length < 0) return -1;
  const uint64_t end = f->position + static_cast<uint64_t>(length);
  if (end > f->output->size()) f->output->resize(end);
  std::memcpy(f->output->data() + f->position, buffer, static_cast<size_t>(length));
  f->position = end;
  return length;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = f->position;
  else if (whence == SEEK_END) base = f->size();
  const uint64_t target = base + offset;
  // Only a file being written may be sought past its end (it grows on writing).
  if (!f->output && target > f->size()) return static_cast<toff_t>(-1);
  if (target > (uint64_t{1} << 40)) return static_cast<toff_t>(-1);
  f->position = target;
  return target;
}

int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t h) { return static_cast<MemoryFile*>(h)->size(); }
int mapProc(thandle_t, void**, toff_t*) { return 0; }
void unmapProc(thandle_t, void*, toff_t) {}

// libtiff's messages go into the text of the failure instead of stderr.
int onError(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* text = static_cast<std::string*>(user);
  char buffer[512];
  std::vsnprintf(buffer, sizeof buffer, format, args);
  if (text->empty()) *text = buffer;
  return 1;
}
int onWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

TIFF* openMemory(MemoryFile& file, const char* mode, std::string& message) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, onError, &message);
  TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t{1} << 30);
  TIFF* tif = TIFFClientOpenExt("memory", mode, &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                                unmapProc, options);
  TIFFOpenOptionsFree(options);
  return tif;
}

}  // namespace

DecodeResult decodeTiff(std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  if (bytes.size() < 8 || (std::memcmp(bytes.data(), "II*\0", 4) != 0 && std::memcmp(bytes.data(), "MM\0*", 4) != 0 &&
                           std::memcmp(bytes.data(), "II+\0", 4) != 0 && std::memcmp(bytes.data(), "MM\0+", 4) != 0))
    return decodeFailure(DecodeStatus::NotAnImage, "not a TIFF file");
  MemoryFile file;
  file.input = bytes;
  std::string message;
  TIFF* tif = openMemory(file, "rm", message);
  if (!tif) return decodeFailure(DecodeStatus::BadImage, "TIFF: " + (message.empty() ? "cannot be read" : message));
  uint32_t width = 0, height = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  DecodeResult result;
  char why[1024] = "";
  if (!TIFFRGBAImageOK(tif, why)) {
    TIFFClose(tif);
    return decodeFailure(DecodeStatus::BadImage, std::string("TIFF: ") + why);
  }
  if (!allocateImage(result.image, width, height, limits, result)) {
    TIFFClose(tif);
    return result;
  }
  std::vector<uint32_t> raster;
  try {
    raster.resize(static_cast<size_t>(width) * height);
  } catch (const std::bad_alloc&) {
    TIFFClose(tif);
    return decodeFailure(DecodeStatus::OutOfMemory, "not enough memory for the image");
  }
  // Rows come bottom row first, each pixel packed as A, B, G, R from the top byte.
  const int ok = TIFFReadRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_BOTLEFT, 0);
  TIFFClose(tif);
  if (!ok) return decodeFailure(DecodeStatus::BadImage, "TIFF: " + (message.empty() ? "the pixels cannot be read" : message));
  for (size_t i = 0; i < raster.size(); ++i) {
    uint8_t* p = result.image.pixels.data() + i * 3;
    p[0] = static_cast<uint8_t>(TIFFGetB(raster[i]));
    p[1] = static_cast<uint8_t>(TIFFGetG(raster[i]));
    p[2] = static_cast<uint8_t>(TIFFGetR(raster[i]));
  }
  result.status = DecodeStatus::Ok;
  return result;
}

bool encodeTiff(const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  if (!validView(image, error)) return false;
  out.clear();
  MemoryFile file;
  file.output = &out;
  std::string message;
  TIFF* tif = openMemory(file, "w", message);
  if (!tif) {
    error = "TIFF: " + (message.empty() ? std::string("cannot be written") : message);
    return false;
  }
  const uint32_t w = static_cast<uint32_t>(image.width), h = static_cast<uint32_t>(image.height);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
  std::vector<uint8_t> line(static_cast<size_t>(w) * 3);
  bool ok = true;
  for (uint32_t row = 0; ok && row < h; ++row) {
    const int32_t y = static_cast<int32_t>(h - 1 - row);
    for (uint32_t x = 0; x < w; ++x) {
      uint8_t bgr[3];
      pixelBgr(image, static_cast<int32_t>(x), y, bgr);
      line[x * 3] = bgr[2], line[x * 3 + 1] = bgr[1], line[x * 3 + 2] = bgr[0];
    }
    ok = TIFFWriteScanline(tif, line.data(), row, 0) >= 0;
  }
  TIFFClose(tif);  // writes the directory
  if (!ok || !message.empty()) {
    error = "TIFF: " + (message.empty() ? std::string("the pixels cannot be written") : message);
    return false;
  }
  return true;
}

}  // namespace vlm::codecs
