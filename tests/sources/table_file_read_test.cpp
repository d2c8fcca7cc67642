// Reading a table file whole: a big file is read in two parts at once and
// must come back byte for byte, as a small one does.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sources/text_file_source.h"

namespace vlm {
namespace {

std::filesystem::path tempFile(const char* name) {
  return std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + name);
}

TEST(TableFileRead, SmallAndBigFilesComeBackByteForByte) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{4096}, (size_t{8} << 20) - 1, (size_t{12} << 20) + 3}) {
    SCOPED_TRACE(size);
    std::string text(size, '\0');
    uint32_t seed = 99;
    for (char& c : text) {
      seed = seed * 1664525u + 1013904223u;
      c = static_cast<char>(seed >> 24);
    }
    const auto path = tempFile("read.tsv");
    std::ofstream(path, std::ios::binary) << text;
    TableFileText read;
    ASSERT_TRUE(readTableFile(path.string(), read));
    ASSERT_EQ(read.size(), size);
    EXPECT_TRUE(std::string_view(read) == text);
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace vlm
