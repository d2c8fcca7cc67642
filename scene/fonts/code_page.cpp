#include "scene/fonts/code_page.h"

#include "data/utf8.h"

namespace vlm::scene {
namespace {
// 0x80..0x9F of Windows-1252; the rest is Latin-1.
constexpr char16_t k80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

char16_t codePageChar(unsigned char code) {
  if (code >= 0x80 && code <= 0x9F) return k80[code - 0x80];
  return code;
}

unsigned char codePageCode(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (int i = 0; i < 32; ++i)
    if (k80[i] == c) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

std::string toCodePage(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++pos;
      continue;
    }
    const char32_t c = utf8::decode(text, pos);
    out.push_back(static_cast<char>(c == utf8::kInvalid ? '?' : codePageCode(c)));
  }
  return out;
}

}  // namespace vlm::scene
