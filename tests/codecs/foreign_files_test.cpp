// Files made by another program (ImageMagick's convert) read by our readers:
// the picture comes back upright, unsheared and in its own colours.
#include <gtest/gtest.h>

#include <filesystem>

#include "codecs/image_file.h"
#include "support/test_images.h"

namespace vlm::codecs {
namespace {

struct Made {
  const char* name;
  std::vector<std::string> options;  // convert options before the output name
  std::string output;                // output name, with a format prefix where needed
  bool palette;                      // made from the palette picture
  bool exact;
  bool grey = false;  // made from a grey picture
};

Image greyed(Image image) {
  for (size_t i = 0; i < image.pixels.size(); i += 3) image.pixels[i] = image.pixels[i + 2] = image.pixels[i + 1];
  return image;
}

class ForeignFiles : public ::testing::TestWithParam<Made> {
 protected:
  void SetUp() override {
    if (test::convertProgram().empty()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    dir_ = test::freshTestFolder("vlm-foreign");
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
};

TEST_P(ForeignFiles, ReadsThePicture) {
  const Made m = GetParam();
  Image source = m.palette ? test::paletteImage(37, 23, 12) : test::patternImage(37, 23);
  if (m.grey) source = greyed(source);
  ASSERT_TRUE(test::writePpm(source, dir_ / "source.ppm"));
  std::vector<std::string> args = {(dir_ / "source.ppm").string()};
  args.insert(args.end(), m.options.begin(), m.options.end());
  const size_t colon = m.output.find(':');
  const std::string file = colon == std::string::npos ? m.output : m.output.substr(colon + 1);
  args.push_back(colon == std::string::npos ? (dir_ / file).string()
                                            : m.output.substr(0, colon + 1) + (dir_ / file).string());
  ASSERT_TRUE(test::runConvert(args)) << "convert could not make " << m.name;
  const DecodeResult back = decodeImageFile((dir_ / file).string());
  ASSERT_TRUE(back.ok()) << m.name << ": " << back.detail;
  std::string where;
  if (m.exact)
    EXPECT_TRUE(test::samePixels(source, back.image, where)) << m.name << ": " << where;
  else
    EXPECT_GT(test::psnr(source, back.image), 28.0) << m.name;
}

INSTANTIATE_TEST_SUITE_P(
    Convert, ForeignFiles,
    ::testing::Values(Made{"bmp24", {}, "a.bmp", false, true},
                      Made{"bmp8", {"-type", "Palette"}, "BMP3:b.bmp", true, true},
                      Made{"bmpRle8", {"-type", "Palette", "-compress", "RLE"}, "BMP3:c.bmp", true, true},
                      // Four bits a pixel come with four bits a channel in the palette.
                      Made{"bmp4", {"-colors", "12", "-type", "Palette", "-depth", "4"}, "BMP3:c4.bmp", true, false},
                      Made{"pcx24", {}, "d.pcx", false, true},
                      Made{"pcx8", {"-type", "Palette"}, "e.pcx", true, true},
                      // convert writes Targa rows top first and marks the origin
                      // only when told, so it is told.
                      Made{"tga24", {"-orient", "top-left"}, "f.tga", false, true},
                      Made{"tgaRle", {"-orient", "top-left", "-compress", "RLE"}, "g.tga", false, true},
                      Made{"tgaMapped", {"-orient", "top-left", "-type", "Palette"}, "h.tga", true, true},
                      Made{"sgi", {}, "i.sgi", false, true},
                      Made{"sgiRle", {"-compress", "RLE"}, "SGI:j.rgb", false, true},
                      Made{"tiff", {}, "k.tif", false, true},
                      Made{"tiffLzw", {"-compress", "LZW"}, "l.tiff", false, true},
                      Made{"tiffPalette", {"-type", "Palette"}, "m.tif", true, true},
                      Made{"gif", {}, "n.gif", true, true},
                      Made{"gifInterlaced", {"-interlace", "GIF"}, "o.gif", true, true},
                      Made{"jpeg", {"-quality", "95"}, "p.jpg", false, false},
                      Made{"jpegGrey", {"-colorspace", "Gray"}, "q.jpg", false, false, true},
                      Made{"tiffGrey", {"-colorspace", "Gray"}, "q.tif", false, true, true},
                      Made{"png", {}, "r.png", false, true},
                      Made{"pngPalette", {"-type", "Palette"}, "PNG8:s.png", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// And the other way: the files we write open in another program as we meant them.
class OthersReadOurs : public ::testing::TestWithParam<const char*> {};

TEST_P(OthersReadOurs, ConvertSeesThePicture) {
  if (test::convertProgram().empty()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const auto dir = test::freshTestFolder("vlm-ours");
  const std::string ext = GetParam();
  const Image source = ext == "gif" ? test::paletteImage(37, 23, 40) : test::patternImage(37, 23);
  std::string error;
  const std::string ours = (dir / ("ours." + ext)).string();
  ASSERT_TRUE(writeImageFile(ours, viewOf(source), error)) << error;
  // convert takes ".rgb" for raw pixels unless told it is an SGI file.
  ASSERT_TRUE(test::runConvert({(ext == "rgb" ? "SGI:" : "") + ours, (dir / "back.ppm").string()}));
  const Image back = test::readPpm(dir / "back.ppm");
  std::string where;
  if (ext == "jpg")
    EXPECT_GT(test::psnr(source, back), 30.0);
  else
    EXPECT_TRUE(test::samePixels(source, back, where)) << ext << ": " << where;
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Convert, OthersReadOurs,
                         ::testing::Values("bmp", "pcx", "tga", "rgb", "tif", "png", "gif", "jpg"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace vlm::codecs
