// The image type of a file name, and of a file's first bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/image_types.h"

namespace vlm::codecs {
namespace {

TEST(ImageTypes, EveryExtensionOfTheTableWithoutRegardToCase) {
  const std::vector<std::pair<std::string, ImageType>> table = {
      {"bmp", IMAGE_BMP},  {"dib", IMAGE_BMP},   {"rle", IMAGE_BMP},   {"jpg", IMAGE_JPEG},  {"jpeg", IMAGE_JPEG},
      {"jpe", IMAGE_JPEG}, {"jfif", IMAGE_JPEG}, {"gif", IMAGE_GIF},   {"rgb", IMAGE_RGB},   {"rgba", IMAGE_RGB},
      {"sgi", IMAGE_RGB},  {"tif", IMAGE_TIFF},  {"tiff", IMAGE_TIFF}, {"tga", IMAGE_TARGA}, {"pcx", IMAGE_PCX},
      {"pcc", IMAGE_PCX},  {"png", IMAGE_PNG},
  };
  for (const auto& [ext, type] : table) {
    EXPECT_EQ(imageTypeOfName("/data/pictures/a." + ext), type) << ext;
    std::string upper = ext;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(imageTypeOfName("A." + upper), type) << upper;
  }
  EXPECT_EQ(IMAGE_BMP, 3);
  EXPECT_EQ(IMAGE_PCX, 9);
}

TEST(ImageTypes, NamesThatAreNoImage) {
  EXPECT_EQ(imageTypeOfName("report.htm"), IMAGE_NONE);
  EXPECT_EQ(imageTypeOfName("picture"), IMAGE_NONE);
  EXPECT_EQ(imageTypeOfName("picture."), IMAGE_NONE);
  EXPECT_EQ(imageTypeOfName(""), IMAGE_NONE);
  EXPECT_EQ(imageTypeOfName("/home/me/shots.bmp/picture"), IMAGE_NONE) << "a dot in a folder name is no extension";
  EXPECT_EQ(imageTypeOfName("x.jpg.txt"), IMAGE_NONE) << "only the last extension counts";
  EXPECT_EQ(imageTypeOfName("x.txt.jpg"), IMAGE_JPEG);
}

TEST(ImageTypes, DefaultExtensions) {
  EXPECT_STREQ(defaultExtension(IMAGE_JPEG), ".jpg");
  EXPECT_STREQ(defaultExtension(IMAGE_RGB), ".rgb");
  EXPECT_STREQ(defaultExtension(IMAGE_TIFF), ".tif");
  EXPECT_STREQ(defaultExtension(IMAGE_TARGA), ".tga");
  EXPECT_STREQ(defaultExtension(IMAGE_PCX), ".pcx");
  EXPECT_STREQ(defaultExtension(IMAGE_BMP), ".bmp");
  EXPECT_STREQ(defaultExtension(IMAGE_NONE), ".bmp");
}

TEST(ImageTypes, Signatures) {
  auto of = [](const std::string& s) {
    return imageTypeOfContent(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
  };
  EXPECT_EQ(of("BM...."), IMAGE_BMP);
  EXPECT_EQ(of("\xFF\xD8\xFF\xE0"), IMAGE_JPEG);
  EXPECT_EQ(of("GIF89a"), IMAGE_GIF);
  EXPECT_EQ(of("GIF87a"), IMAGE_GIF);
  EXPECT_EQ(of("\x89PNG\r\n\x1A\n"), IMAGE_PNG);
  EXPECT_EQ(of(std::string("II*\0", 4)), IMAGE_TIFF);
  EXPECT_EQ(of(std::string("MM\0*", 4)), IMAGE_TIFF);
  EXPECT_EQ(of("\x01\xDA\x01\x01"), IMAGE_RGB);
  EXPECT_EQ(of("\x0A\x05\x01\x08"), IMAGE_NONE) << "PCX has no signature to trust";
  EXPECT_EQ(of("B"), IMAGE_NONE);
  EXPECT_EQ(of(""), IMAGE_NONE);
}

}  // namespace
}  // namespace vlm::codecs
