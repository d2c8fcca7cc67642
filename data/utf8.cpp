#include "data/utf8.h"

namespace vlm::utf8 {

char32_t decode(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char c = byte(pos);
  if (c < 0x80) {
    ++pos;
    return c;
  }
  size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2, value = c & 0x1F, least = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3, value = c & 0x0F, least = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4, value = c & 0x07, least = 0x10000;
  } else {
    ++pos;
    return kInvalid;
  }
  if (pos + length > text.size()) {
    ++pos;
    return kInvalid;
  }
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if (!isContinuation(next)) {
      ++pos;
      return kInvalid;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return kInvalid;
  }
  pos += length;
  return value;
}

size_t cutLength(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  size_t cut = maxBytes;
  // A character is at most four bytes; stray continuation bytes beyond that
  // are garbage and may be cut anywhere.
  for (int back = 0; back < 3 && cut > 0 && isContinuation(static_cast<unsigned char>(text[cut])); ++back)
    --cut;
  if (isContinuation(static_cast<unsigned char>(text[cut]))) return maxBytes;
  return cut;
}

size_t charCount(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size();) {
    decode(text, pos);
    ++count;
  }
  return count;
}

bool isLetter(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  if (c == kInvalid || c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  if (c >= 0x0300 && c <= 0x036F) return false;  // combining marks
  if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, currency, symbols, arrows
  if (c >= 0x3000 && c <= 0x303F) return false;  // CJK punctuation
  if (c >= 0xE000 && c <= 0xF8FF) return false;  // private use
  if (c >= 0xFE00 && c <= 0xFFFF) return false;  // variation selectors, specials
  if (c >= 0x1F000 && c <= 0x1FAFF) return false;  // emoji and pictographs
  return true;
}

char32_t toLower(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1u;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1u) ? c + 1 : c;
  if (c == 0x178) return 0xFF;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

void append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string lower(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t c = decode(text, pos);
    if (c == kInvalid)
      out.append(text.substr(start, pos - start));
    else
      append(out, toLower(c));
  }
  return out;
}

}  // namespace vlm::utf8
