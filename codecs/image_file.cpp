#include "codecs/image_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "codecs/codec_set.h"

namespace vlm::codecs {
namespace {

DecodeResult decodeAs(ImageType type, std::span<const uint8_t> bytes, const DecodeLimits& limits) {
  switch (type) {
    case IMAGE_BMP: return decodeBmp(bytes, limits);
    case IMAGE_JPEG: return decodeJpeg(bytes, limits);
    case IMAGE_GIF: return decodeGif(bytes, limits);
    case IMAGE_RGB: return decodeSgi(bytes, limits);
    case IMAGE_TIFF: return decodeTiff(bytes, limits);
    case IMAGE_TARGA: return decodeTarga(bytes, limits);
    case IMAGE_PCX: return decodePcx(bytes, limits);
    case IMAGE_PNG: return decodePng(bytes, limits);
    default: return decodeFailure(DecodeStatus::NotAnImage, "not an image file");
  }
}

}  // namespace

DecodeResult decodeImageBytes(std::span<const uint8_t> bytes, ImageType nameType, const DecodeLimits& limits) {
  const ImageType contentType = imageTypeOfContent(bytes.first(std::min<size_t>(bytes.size(), 16)));
  DecodeResult first;
  if (contentType != IMAGE_NONE) {
    first = decodeAs(contentType, bytes, limits);
    if (first.ok() || nameType == contentType || nameType == IMAGE_NONE) return first;
  }
  DecodeResult second = decodeAs(nameType, bytes, limits);
  if (second.ok() || contentType == IMAGE_NONE) return second;
  return first;  // what the signature's reader said is the better reason
}

DecodeResult decodeImageFile(const std::string& path, const DecodeLimits& limits) {
  std::error_code ec;
  const std::filesystem::path p(path);
  if (std::filesystem::is_directory(p, ec)) return decodeFailure(DecodeStatus::CannotOpen, path + " is a folder");
  std::ifstream in(p, std::ios::binary);
  if (!in) return decodeFailure(DecodeStatus::CannotOpen, "cannot open " + path + ": " + std::strerror(errno));
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0) return decodeFailure(DecodeStatus::CannotOpen, "cannot read " + path);
  if (static_cast<uint64_t>(size) > kMaxImageFileBytes)
    return decodeFailure(DecodeStatus::TooLarge, path + " is too large to be an image we can load");
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return decodeFailure(DecodeStatus::OutOfMemory, "not enough memory to read " + path);
  }
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
    return decodeFailure(DecodeStatus::CannotOpen, "cannot read " + path);
  return decodeImageBytes(bytes, imageTypeOfName(path), limits);
}

bool encodeImage(ImageType type, const ImageView& image, std::vector<uint8_t>& out, std::string& error) {
  switch (type) {
    case IMAGE_BMP: return encodeBmp(image, out, error);
    case IMAGE_JPEG: return encodeJpeg(image, kJpegQuality, out, error);
    case IMAGE_GIF: return encodeGif(image, out, error);
    case IMAGE_RGB: return encodeSgi(image, out, error);
    case IMAGE_TIFF: return encodeTiff(image, out, error);
    case IMAGE_TARGA: return encodeTarga(image, out, error);
    case IMAGE_PCX: return encodePcx(image, out, error);
    case IMAGE_PNG: return encodePng(image, out, error);
    default: error = "the file name has no image type"; return false;
  }
}

bool writeImageFile(const std::string& path, const ImageView& image, std::string& error) {
  std::vector<uint8_t> bytes;
  try {
    if (!encodeImage(imageTypeOfName(path), image, bytes, error)) return false;
  } catch (const std::bad_alloc&) {
    error = "not enough memory for the image file";
    return false;
  }
  const std::string partial = path + ".part";
  std::FILE* f = std::fopen(partial.c_str(), "wb");
  if (!f) {
    error = std::string("cannot create the file: ") + std::strerror(errno);
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  int savedErrno = errno;
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (ok && std::rename(partial.c_str(), path.c_str()) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    std::remove(partial.c_str());
    error = std::string("cannot write the file: ") + std::strerror(savedErrno);
  }
  return ok;
}

}  // namespace vlm::codecs
