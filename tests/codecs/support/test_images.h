#pragma once
// Pictures for the codec tests and the comparisons between them.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "codecs/image.h"

namespace vlm::test {

// A width x height picture of gradients and edges with every pixel distinct
// enough to show a swapped channel, a sheared row or a flipped picture.
codecs::Image patternImage(int32_t width, int32_t height);
// The same layout in at most `colours` colours (for palette formats).
codecs::Image paletteImage(int32_t width, int32_t height, int colours);

// Whether every pixel matches; the first difference is described in `where`.
bool samePixels(const codecs::Image& a, const codecs::Image& b, std::string& where);
// Peak signal-to-noise ratio in dB over all channels (infinity when equal).
double psnr(const codecs::Image& a, const codecs::Image& b);

// Writes a binary PPM (top row first, R, G, B), which every converter reads.
bool writePpm(const codecs::Image& image, const std::filesystem::path& path);
// Reads a binary PPM of 8-bit channels; an empty picture when it cannot.
codecs::Image readPpm(const std::filesystem::path& path);

// ImageMagick's convert, or empty when it is not installed.
std::string convertProgram();
// Runs convert with the arguments (each quoted); true on exit status 0.
bool runConvert(const std::vector<std::string>& arguments);

// A fresh folder for the running test, removed by the caller.
std::filesystem::path freshTestFolder(const std::string& prefix);

std::vector<uint8_t> readBytes(const std::filesystem::path& path);

}  // namespace vlm::test
