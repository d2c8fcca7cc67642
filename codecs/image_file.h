#pragma once
// Image files: the format from the file's first bytes or, for the formats
// without a signature, from its name; the first picture of the file decoded;
// a 24-bit picture written in the format its name gives.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codecs/image.h"
#include "codecs/image_types.h"

namespace vlm::codecs {

// Files larger than this are refused before they are read.
constexpr uint64_t kMaxImageFileBytes = uint64_t{1} << 30;

// Decodes bytes: the format their signature declares first, then the format of
// `nameType` when that differs; the first that decodes wins.
DecodeResult decodeImageBytes(std::span<const uint8_t> bytes, ImageType nameType, const DecodeLimits& limits = {});

// Reads and decodes a file. A directory, a missing or unreadable file gives
// CannotOpen; a name of no image type whose content no reader knows gives
// NotAnImage.
DecodeResult decodeImageFile(const std::string& path, const DecodeLimits& limits = {});

// Encodes in the format of `type` (IMAGE_NONE has none: false).
bool encodeImage(ImageType type, const ImageView& image, std::vector<uint8_t>& out, std::string& error);

// Writes the picture to `path` in the format of its name. The file appears
// whole or not at all: it is written beside the target and renamed over it,
// and a write that fails leaves no partial file (an earlier file of that name
// stays as it was).
bool writeImageFile(const std::string& path, const ImageView& image, std::string& error);

// The JPEG quality of saved images.
constexpr int kJpegQuality = 90;

}  // namespace vlm::codecs
