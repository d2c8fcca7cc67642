#include "codecs/support/test_images.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>

namespace vlm::test {

codecs::Image patternImage(int32_t width, int32_t height) {
  codecs::Image image;
  image.width = width;
  image.height = height;
  image.pixels.resize(image.stride() * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = image.row(y) + static_cast<size_t>(x) * 3;
      p[0] = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));         // blue across
      p[1] = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));        // green up
      p[2] = static_cast<uint8_t>((x * 7 + y * 13) % 256);                    // red mixed
      if (x == 0 || y == 0) p[0] = 255, p[1] = 0, p[2] = 0;                  // blue bottom and left edges
      if (x == width - 1 && y == height - 1) p[0] = 0, p[1] = 0, p[2] = 255;  // red top-right corner
    }
  return image;
}

codecs::Image paletteImage(int32_t width, int32_t height, int colours) {
  codecs::Image image;
  image.width = width;
  image.height = height;
  image.pixels.resize(image.stride() * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const int c = (x / 3 + y / 2 * 5) % colours;
      uint8_t* p = image.row(y) + static_cast<size_t>(x) * 3;
      p[0] = static_cast<uint8_t>(c * 37 % 256);
      p[1] = static_cast<uint8_t>(255 - c * 20);
      p[2] = static_cast<uint8_t>(c * 90 % 256);
    }
  return image;
}

bool samePixels(const codecs::Image& a, const codecs::Image& b, std::string& where) {
  if (a.width != b.width || a.height != b.height) {
    where = "size " + std::to_string(a.width) + "x" + std::to_string(a.height) + " against " +
            std::to_string(b.width) + "x" + std::to_string(b.height);
    return false;
  }
  for (int32_t y = 0; y < a.height; ++y)
    for (int32_t x = 0; x < a.width; ++x)
      for (int c = 0; c < 3; ++c) {
        const size_t i = static_cast<size_t>(x) * 3 + static_cast<size_t>(c);
        if (a.row(y)[i] != b.row(y)[i]) {
          where = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") channel " + std::to_string(c) + ": " +
                  std::to_string(a.row(y)[i]) + " against " + std::to_string(b.row(y)[i]);
          return false;
        }
      }
  return true;
}

double psnr(const codecs::Image& a, const codecs::Image& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return 0.0;
  double sum = 0.0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    const double d = double(a.pixels[i]) - double(b.pixels[i]);
    sum += d * d;
  }
  if (sum == 0.0) return std::numeric_limits<double>::infinity();
  const double mse = sum / double(a.pixels.size());
  return 10.0 * std::log10(255.0 * 255.0 / mse);
}

bool writePpm(const codecs::Image& image, const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << image.width << " " << image.height << "\n255\n";
  for (int32_t y = image.height - 1; y >= 0; --y)
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.row(y) + static_cast<size_t>(x) * 3;
      const char rgb[3] = {char(p[2]), char(p[1]), char(p[0])};
      out.write(rgb, 3);
    }
  return bool(out);
}

codecs::Image readPpm(const std::filesystem::path& path) {
  codecs::Image image;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  if (magic != "P6" || w <= 0 || h <= 0 || max != 255) return image;
  image.width = w;
  image.height = h;
  image.pixels.resize(image.stride() * static_cast<size_t>(h));
  for (int32_t y = h - 1; y >= 0; --y)
    for (int32_t x = 0; x < w; ++x) {
      char rgb[3];
      in.read(rgb, 3);
      uint8_t* p = image.row(y) + static_cast<size_t>(x) * 3;
      p[0] = uint8_t(rgb[2]), p[1] = uint8_t(rgb[1]), p[2] = uint8_t(rgb[0]);
    }
  if (!in) return codecs::Image{};
  return image;
}

std::string convertProgram() {
  // The packaged program, not a wrapper that may stand before it on the PATH.
  for (const char* candidate : {"/usr/bin/convert", "/usr/bin/convert-im6.q16"})
    if (::access(candidate, X_OK) == 0) return candidate;
  return std::system("command -v convert >/dev/null 2>&1") == 0 ? "convert" : "";
}

bool runConvert(const std::vector<std::string>& arguments) {
  std::string command = convertProgram();
  if (command.empty()) return false;
  for (const std::string& a : arguments) command += " '" + a + "'";
  command += " 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

std::filesystem::path freshTestFolder(const std::string& prefix) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    (prefix + "-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
                                     info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vlm::test
