#pragma once
// The image file types, told by a file name's extension (without regard to
// case) or by the first bytes of a file.
#include <cstdint>
#include <span>
#include <string_view>

namespace vlm::codecs {

enum ImageType : int32_t {
  IMAGE_NONE = 0,
  IMAGE_BMP = 3,
  IMAGE_JPEG = 4,
  IMAGE_GIF = 5,
  IMAGE_RGB = 6,
  IMAGE_TIFF = 7,
  IMAGE_TARGA = 8,
  IMAGE_PCX = 9,
  IMAGE_PNG = 10,
};

// The type of a file name: "bmp", "dib", "rle" BMP; "jpg", "jpeg", "jpe",
// "jfif" JPEG; "gif"; "rgb", "rgba", "sgi" RGB; "tif", "tiff"; "tga" Targa;
// "pcx", "pcc"; "png". Anything else, or no extension, is no image.
ImageType imageTypeOfName(std::string_view path);

// The extension a name of this type gets when it has none (".bmp" for any
// type without one of its own).
const char* defaultExtension(ImageType type);

// The type that the first bytes of a file declare, for the formats that carry
// a signature (BMP, JPEG, GIF, PNG, TIFF, SGI); IMAGE_NONE otherwise.
ImageType imageTypeOfContent(std::span<const uint8_t> head);

}  // namespace vlm::codecs
