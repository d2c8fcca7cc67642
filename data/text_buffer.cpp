#include "data/text_buffer.h"

#include <cstring>

#include "data/utf8.h"

namespace vlm {

size_t writeText(char* dst, size_t size, std::string_view text) {
  if (dst == nullptr || size == 0) return 0;
  const size_t length = utf8::cutLength(text, size - 1);
  if (length > 0) std::memcpy(dst, text.data(), length);
  dst[length] = '\0';
  return length;
}

}  // namespace vlm
