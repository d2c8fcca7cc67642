#include "codecs/image_types.h"

#include <cctype>
#include <cstring>
#include <string>

namespace vlm::codecs {
namespace {

struct Extension {
  const char* text;
  ImageType type;
};

constexpr Extension kExtensions[] = {
    {"bmp", IMAGE_BMP},  {"dib", IMAGE_BMP},   {"rle", IMAGE_BMP},  {"jpg", IMAGE_JPEG}, {"jpeg", IMAGE_JPEG},
    {"jpe", IMAGE_JPEG}, {"jfif", IMAGE_JPEG}, {"gif", IMAGE_GIF},  {"rgb", IMAGE_RGB},  {"rgba", IMAGE_RGB},
    {"sgi", IMAGE_RGB},  {"tif", IMAGE_TIFF},  {"tiff", IMAGE_TIFF}, {"tga", IMAGE_TARGA}, {"pcx", IMAGE_PCX},
    {"pcc", IMAGE_PCX},  {"png", IMAGE_PNG},
};

}  // namespace

ImageType imageTypeOfName(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return IMAGE_NONE;
  std::string ext(name.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Extension& e : kExtensions)
    if (ext == e.text) return e.type;
  return IMAGE_NONE;
}

const char* defaultExtension(ImageType type) {
  switch (type) {
    case IMAGE_JPEG: return ".jpg";
    case IMAGE_GIF: return ".gif";
    case IMAGE_RGB: return ".rgb";
    case IMAGE_TIFF: return ".tif";
    case IMAGE_TARGA: return ".tga";
    case IMAGE_PCX: return ".pcx";
    case IMAGE_PNG: return ".png";
    default: return ".bmp";
  }
}

ImageType imageTypeOfContent(std::span<const uint8_t> h) {
  auto starts = [&h](const char* magic, size_t n) {
    return h.size() >= n && std::memcmp(h.data(), magic, n) == 0;
  };
  if (starts("BM", 2)) return IMAGE_BMP;
  if (starts("\xFF\xD8\xFF", 3)) return IMAGE_JPEG;
  if (starts("GIF87a", 6) || starts("GIF89a", 6)) return IMAGE_GIF;
  if (starts("\x89PNG\r\n\x1A\n", 8)) return IMAGE_PNG;
  if (starts("II*\0", 4) || starts("MM\0*", 4)) return IMAGE_TIFF;
  if (starts("\x01\xDA", 2)) return IMAGE_RGB;
  return IMAGE_NONE;
}

}  // namespace vlm::codecs
