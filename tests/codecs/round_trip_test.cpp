// Every writer's file read back by our readers: pixel-exact for the lossless
// formats, close for JPEG; both channel orders and padded rows as GL gives them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "codecs/codec_set.h"
#include "codecs/image_file.h"
#include "support/test_images.h"

namespace vlm::codecs {
namespace {

struct Format {
  ImageType type;
  const char* extension;
  bool lossless;
};

const Format kFormats[] = {
    {IMAGE_BMP, "bmp", true},  {IMAGE_PCX, "pcx", true},   {IMAGE_TARGA, "tga", true}, {IMAGE_RGB, "rgb", true},
    {IMAGE_TIFF, "tif", true}, {IMAGE_PNG, "png", true},   {IMAGE_JPEG, "jpg", false}, {IMAGE_GIF, "gif", false},
};

// The picture as GL reads it back: rows padded to 4 bytes, in the given order.
struct GlRows {
  std::vector<uint8_t> bytes;
  ImageView view;
};

GlRows glRows(const Image& image, ChannelOrder order) {
  GlRows g;
  const size_t stride = (image.stride() + 3) / 4 * 4;
  g.bytes.assign(stride * static_cast<size_t>(image.height), 0xEE);  // padding that must never show
  for (int32_t y = 0; y < image.height; ++y)
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* s = image.row(y) + static_cast<size_t>(x) * 3;
      uint8_t* d = g.bytes.data() + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
      if (order == ChannelOrder::BGR) d[0] = s[0], d[1] = s[1], d[2] = s[2];
      else d[0] = s[2], d[1] = s[1], d[2] = s[0];
    }
  g.view = ImageView{image.width, image.height, stride, order, g.bytes.data()};
  return g;
}

class RoundTrip : public ::testing::TestWithParam<Format> {};

TEST_P(RoundTrip, WrittenThenReadGivesThePicture) {
  const Format f = GetParam();
  // An odd width pads every row; GIF keeps its colours exactly only up to 256.
  const Image source = f.type == IMAGE_GIF ? test::paletteImage(37, 23, 200) : test::patternImage(37, 23);
  for (ChannelOrder order : {ChannelOrder::BGR, ChannelOrder::RGB}) {
    const GlRows rows = glRows(source, order);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(encodeImage(f.type, rows.view, bytes, error)) << f.extension << ": " << error;
    const DecodeResult back = decodeImageBytes(bytes, f.type);
    ASSERT_TRUE(back.ok()) << f.extension << ": " << back.detail;
    std::string where;
    if (f.lossless || f.type == IMAGE_GIF)
      EXPECT_TRUE(test::samePixels(source, back.image, where)) << f.extension << ": " << where;
    else
      EXPECT_GT(test::psnr(source, back.image), 30.0) << f.extension;
  }
}

TEST_P(RoundTrip, OnePixelAndOneRowPictures) {
  const Format f = GetParam();
  for (auto [w, h] : {std::pair{1, 1}, std::pair{64, 1}, std::pair{1, 9}}) {
    const Image source = test::paletteImage(w, h, 5);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(encodeImage(f.type, viewOf(source), bytes, error)) << error;
    const DecodeResult back = decodeImageBytes(bytes, f.type);
    ASSERT_TRUE(back.ok()) << f.extension << " " << w << "x" << h << ": " << back.detail;
    EXPECT_EQ(back.image.width, w);
    EXPECT_EQ(back.image.height, h);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.extension); });

TEST(ImageFile, WritesTheFormatItsNameGivesAndReadsItBack) {
  const auto dir = test::freshTestFolder("vlm-codecs");
  const Image source = test::patternImage(20, 10);
  for (const char* name : {"a.BMP", "b.pcx", "c.tga", "d.sgi", "e.tiff", "f.png", "g.jpeg"}) {
    std::string error;
    const std::string path = (dir / name).string();
    ASSERT_TRUE(writeImageFile(path, viewOf(source), error)) << name << ": " << error;
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    const DecodeResult back = decodeImageFile(path);
    ASSERT_TRUE(back.ok()) << name << ": " << back.detail;
    EXPECT_EQ(back.image.width, 20);
  }
  const std::vector<uint8_t> head = test::readBytes(dir / "e.tiff");
  ASSERT_GE(head.size(), 4u);
  EXPECT_TRUE(head[0] == 'I' || head[0] == 'M') << "the name, not a default, picks the format";
  std::filesystem::remove_all(dir);
}

TEST(ImageFile, ANameOfNoImageTypeWritesNothing) {
  const auto dir = test::freshTestFolder("vlm-codecs");
  std::string error;
  EXPECT_FALSE(writeImageFile((dir / "picture.doc").string(), viewOf(test::patternImage(4, 4)), error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  std::filesystem::remove_all(dir);
}

TEST(ImageFile, AFailedWriteLeavesNoPartAndKeepsTheEarlierFile) {
  const auto dir = test::freshTestFolder("vlm-codecs");
  const auto path = dir / "keep.bmp";
  { std::ofstream(path) << "earlier"; }
  // A folder in the way of the partial file makes the write fail.
  std::filesystem::create_directory(dir / "keep.bmp.part");
  std::string error;
  EXPECT_FALSE(writeImageFile(path.string(), viewOf(test::patternImage(4, 4)), error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::readBytes(path).size(), 7u) << "the earlier file is untouched";
  std::filesystem::remove_all(dir);
}

TEST(ImageFile, AnUnwritableFolderIsAFailureWithAReason) {
  std::string error;
  EXPECT_FALSE(writeImageFile("/nonexistent-folder/x.bmp", viewOf(test::patternImage(4, 4)), error));
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

TEST(ImageFile, FoldersAndMissingFilesCannotBeOpened) {
  const auto dir = test::freshTestFolder("vlm-codecs");
  std::filesystem::create_directory(dir / "folder.bmp");
  EXPECT_EQ(decodeImageFile((dir / "folder.bmp").string()).status, DecodeStatus::CannotOpen);
  EXPECT_EQ(decodeImageFile((dir / "missing.bmp").string()).status, DecodeStatus::CannotOpen);
  { std::ofstream(dir / "notes.txt") << "just text"; }
  EXPECT_EQ(decodeImageFile((dir / "notes.txt").string()).status, DecodeStatus::NotAnImage);
  std::filesystem::remove_all(dir);
}

TEST(ImageFile, TheContentDecidesOverAWrongName) {
  const auto dir = test::freshTestFolder("vlm-codecs");
  const Image source = test::patternImage(9, 7);
  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(encodePng(viewOf(source), png, error));
  { std::ofstream(dir / "really-a-png.jpg", std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size()); }
  const DecodeResult back = decodeImageFile((dir / "really-a-png.jpg").string());
  ASSERT_TRUE(back.ok()) << back.detail;
  std::string where;
  EXPECT_TRUE(test::samePixels(source, back.image, where)) << where;
  std::filesystem::remove_all(dir);
}

TEST(ImageFile, AnEmptyPictureIsNotWritten) {
  std::vector<uint8_t> out;
  std::string error;
  const uint8_t pixel[3] = {0, 0, 0};
  EXPECT_FALSE(encodeBmp(ImageView{0, 5, 0, ChannelOrder::BGR, pixel}, out, error));
  EXPECT_FALSE(encodeBmp(ImageView{2, 2, 3, ChannelOrder::BGR, pixel}, out, error)) << "rows shorter than the width";
}

}  // namespace
}  // namespace vlm::codecs
