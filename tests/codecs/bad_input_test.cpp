// Damaged, cut short and hostile files: every reader refuses or keeps what it
// could decode, never reads outside the bytes and never trusts a header's size.
#include <gtest/gtest.h>

#include <cstring>

#include "codecs/codec_set.h"
#include "codecs/image_file.h"
#include "support/test_images.h"

namespace vlm::codecs {
namespace {

std::vector<uint8_t> encoded(ImageType type, const Image& image) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(encodeImage(type, viewOf(image), bytes, error)) << error;
  return bytes;
}

const ImageType kTypes[] = {IMAGE_BMP, IMAGE_PCX, IMAGE_TARGA, IMAGE_RGB, IMAGE_TIFF, IMAGE_PNG, IMAGE_JPEG, IMAGE_GIF};

TEST(BadInput, EveryCutOfAValidFileIsSafe) {
  const Image source = test::patternImage(13, 7);
  for (ImageType type : kTypes) {
    const std::vector<uint8_t> whole = encoded(type, source);
    for (size_t n = 0; n < whole.size(); n += (n < 200 ? 1 : 17)) {
      // A copy of exactly n bytes, so that a read past its end is caught by the sanitizers.
      std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
      const DecodeResult r = decodeImageBytes(cut, type);
      if (r.ok()) {
        EXPECT_EQ(r.image.width, 13) << type << " cut at " << n;
        EXPECT_EQ(r.image.pixels.size(), 13u * 7u * 3u);
      }
    }
  }
}

TEST(BadInput, FlippedBytesAreSafe) {
  const Image source = test::patternImage(11, 5);
  for (ImageType type : kTypes) {
    const std::vector<uint8_t> whole = encoded(type, source);
    for (size_t i = 0; i < std::min<size_t>(whole.size(), 600); ++i)
      for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0x80)}) {
        std::vector<uint8_t> bad = whole;
        bad[i] = value;
        const DecodeResult r = decodeImageBytes(bad, type, DecodeLimits{4096, 1 << 20});
        if (r.ok()) {
          EXPECT_EQ(r.image.pixels.size(), size_t(r.image.width) * size_t(r.image.height) * 3);
        }
      }
  }
}

void putLe16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void putLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  putLe16(b, at, v & 0xFFFF), putLe16(b, at + 2, v >> 16);
}

TEST(BadInput, HugeSizesAreRefusedBeforeAnythingIsAllocated) {
  const Image small = test::patternImage(4, 4);
  std::vector<uint8_t> bmp = encoded(IMAGE_BMP, small);
  putLe32(bmp, 18, 100000);
  putLe32(bmp, 22, 100000);
  EXPECT_EQ(decodeBmp(bmp, {}).status, DecodeStatus::TooLarge);

  std::vector<uint8_t> tga = encoded(IMAGE_TARGA, small);
  putLe16(tga, 12, 65535);
  putLe16(tga, 14, 65535);
  EXPECT_EQ(decodeTarga(tga, {}).status, DecodeStatus::TooLarge);

  std::vector<uint8_t> pcx = encoded(IMAGE_PCX, small);
  putLe16(pcx, 8, 60000);
  putLe16(pcx, 10, 60000);
  putLe16(pcx, 66, 60002);
  EXPECT_EQ(decodePcx(pcx, {}).status, DecodeStatus::TooLarge);

  std::vector<uint8_t> sgi = encoded(IMAGE_RGB, small);
  sgi[6] = sgi[7] = sgi[8] = sgi[9] = 0xFF;
  EXPECT_EQ(decodeSgi(sgi, {}).status, DecodeStatus::TooLarge);

  // Within the limits, but a raw picture larger than the file is refused.
  std::vector<uint8_t> tgaBig = encoded(IMAGE_TARGA, small);
  putLe16(tgaBig, 12, 2000);
  putLe16(tgaBig, 14, 2000);
  EXPECT_EQ(decodeTarga(tgaBig, {}).status, DecodeStatus::BadImage);
  std::vector<uint8_t> bmpBig = encoded(IMAGE_BMP, small);
  putLe32(bmpBig, 18, 2000);
  EXPECT_EQ(decodeBmp(bmpBig, {}).status, DecodeStatus::BadImage);
}

TEST(BadInput, ZeroSizedPicturesAreRefused) {
  std::vector<uint8_t> bmp = encoded(IMAGE_BMP, test::patternImage(4, 4));
  putLe32(bmp, 18, 0);
  EXPECT_FALSE(decodeBmp(bmp, {}).ok());
  std::vector<uint8_t> tga = encoded(IMAGE_TARGA, test::patternImage(4, 4));
  putLe16(tga, 14, 0);
  EXPECT_FALSE(decodeTarga(tga, {}).ok());
}

// A 2 x 2 RLE8 bitmap whose runs and jumps point outside the picture.
std::vector<uint8_t> rle8(const std::vector<uint8_t>& codes, uint32_t colours = 2) {
  std::vector<uint8_t> b(54 + colours * 4, 0);
  b[0] = 'B', b[1] = 'M';
  putLe32(b, 10, static_cast<uint32_t>(b.size()));
  putLe32(b, 14, 40);
  putLe32(b, 18, 2);
  putLe32(b, 22, 2);
  putLe16(b, 26, 1);
  putLe16(b, 28, 8);
  putLe32(b, 30, 1);
  putLe32(b, 46, colours);
  for (uint32_t i = 0; i < colours; ++i) b[54 + i * 4 + 2] = static_cast<uint8_t>(100 + i);  // red
  for (uint8_t c : codes) b.push_back(c);
  return b;
}

TEST(BadInput, RunLengthBitmapsStayInsideThePicture) {
  // A run of 255 pixels in a 2-wide row, a jump far beyond the picture, a
  // literal run longer than the row, an index past the palette.
  const DecodeResult r = decodeBmp(rle8({255, 1, 0, 2, 200, 200, 0, 0, 0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1}), {});
  ASSERT_TRUE(r.ok()) << r.detail;
  EXPECT_EQ(r.image.row(0)[2], 101) << "the run fills the first row";
  EXPECT_EQ(r.image.row(0)[5], 101);
  const DecodeResult past = decodeBmp(rle8({2, 7, 0, 1}), {});
  ASSERT_TRUE(past.ok());
  EXPECT_EQ(past.image.row(0)[2], 0) << "an index past the palette stays black";
  const DecodeResult open = decodeBmp(rle8({0, 5, 1}), {});  // a literal run cut short
  EXPECT_TRUE(open.ok());
}

TEST(BadInput, Rle8ReadsRowsFromTheBottomUp) {
  const DecodeResult r = decodeBmp(rle8({2, 0, 0, 0, 2, 1, 0, 1}), {});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image.row(0)[2], 100) << "the first row of the file is the bottom row";
  EXPECT_EQ(r.image.row(1)[2], 101);
}

TEST(BadInput, TextIsNoImageOfAnyType) {
  const std::string text = "name\tvalue\nAlice\t3\n";
  const std::span bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  for (ImageType type : kTypes) EXPECT_FALSE(decodeImageBytes(bytes, type).ok()) << type;
  EXPECT_EQ(decodeImageBytes(bytes, IMAGE_NONE).status, DecodeStatus::NotAnImage);
}

}  // namespace
}  // namespace vlm::codecs
