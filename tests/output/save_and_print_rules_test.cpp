// The rules of the Save Image As dialog, the channel order per format and the
// printed picture's place on the page.
#include <gtest/gtest.h>

#include "output/image_output.h"

namespace vlm {
namespace {

using namespace codecs;

TEST(SaveImageDialog, TitleFiltersAndStart) {
  const platform::FileDialogRequest r = saveImageRequest("", "/home/me/models", IMAGE_BMP);
  EXPECT_EQ(r.caption, "Save Image As");
  EXPECT_EQ(r.directory, "/home/me/models");
  EXPECT_TRUE(r.save);
  EXPECT_TRUE(r.confirmOverwrite);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Bitmap Files (*.BMP)", "*.bmp;*.dib;*.rle"},
      {"PCX Files (*.PCX)", "*.pcx;*.pcc"},
      {"TIFF Files (*.TIF)", "*.tif;*.tiff"},
      {"JPEG Files (*.JPG)", "*.jpg;*.jpeg;*.jpe;*.jfif"},
      {"Targa Files (*.TGA)", "*.tga"},
      {"RGB Files (*.RGB)", "*.rgb;*.sgi"},
      {"PNG Files (*.PNG)", "*.png"},
      {"All Files", "*.*"},
  };
  ASSERT_EQ(r.filters.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(r.filters[i].label, expected[i].first);
    EXPECT_EQ(r.filters[i].patterns, expected[i].second);
  }
  EXPECT_EQ(r.filterIndex, 0);
  EXPECT_EQ(r.initialName, "Velmora.bmp");
}

TEST(SaveImageDialog, TheInitialNameCarriesTheLastTypeSaved) {
  EXPECT_EQ(initialImageName("Cars", IMAGE_JPEG), "Cars.jpg");
  EXPECT_EQ(initialImageName("Cars", IMAGE_RGB), "Cars.rgb");
  EXPECT_EQ(initialImageName("Cars", IMAGE_TIFF), "Cars.tif");
  EXPECT_EQ(initialImageName("Cars", IMAGE_TARGA), "Cars.tga");
  EXPECT_EQ(initialImageName("Cars", IMAGE_PCX), "Cars.pcx");
  EXPECT_EQ(initialImageName("Cars", IMAGE_GIF), "Cars.gif");
  EXPECT_EQ(saveImageRequest("Cars", "", IMAGE_JPEG).filterIndex, 3);
  EXPECT_EQ(saveImageRequest("Cars", "", IMAGE_GIF).filterIndex, 7) << "no filter of its own: All Files";
}

TEST(SaveImageDialog, AModelNameWithAnExtensionNeverOffersTheModelFile) {
  // Confirming the offered name must not write the picture over the model.
  EXPECT_EQ(initialImageName("cars.vlm", IMAGE_BMP), "cars.bmp");
  EXPECT_EQ(initialImageName("/home/me/cars.vlm", IMAGE_PNG), "cars.png");
  EXPECT_EQ(initialImageName("v1.2 cars.vlm", IMAGE_BMP), "v1.2 cars.bmp");
}

TEST(SaveImageDialog, ANameTypedWithoutExtensionGetsTheChosenFilters) {
  EXPECT_EQ(finalImageName("/tmp/shot", 1, IMAGE_BMP), "/tmp/shot.pcx") << "PCX Files";
  EXPECT_EQ(finalImageName("/tmp/shot", 0, IMAGE_JPEG), "/tmp/shot.bmp");
  EXPECT_EQ(finalImageName("/tmp/shot", 2, IMAGE_BMP), "/tmp/shot.tif");
  EXPECT_EQ(finalImageName("/tmp/shot", 3, IMAGE_BMP), "/tmp/shot.jpg");
  EXPECT_EQ(finalImageName("/tmp/shot", 4, IMAGE_BMP), "/tmp/shot.tga");
  EXPECT_EQ(finalImageName("/tmp/shot", 5, IMAGE_BMP), "/tmp/shot.rgb");
  EXPECT_EQ(finalImageName("/tmp/shot", 6, IMAGE_BMP), "/tmp/shot.png");
  EXPECT_EQ(finalImageName("/tmp/shot", 7, IMAGE_TARGA), "/tmp/shot.tga") << "All Files: the last type saved";
  EXPECT_EQ(finalImageName("/tmp/shot.JPG", 1, IMAGE_BMP), "/tmp/shot.JPG") << "a name with a dot stays";
  EXPECT_EQ(finalImageName("/tmp/v1.2/shot", 1, IMAGE_BMP), "/tmp/v1.2/shot.pcx") << "a dot in the folder is no extension";
}

TEST(SaveImageDialog, ChannelOrderOfEachWriter) {
  for (ImageType t : {IMAGE_BMP, IMAGE_TIFF, IMAGE_TARGA, IMAGE_PCX, IMAGE_PNG, IMAGE_GIF})
    EXPECT_EQ(channelOrderFor(t), ChannelOrder::BGR) << t;
  EXPECT_EQ(channelOrderFor(IMAGE_JPEG), ChannelOrder::RGB);
  EXPECT_EQ(channelOrderFor(IMAGE_RGB), ChannelOrder::RGB);
}

TEST(PrintPlacement, ScaledByTheResolutionsAndPlacedATenthIn) {
  // 600 dpi printer, 96 dpi screen: 600 / 96 x 0.8 = 5 printer pixels a screen pixel.
  const PrintPlacement p = printPlacement(400, 300, 600, 600, 96, 96, 4800, 6600);
  EXPECT_EQ(p.x, 480);
  EXPECT_EQ(p.y, 480) << "a tenth of the page width in both directions";
  EXPECT_EQ(p.width, 2000);
  EXPECT_EQ(p.height, 1500);
  const PrintPlacement q = printPlacement(100, 100, 300, 600, 100, 100, 3000, 4000);
  EXPECT_EQ(q.width, 240);
  EXPECT_EQ(q.height, 480) << "each direction by its own resolutions";
}

TEST(PrintPlacement, APictureThatWouldRunOffThePageIsShrunkWhole) {
  // 1000 pixels at 5x would be 5000 wide on a 4800 page: fit between the margins.
  const PrintPlacement p = printPlacement(1000, 500, 600, 600, 96, 96, 4800, 6600);
  EXPECT_EQ(p.x, 480);
  EXPECT_EQ(p.width, 3840);
  EXPECT_EQ(p.height, 1920) << "the shape is kept";
  EXPECT_LE(p.x + p.width, 4800 - 480);
}

}  // namespace
}  // namespace vlm
