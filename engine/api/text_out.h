#pragma once
// Texts handed out to a caller's buffer.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace vlm::api {

// Copies at most size - 1 bytes and a NUL; returns the text's whole length, or
// -1 when there is no text (the buffer is then empty).
inline int copyOut(const std::optional<std::string>& text, char* buffer, int size) {
  if (buffer && size > 0) buffer[0] = '\0';
  if (!text) return -1;
  if (buffer && size > 0) {
    const size_t n = std::min(text->size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text->data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(text->size());
}

}  // namespace vlm::api
